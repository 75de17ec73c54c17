// The page's layout in the editor window: the grid font and area, the drop
// lists and window buttons, and the instrument list's entries.
#include "patterneditor/pattern_editor_ui.h"

#include "gui/bitmap.h"
#include "gui/controls/button.h"
#include "gui/lists/drop_list.h"
#include "model/song/module.h"
#include "model/model_globals.h"
#include "patterneditor/grid/font_metrics.h"
#include "shell/preferences.h"
#include "resources/resource_ids.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Window buttons 0..3 in the title strip, right to left from this far
// from the right edge; 7 x 7 pixels.
constexpr int32_t kTitleButtonRight = 11;
constexpr int32_t kTitleButtonStep = 12;
constexpr int32_t kTitleButtonSize = 7;
constexpr int32_t kTitleButtonTop = 2;
// The feedback (4) and link (7) buttons at the bottom right, 12 x 12.
constexpr int32_t kCornerButtonSize = 12;
constexpr int32_t kLinkButtonRight = 4;
constexpr int32_t kFeedbackButtonRight = 20;
// The two drop lists of the header band.
constexpr int32_t kOctaveLeft = 281;
constexpr int32_t kOctaveRight = 300;
constexpr int32_t kInstrumentLeft = 416;
constexpr int32_t kInstrumentRight = 640;
constexpr int32_t kListTop = 12;
constexpr int32_t kListTopMaximised = 1;
constexpr int32_t kListHeight = 11;
constexpr int32_t kOctaves = 9;

constexpr int32_t kButtonBitmaps[TesselPatternEditorUI::kWindowButtons] = {
    resources::kButtonAlwaysOnTop, resources::kButtonMaximise, resources::kButtonHide, resources::kButtonKeyMode,
    resources::kButtonFeedback,    0,                          0,                       resources::kButtonLink,
};
constexpr CColor kButtonFace{38, 40, 45, 0};
constexpr CColor kButtonFrame{96, 100, 112, 0};

std::string trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

void TesselPatternEditorUI::makeControls()
{
    instrumentList_ = new TesselDropList(CRect(kInstrumentLeft, kListTop, kInstrumentRight, kListTop + kListHeight),
                                         nullptr, "00: (no instrument)");
    instrumentList_->setListener(this);
    adoptDropList(instrumentList_);
    octaveList_ = new TesselDropList(CRect(kOctaveLeft, kListTop, kOctaveRight, kListTop + kListHeight), nullptr, "4");
    octaveList_->setListener(this);
    adoptDropList(octaveList_);
    for (int32_t octave = 0; octave < kOctaves; ++octave)
        octaveList_->addEntry(std::to_string(octave).c_str());
    octaveList_->setValue(static_cast<float>(getOctave()));
    fillInstrumentList(0);
    instrumentList_->setValue(static_cast<float>(getCurrentInstrument()));

    const TesselPreferences& preferences = pluginPreferences();
    placeControls(size.width(), size.height());
    buttons_[0]->setState(preferences.alwaysOnTop != 0);
    buttons_[3]->setState(preferences.keyboardMode == 1);
    buttons_[7]->setState(preferences.linkWindows != 0);

    const int32_t toggles[4] = {resources::kHelpToggleOff, resources::kHelpToggleOn, resources::kInfoToggleOff,
                                resources::kInfoToggleOn};
    for (size_t i = 0; i < statusToggles_.size(); ++i)
        statusToggles_[i] = new CBitmap(toggles[i]);
    titleStrip_ = new CBitmap(resources::kTitleStrip);
}

void TesselPatternEditorUI::placeControls(int32_t width, int32_t height)
{
    // A button is made anew at its place, keeping its state.
    const auto place = [this](int i, const CRect& rect) {
        TesselButton*& button = buttons_[size_t(i)];
        const bool state = button && button->getState();
        delete button;
        button = new TesselButton(rect, kButtonBitmaps[i], kButtonFace, kButtonFrame, state);
    };
    for (int i = 0; i < 4; ++i) {
        const int32_t left = width - kTitleButtonRight - (3 - i) * kTitleButtonStep;
        place(i, CRect(left, kTitleButtonTop, left + kTitleButtonSize, kTitleButtonTop + kTitleButtonSize));
    }
    const int32_t bottom = height - 1;
    place(4, CRect(width - kFeedbackButtonRight - kCornerButtonSize, bottom - kCornerButtonSize,
                   width - kFeedbackButtonRight, bottom));
    place(7, CRect(width - kLinkButtonRight - kCornerButtonSize, bottom - kCornerButtonSize, width - kLinkButtonRight,
                   bottom));
    const int32_t top = stripsShown() ? kListTop : kListTopMaximised;
    instrumentList_->setViewSize(CRect(kInstrumentLeft, top, kInstrumentRight, top + kListHeight));
    octaveList_->setViewSize(CRect(kOctaveLeft, top, kOctaveRight, top + kListHeight));
    place(5, *instrumentList_->getRect());
    place(6, *octaveList_->getRect());
}

void TesselPatternEditorUI::layout(bool force)
{
    const TesselPreferences& preferences = pluginPreferences();
    TesselFontRecord description = preferences.font;
    settlePatternFontWidth(description, preferences.fontWidth);
    if (!hasFont_ || std::memcmp(&description, &fontUsed_, sizeof description) != 0) {
        grid_.setGridFont(nullptr);
        grid_.setFont(&description);
        fontUsed_ = description;
        hasFont_ = true;
        force = true;
    }
    // A load or a new song changes the patterns under the page.
    const int32_t songNow = songCounter().load();
    const bool reloaded = songNow != seenSong_;
    seenSong_ = songNow;

    const platform::Point client = clientSize();
    if (force || client.x != laidOut_.x || client.y != laidOut_.y) {
        laidOut_ = client;
        grid_.releaseDrawingObjects();
        setViewSize(CRect(size.left, size.top, size.left + client.x, size.top + client.y));
        grid_.layoutGrid(0, 0, client.x, client.y);
        placeControls(client.x, client.y);
        info_->setDirty();
    }
    if (reloaded) {
        // Checkpoints of the song that was would be written into this one.
        undo_->clearHistory();
        undo_->pushCheckpoint(song->patterns[0]);
    }
    if (reloaded && pattern_)
        goToPattern(pattern_->index, true);
    setDirtyChannel(true, -1);
}

void TesselPatternEditorUI::fillInstrumentList(int32_t number)
{
    if (!instrumentList_ || !song)
        return;
    const auto entry = [this](int32_t n) {
        const TesselInstrument& instrument = song->instruments[size_t(n - 1)];
        const std::string name = trimmed(instrument.nameText());
        char text[TesselDropList::kTextSize];
        if (grid_.view.instrumentLabels)
            std::snprintf(text, sizeof text, "%s: %s", instrument.label, name.c_str());
        else
            std::snprintf(text, sizeof text, "%.2d: %s", static_cast<int>(n), name.c_str());
        return std::string(text);
    };
    if (number > 0 && number <= kInstruments && instrumentList_->getNbEntries() > number) {
        instrumentList_->setEntry(number, entry(number).c_str());
    } else {
        const int32_t shown = instrumentList_->currentValue();
        instrumentList_->removeAllEntry();
        instrumentList_->addEntry("00: (no instrument)");
        for (int32_t n = 1; n <= kInstruments; ++n)
            instrumentList_->addEntry(entry(n).c_str());
        instrumentList_->setValue(static_cast<float>(shown));
    }
    // The face shows the entry's new text even when the value stays.
    instrumentList_->TesselControl::dirty = true;
    setDirty();
}
