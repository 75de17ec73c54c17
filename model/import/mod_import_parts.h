#pragma once
// The pieces of the MOD importer.

#include <cstdint>

struct TesselSubrowData;

// One pattern cell b0 b1 b2 b3 into a cell of the song: sample number, Amiga
// period as pitch, effect nibble and parameter by the classic effect table.
// False when the cell holds nothing.
bool convertModCell(const uint8_t bytes[4], TesselSubrowData& cell);

// Speed of the base note for a finetune nibble (0..7 up, 8..15 down).
int32_t modFinetuneSpeed(int finetune);
