#pragma once
// The bitmaps and data the program carries, drawn at build time and
// embedded in the library; looked up by id (resource_ids.h). Any thread:
// the table is read-only once built.

#include "platform/graphics/image.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace resources {

// A fresh copy of the bitmap; 0 x 0 for an id that names no bitmap.
platform::Image loadBitmap(int32_t id);

// The bytes of a data resource; empty for an id that names none.
std::span<const uint8_t> loadData(int32_t id);

// Every bitmap id, ascending, and a few words on each (for people).
std::vector<int32_t> bitmapIds();
std::string_view describe(int32_t id);

} // namespace resources
