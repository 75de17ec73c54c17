#pragma once
// The host program's own bitmaps, drawn in code and kept apart from the
// plug-in's resources, whose ids overlap them.

#include "platform/graphics/image.h"

#include <cstdint>

namespace host {

constexpr int32_t kCaptionStripBitmap = 102;    // 1 x 36, stretched across the window
constexpr int32_t kHostIconBitmap = 103;        // 32 x 32, the window's icon
constexpr int32_t kSystemButtonsBitmap = 104;   // 50 x 14: minimise, restore, close
constexpr int32_t kExportButtonBitmap = 105;    // 18 x 18
constexpr int32_t kSettingsButtonBitmap = 106;  // 18 x 18
constexpr int32_t kVolumeSliderBitmap = 107;    // 77 x 36: filled track above, empty below

// A fresh copy; 0 x 0 for an id that names none.
platform::Image loadHostBitmap(int32_t id);

} // namespace host
