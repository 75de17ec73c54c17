// The instrument page's picture, composed in page pixels in an offscreen
// of its own and copied to the page's place: the list, the tab strip, the
// file buttons, the current tab or the file box, and the popups.
#include "editor/instrument_list/instrument_list_page.h"

#include "engine/engine.h"
#include "pagekit/editor_services.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/button_group.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/drop_list.h"
#include "pagekit/envelope_graph.h"
#include "pagekit/file_box.h"
#include "gui/offscreen_context.h"
#include "gui/controls/slider.h"
#include "gui/tessel_font.h"
#include "gui/controls/text_box.h"
#include "model/song/module.h"
#include "patterneditor/grid/cell_text.h"
#include "patterneditor/pattern_editor_page.h"
#include "shell/usage_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace instrument_layout;
using control_skin::fill;

namespace {

constexpr CColor kTabFace{52, 56, 64, 0};
constexpr CColor kTabLit{60, 96, 140, 0};
constexpr const char* kTabNames[5] = {"Gen", "Vol", "Pan", "Pitch", "Filt"};

void label(CDrawContext* context, const char* text, int32_t x, int32_t y)
{
    drawBitmapText(context, text, x, y, controlFont(TesselControlFont::Grey, true));
}

} // namespace

void TesselInstrumentListUI::draw(CDrawContext* context)
{
    if (!context)
        return;
    syncWithEditor();
    const int32_t width = size.width();
    const int32_t height = size.height();
    if (!picture_ || picture_->getFrame() != context->getFrame() || picture_->getWidth() != width)
        picture_ = std::make_unique<COffscreenContext>(context->getFrame(), width, height, kBlackCColor);
    CDrawContext* page = picture_.get();
    if (CBitmap* background = getBackground())
        background->draw(page, CRect(0, 0, width, height));
    drawBitmapText(page, "INSTRUMENT LIST", 6, 4, listFont_.get());
    drawList(page);
    drawTabStrip(page);
    const bool regionArea = tab_ == kGeneral && keyMap_->regionAreaShown();
    if (tab_ <= kFilter && !regionArea)
        fileButtons_->draw(page, -1, false);
    if (tab_ == kGeneral)
        drawGeneralTab(page);
    else if (tab_ <= kFilter)
        drawEnvelopeTab(page);
    else
        fileBox_->drawBrowser(page, isFocused() && field_ == 1);
    if (tab_ == kPitch)
        midiPanel_->draw(page);
    if (swapPopup_.isShown()) {
        swapPopup_.draw(page, true);
        const CRect& box = swapPopup_.getRect();
        const std::string text = swapLabel_ + "_";
        drawBitmapText(page, text.c_str(), box.left + 80, box.top + 37, highlightFont_.get());
    }
    picture_->transfert(context, size);

    const OMBRIX::iCURSOR now(static_cast<int16_t>(tab_), static_cast<int16_t>(field_),
                              static_cast<int16_t>(current_), static_cast<int16_t>(nameCursor_));
    if (now.x != cursorRecord.x || now.y != cursorRecord.y || now.dx != cursorRecord.dx || now.dy != cursorRecord.dy) {
        cursorRecord = now;
        if (TesselUsageLog* log = usageLog())
            log->append(cursorRecord);
    }
    TesselUI::draw(context);
    setDirty(false);
}

void TesselInstrumentListUI::drawList(CDrawContext* context)
{
    fill(context, kList, control_skin::kListBackground);
    TesselPatternEditorPage* patternEditor = patternEditorPage();
    const bool labels = !patternEditor || patternEditor->instrumentLabelsShown();
    const bool listFocused = isFocused() && field_ == 0;
    for (int32_t r = 0; r < kVisibleRows; ++r) {
        const int32_t index = firstRow_ + r;
        if (index >= kInstruments)
            break;
        const TesselInstrument& instrument = song->instruments[static_cast<size_t>(index)];
        const int32_t y = kList.top + r * kRowHeight;
        char number[16];
        if (labels)
            std::snprintf(number, sizeof number, "%-2.2s", instrument.label);
        else
            std::snprintf(number, sizeof number, "%.2d", index + 1);
        const std::string name = instrument.nameText();
        TesselFont* font = index == current_ ? highlightFont_.get() : listFont_.get();
        drawBitmapText(context, number, kLabelX, y, index == current_ ? font : labelFont_.get());
        drawBitmapText(context, name.c_str(), kNameX, y, font, nullptr, kInstrumentNameLength);
        if (index != current_ || !listFocused)
            continue;
        if (nameCursor_ < 0) {
            drawBitmapChar(context, static_cast<unsigned char>(number[nameCursor_ + 2]),
                           kLabelX + 8 * (nameCursor_ + 2), y, cursorFont_.get());
        } else if (nameCursor_ < kNoNameCursor) {
            drawBitmapChar(context, static_cast<unsigned char>(name[static_cast<size_t>(nameCursor_)]),
                           kNameX + 8 * nameCursor_, y, cursorFont_.get());
        } else {
            drawBitmapChar(context, ' ', kNameX + 8 * kInstrumentNameLength, y, cursorFont_.get());
        }
    }
}

