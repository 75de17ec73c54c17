// The pattern editor page's stand-in until the page is built: it records the
// grid marks, values and calls the editor hands it, shows the octave, the
// instrument and the status text, and owns the overview panel's stand-in.

#include "editor/page_factory.h"
#include "editor/page_stand_ins.h"
#include "gui/draw_context.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/status_text.h"

#include <cstdio>

namespace {

class StandIn final : public TesselStandInPage<TesselPatternEditorPage> {
public:
    StandIn(TesselEditorServices* editor, const CRect& size)
        : TesselStandInPage(1, "Pattern editor", size, 0, editor, 5), overview_(makeOverviewPanel(editor))
    {
    }
    ~StandIn() override
    {
        if (overview_)
            overview_->forget();
    }

    void draw(CDrawContext* context) override
    {
        TesselStandInPage::draw(context);
        if (!context)
            return;
        char text[64];
        std::snprintf(text, sizeof text, "Octave %d  Instrument %02d", static_cast<int>(octave_),
                      static_cast<int>(instrument_));
        context->drawString(text, CRect(size.left + 8, size.top + 44, size.left + 300, size.top + 64), false,
                            kLeftText);
        if (updateMark_)
            context->drawString("Update available", CRect(size.right - 160, size.top, size.right - 8, size.top + 15),
                                false, kRightText);
    }

    void markDirty(int32_t channel, int32_t row, uint8_t flags) override
    {
        note(callText("markDirty", channel, row) + " " + std::to_string(flags));
        setDirty();
    }
    void releaseBitmaps() override { note("releaseBitmaps"); }
    int32_t cursorChannel() const override { return 0; }
    void showOctave(float octave) override
    {
        octave_ = octave;
        note(callText("showOctave", octave));
    }
    void showInstrument(float instrument) override
    {
        instrument_ = instrument;
        note(callText("showInstrument", instrument));
    }
    void drawStatus(CDrawContext* context) override
    {
        if (!context)
            return;
        const CRect strip(size.left, size.bottom - 16, size.right, size.bottom);
        context->setFillColor(CColor{15, 16, 18, 0});
        context->fillRect(CRect(strip.left - 1, strip.top - 1, strip.right, strip.bottom));
        context->setFontColor(CColor{255, 200, 96, 0});
        context->setFont(0, 11);
        const std::string status = platform::statusText();
        context->drawString(status.c_str(), CRect(strip.left + 4, strip.top, strip.right, strip.bottom), false,
                            kLeftText);
    }
    bool draggingSelection() const override { return false; }
    void clearShiftState() override { note("clearShiftState"); }
    void followPlayback(int32_t pattern, int32_t row) override { note(callText("followPlayback", pattern, row)); }
    void timedCommand() override { note("timedCommand"); }
    void layout() override { note("layout"); }
    void fillInstrumentList() override { note("fillInstrumentList"); }
    bool gridNeedsRedraw() const override { return false; }
    bool noteEntry(TesselNoteEntry& /*entry*/) const override { return false; }
    void applyMidiInput(const TesselMidiInputRequests::Taken& taken) override
    {
        if (taken.cursorSteps != 0 || taken.redrawChannels != 0 || taken.lastNote >= 0)
            note(callText("applyMidiInput", taken.cursorSteps, taken.lastNote));
    }
    void resetView() override { note("resetView"); }
    void goToPattern(int32_t index, bool force) override { note(callText("goToPattern", index, force)); }
    void rebuild() override { note("rebuild"); }
    void showUpdateMark() override
    {
        note("showUpdateMark");
        updateMark_ = true;
        setDirty();
    }

private:
    float octave_ = 4.0f;
    float instrument_ = 1.0f;
    bool updateMark_ = false;
    TesselUI* overview_;
};

} // namespace

TesselPatternEditorPage* makePatternEditorPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
