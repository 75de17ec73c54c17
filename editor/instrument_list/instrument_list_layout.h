#pragma once
// Where the instrument list page puts things, in page pixels.

#include "gui/geometry.h"

#include <cstdint>

namespace instrument_layout {

// The list: 50 rows of 8 pixels; labels from x 11, names from x 27.
constexpr CRect kList{10, 21, 259, 421};
constexpr int32_t kRowHeight = 8;
constexpr int32_t kLabelX = 11;
constexpr int32_t kNameX = 27;

// The tab strip: General, Volume, Panning, Pitch, Filter.
constexpr CRect kTabs[5] = {{518, 18, 554, 30}, {553, 18, 587, 30}, {586, 18, 623, 30}, {622, 18, 665, 30},
                            {666, 18, 690, 30}};

// The file buttons New, Load, Save, Swap.
constexpr int32_t kFileButtonsX = 414;
constexpr int32_t kFileButtonsY = 37;
constexpr int32_t kFileButtonWidth = 43;
constexpr int32_t kFileButtonHeight = 18;
constexpr int32_t kFileButtonGap = 2;

// General: the key map grid (its right edge; the left follows the font)
// and the three button groups.
constexpr CRect kKeyMapGrid{284, 54, 370, 402};
constexpr int32_t kGroupsX = 440;
constexpr int32_t kGroupY[3] = {90, 130, 170};
constexpr int32_t kGroupButtonWidth = 40;
constexpr int32_t kGroupButtonHeight = 14;

// Envelope tabs: the graph, then the rows of fields below it.
constexpr CRect kGraph{270, 60, 696, 232};
constexpr int32_t kEnvelopeRowY = 250;
constexpr int32_t kLoopRowY = 266;
constexpr int32_t kReadoutLabelY = 283;
constexpr int32_t kSliderTop = 300;
constexpr int32_t kSliderStep = 16;
constexpr int32_t kFieldLabelX = 270;
constexpr int32_t kSliderLeft = 380;
constexpr int32_t kSliderRight = 690;
constexpr int32_t kFieldHeight = 11;

// Browser mode: the file box over the tabs' area.
constexpr CRect kFileBox{272, 37, 694, 421};

} // namespace instrument_layout