void TesselInstrumentListUI::drawTabStrip(CDrawContext* context)
{
    for (int32_t t = 0; t < 5; ++t) {
        const CRect& r = kTabs[t];
        fill(context, CRect(r.left, r.top, r.right - 1, r.bottom), t == tab_ ? kTabLit : kTabFace);
        drawBitmapText(context, kTabNames[t], r.left + 2, r.top + 2,
                       controlFont(t == tab_ ? TesselControlFont::Normal : TesselControlFont::Grey, true));
    }
}

void TesselInstrumentListUI::drawGeneralTab(CDrawContext* context)
{
    const bool pageFocused = isFocused();
    keyMap_->draw(context, pageFocused && field_ == 1);
    if (keyMap_->regionAreaShown())
        return;
    const TesselInstrument& instrument = song->instruments[static_cast<size_t>(current_)];
    static constexpr const char* kNames[3] = {"NEW NOTE ACTION", "DUPLICATE CHECK", "DUPLICATE ACTION"};
    const int32_t values[3] = {instrument.newNoteAction, instrument.duplicateCheckType, instrument.duplicateAction};
    TesselButtonGroup* groups[3] = {newNoteActions_.get(), duplicateChecks_.get(), duplicateActions_.get()};
    for (int32_t i = 0; i < 3; ++i) {
        label(context, kNames[i], kGroupsX, kGroupY[i] - 10);
        groups[i]->draw(context, values[i], pageFocused && field_ == i + 2);
    }
}

void TesselInstrumentListUI::drawEnvelopeTab(CDrawContext* context)
{
    TesselInstrument& instrument = song->instruments[static_cast<size_t>(current_)];
    const bool pageFocused = isFocused();
    TesselEnvelope& envelope = instrument.envelopes[static_cast<size_t>(tab_ - 1)];
    graph_->drawEnvelope(context, envelope, tab_ - 1, pageFocused && field_ == 1);
    showFieldValues(instrument);
    drawFieldLabels(context);
    for (int32_t field = 2; field <= 16; ++field) {
        TesselControl* control = fieldControl(tab_, field);
        const bool focused = pageFocused && field_ == field;
        if (auto* box = dynamic_cast<TesselTextBox*>(control))
            box->draw(context, box->value, focused);
        else if (control)
            control->draw(context, control->value, focused);
    }
    if (tab_ == kPanning)
        drawPitchCentre(context);
    const CRect row(kSliderLeft, kSliderTop + kSliderStep, kSliderRight, kSliderTop + kSliderStep + kFieldHeight);
    if (tab_ == kPitch) {
        fill(context, row, field_ == 11 && pageFocused ? control_skin::kHighlight : control_skin::kButtonFace);
        drawBitmapText(context, "MIDI Settings...", row.left + 4, row.top + 2, controlFont(TesselControlFont::Normal, true));
    }
    if (tab_ == kFilter) {
        static constexpr const char* kRanges[3] = {"LOW", "MID", "HIGH"};
        for (int32_t i = 0; i < 3; ++i)
            drawBitmapText(context, kRanges[i], kSliderLeft + 42 * i + 8, kSliderTop + 2 * kSliderStep + 3,
                           controlFont(TesselControlFont::Normal, true));
    }
}

void TesselInstrumentListUI::drawFieldLabels(CDrawContext* context)
{
    label(context, "ENVELOPE", kFieldLabelX, kEnvelopeRowY + 2);
    label(context, "CARRY", 430, kEnvelopeRowY + 2);
    label(context, "LOOP", kFieldLabelX, kLoopRowY + 2);
    label(context, "SUSTAIN", 486, kLoopRowY + 2);
    label(context, "NODE", kFieldLabelX, kReadoutLabelY);
    static constexpr const char* kNames[4][7] = {
        {"GLOBAL VOLUME", "FADE OUT", "VOLUME SWING"},
        {"DEFAULT PAN", "PITCH CENTRE", "PITCH SEPARATION", "PAN SWING"},
        {"MIDI OUT", "MIDI", "MIDI CHANNEL", "MIDI PROGRAM", "BANK MSB", "BANK LSB", "OUTPUT PORT"},
        {"CUTOFF", "RESONANCE", "RANGE"},
    };
    for (int32_t i = 0; i < 7; ++i)
        if (const char* name = kNames[tab_ - 1][i])
            label(context, name, kFieldLabelX, kSliderTop + kSliderStep * i + 2);
}

void TesselInstrumentListUI::drawPitchCentre(CDrawContext* context)
{
    const TesselInstrument& instrument = song->instruments[static_cast<size_t>(current_)];
    const CRect row(kSliderLeft, kSliderTop + kSliderStep, kSliderLeft + 40, kSliderTop + kSliderStep + kFieldHeight);
    fill(context, row, field_ == 11 && isFocused() ? control_skin::kHighlight : control_skin::kListBackground);
    char text[16];
    const int32_t note = std::clamp(instrument.pitchCentre, 0, 119);
    std::snprintf(text, sizeof text, "%s%.1d", noteName(note % 12), note / 12);
    drawBitmapText(context, text, row.left + 4, row.top + 2, controlFont(TesselControlFont::Normal, false));
}
