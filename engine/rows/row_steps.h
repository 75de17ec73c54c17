#pragma once
// Questions the row steps ask of a row.

#include "model/song/channel_effect_slot.h"
#include "model/song/subrow.h"

struct TesselVoiceListNode;

// SDx: 'S' with high nibble D, or 'S' 00 while the row slot remembers an SDx.
bool rowHasNoteDelay(const TesselSubrow& row, const TesselEffectSlot& rowSlot);
// 'G' or 'L' in the row's effect cell.
bool isPortamento(const TesselSubrow& row);
// Back to the voice-list pool (with its voice); null does nothing.
void returnNodeToPool(TesselVoiceListNode* node);
