#pragma once
// Small operations of single pages that live with the page base, on plain
// values: key-map region texts and spans, instrument labels typed in a
// cell, and the cursor limits of the instrument and order list pages.

#include "model/instrument/instrument.h"
#include "model/instrument/keymap.h"
#include "model/song/module.h"
#include "model/song/order_list.h"

#include <array>
#include <cstdint>
#include <string>

// The numbers of the key's regions that hold the velocity: "3", "3+5"; empty
// for none.
std::string regionText(const TesselKeyRegions& regions, int velocity);

// Where the n-th region of a key that holds the velocity reaches: its
// velocities and the keys over which the same region runs unbroken.
struct TesselRegionSpan {
    int32_t firstVelocity = 0;
    int32_t lastVelocity = 0;
    int32_t firstKey = 0;
    int32_t lastKey = 0;
};
bool findRegionSpan(const std::array<TesselKeyRegions, kKeys>& table, int key, int velocity, TesselRegionSpan& span,
                    int n = 0);

// The instrument (1..99) whose label best matches a typed label: a character
// matching at its place scores 1, at the cursor 4, the first of the best
// wins. Unless that is a full match with the cursor on it, typed digits
// ("07") name the instrument by number. 0 for none.
int matchInstrument(const std::array<TesselInstrument, kInstruments>& instruments, const char* typed, int cursor);

// The instrument list page's cursor field within its section's fields.
int32_t clampInstrumentField(int32_t section, int32_t field);

// The order list page's cursor: a column, a row with its first visible row,
// and in the entries a value slot.
struct TesselOrderCursor {
    int32_t column = 0;
    int32_t row = 0;
    int32_t subColumn = 0;
    int32_t firstRow = 0;
};
constexpr int32_t kOrderRowsBelowFirst = 45;
void clampOrderCursor(TesselOrderCursor& cursor, const TesselOrderList& orders);
