// The pattern editor page's stand-in until the page is built: it records the
// grid marks, values and calls the editor hands it, shows the octave, the
// instrument and the status text, keeps the pattern and order position it
// was told to show, owns a grid (for its channel header strips) and the
// overview panel's stand-in.

#include "editor/page_factory.h"
#include "editor/page_stand_ins.h"
#include "gui/draw_context.h"
#include "model/module.h"
#include "patterneditor/font_metrics.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/pattern_grid.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"

#include <cstdio>
#include <memory>

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
    int32_t getCurrentPattern() override { return pattern_; }
    int32_t getCurrentOrder() override { return order_; }
    void goToPattern(int32_t index, bool force) override
    {
        note(callText("goToPattern", index, force ? 1 : 0));
        if (index >= 0 && index < kPatterns)
            pattern_ = index;
        setDirty();
    }
    void setCurrentOrder(int32_t position, bool force) override
    {
        note(callText("setCurrentOrder", position, force ? 1 : 0));
        order_ = position;
    }
    void setDirtyChannel(bool flag, int32_t channel) override
    {
        note(callText("setDirtyChannel", flag ? 1 : 0, channel));
        if (flag)
            setDirty();
    }
    TesselPatternUI* patternGrid() override
    {
        if (!grid_ && song) {
            grid_ = std::make_unique<TesselPatternUI>(*song, engine);
            grid_->setPattern(&song->patterns[0], nullptr, 0, 0, size.width(), size.height());
            TesselFontRecord font = pluginPreferences().font;
            settlePatternFontWidth(font, pluginPreferences().fontWidth);
            grid_->setFont(&font);
            grid_->layoutGrid(0, 0, size.width(), size.height());
        }
        return grid_.get();
    }
    void clearUndoHistory() override { note("clearUndoHistory"); }

private:
    float octave_ = 4.0f;
    float instrument_ = 1.0f;
    int32_t pattern_ = 0;
    int32_t order_ = 0;
    TesselUI* overview_;
    std::unique_ptr<TesselPatternUI> grid_;
};

} // namespace

TesselPatternEditorPage* makePatternEditorPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
