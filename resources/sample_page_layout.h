#pragma once
// Where the sample list page puts its parts, in page pixels (705 x 432 at the
// side pages' origin). The skins draw their wells and labels at these places
// and the page its controls, so both read them from here.

#include "resources/resource_ids.h"

namespace resources::sample_page {

// The list: 50 rows of 8 pixels from y 20; the number at x 10, the name at
// x 28, the cursor block at x 232. Clicks count in x 10..259, y 21..421.
constexpr int32_t kListX = 10;
constexpr int32_t kListNameX = 28;
constexpr int32_t kListCursorX = 232;
constexpr int32_t kListTop = 20;
constexpr int32_t kListRows = 50;
constexpr SkinPlace kListWell = {8, 18, 262, 422};
constexpr SkinPlace kListHit = {10, 21, 259, 421};
constexpr SkinPlace kScrollbar = {263, 17, 273, 421};

// The waveform (skin 417) and, below it, the fields panel (skin 199); in
// browser mode the file box takes both, inside its frame (skin 383) whose
// close box is the Part's (677, 19)-(690, 29).
constexpr SkinPlace kWaveform = {278, 30, 690, 236};
constexpr SkinPlace kFieldsPanel = {278, 240, 690, 424};
constexpr SkinPlace kFileBox = {278, 30, 690, 421};
constexpr SkinPlace kBrowserFrame = {275, 16, 693, 424};
constexpr SkinPlace kBrowserClose = {677, 19, 690, 29};

// One-line controls are 11 pixels high; labels stand 2 pixels lower in the
// 5 x 8 letters.
constexpr int32_t kLineHeight = 11;
constexpr int32_t kLabelX = 282;
constexpr int32_t kFieldX = 330;
constexpr int32_t kSliderLabelX = 446;
constexpr int32_t kSliderX = 486;
constexpr int32_t kSliderRight = 597;

struct LabelledLine {
    const char* label;
    int32_t labelX;
    int32_t y;
};
// Column one: file name, format, length, speed, loop type, begin, end,
// sustain type, begin, end.
constexpr LabelledLine kColumnOne[] = {
    {"File", kLabelX, 244},   {"Format", kLabelX, 258}, {"Length", kLabelX, 272}, {"Speed", kLabelX, 286},
    {"Loop", kLabelX, 304},   {"Begin", kLabelX, 318},  {"End", kLabelX, 332},    {"Sustain", kLabelX, 350},
    {"Begin", kLabelX, 364},  {"End", kLabelX, 378},
};
// Column two: global volume, default volume, pan, the vibrato waveform's
// group, vibrato speed, depth and rate.
constexpr LabelledLine kColumnTwo[] = {
    {"Global", kSliderLabelX, 242}, {"Volume", kSliderLabelX, 255}, {"Pan", kSliderLabelX, 268},
    {"Wave", kSliderLabelX, 284},   {"Speed", kSliderLabelX, 302},  {"Depth", kSliderLabelX, 315},
    {"Rate", kSliderLabelX, 328},
};
// The base note beside the speed box.
constexpr int32_t kNoteX = 396;

// The vibrato waveform's four buttons (skins 138, 136, 140, 134), relative to
// the group at (479, 280).
constexpr int32_t kVibratoX = 479;
constexpr int32_t kVibratoY = 280;
constexpr SkinPlace kVibratoButtons[4] = {{0, 0, 28, 18}, {30, 0, 58, 18}, {60, 0, 88, 18}, {90, 0, 118, 18}};

// The six file buttons at (600, 259): skin 259 shows them up, 298 pressed,
// each 90 x 58 with the buttons at these places relative to it.
constexpr int32_t kFileButtonsX = 600;
constexpr int32_t kFileButtonsY = 259;
constexpr SkinPlace kFileButtons[6] = {{0, 0, 44, 18},  {46, 0, 90, 18},  {0, 20, 44, 38},
                                       {46, 20, 90, 38}, {0, 40, 44, 58}, {46, 40, 90, 58}};
constexpr const char* kFileButtonLabels[6] = {"Browse", "Save", "Cut", "Copy", "Paste", "Delete"};

// The normalise popup (skin 214) and its two buttons (217 "OK", 215
// "Cancel"), relative to the group at (43, 38) inside it.
constexpr int32_t kPopupWidth = 200;
constexpr int32_t kPopupHeight = 64;
constexpr int32_t kPopupButtonsX = 43;
constexpr int32_t kPopupButtonsY = 38;
constexpr SkinPlace kPopupButtons[2] = {{0, 0, 53, 18}, {61, 0, 114, 18}};

} // namespace resources::sample_page
