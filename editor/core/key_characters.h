#pragma once
// The characters that Shift gives for the keys a host hands over without
// them (effEditKeyDown carries the unshifted character only): 50 pairs of
// the UK layout, filled from the platform's key table.

#include <cstdint>

// The shifted character of c; 0 for a character not in the table.
uint8_t lookupKeyChar(uint8_t character);
