// The pattern editor page of 64 channels in a 1920 x 1200 editor window,
// every cell holding a note, an instrument, a volume and an effect:
//  - PageFullRedraw: every cell dirty, and the whole page composed as the
//    editor draws it: title strip, header line, channel headers, row
//    numbers, cells, the status strip over it, then the copy to the window;
//  - PageCursorStep: the cursor one row down, the page composed again;
//  - WindowCopy, the reference: one 1:1 copy of the whole window.
// A redraw must fit one 25 ms idle pass.

#include "bench/window_copy_reference.h"
#include "engine/engine.h"
#include "pagekit/editor_services.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "patterneditor/pattern_editor_ui.h"
#include "platform/system/folders.h"
#include "platform/graphics/font_catalog.h"
#include "resources/product_font.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1200;

// Only what the page asks of an editor: its engine and its values.
class BenchEditor final : public TesselEditorServices {
public:
    explicit BenchEditor(TesselEngine& engine) : engine_(engine) {}

    void handleKeyDown(const TesselKeyEvent&) override {}
    void handleKeyUp(const TesselKeyEvent&) override {}
    bool manualKeyMode() const override { return false; }
    bool doubleSize() const override { return false; }
    void redrawPatternEditor() override {}
    bool popupActive() const override { return false; }
    void beginPopup() override {}
    void endPopup() override {}
    TesselPlugin* plugin() override { return nullptr; }
    TesselEngine* engine() override { return &engine_; }
    TesselUI* basePage() const override { return page; }
    std::array<TesselUI*, kSidePages> sidePages() const override { return {}; }
    TesselUI* bottomPanel() const override { return nullptr; }
    TesselUI* toolbarPage() const override { return nullptr; }
    TesselUI* pageByNumber(int32_t) const override { return nullptr; }
    TesselUI* currentPage() const override { return page; }
    void setCurrentPage(TesselUI*) override {}
    CFrame2* frame2() override { return nullptr; }
    VSTGUI::CFrame* toolbarFrame() override { return nullptr; }
    int32_t octave() const override { return 4; }
    void setOctave(int32_t) override {}
    int32_t currentInstrument() const override { return 1; }
    void setCurrentInstrument(int32_t, bool) override {}
    int32_t currentSample() const override { return 1; }
    int32_t noteFromKey(TesselKeyEvent) const override { return -1; }
    bool inputBlocked() const override { return false; }
    bool capsLock() const override { return false; }
    bool isOpen() const override { return true; }
    bool isWindowVisible() const override { return true; }
    void showEditorWindow() override {}
    void logCurrentFocus() override {}
    bool basePageDragging() const override { return false; }
    void showOctave(float) override {}
    void showInstrument(float) override {}
    void drawStatusLine(VSTGUI::CDrawContext*) override {}
    void refreshPage(TesselUI*) override {}
    bool bottomPanelSlidingOut() const override { return false; }
    bool overlaysHidden() const override { return false; }
    void showPageButtons(int32_t) override {}
    VSTGUI::CBitmap* capsLockIndicator() override { return nullptr; }

    // The pattern editor page, the one page.
    TesselUI* page = nullptr;

private:
    TesselEngine& engine_;
};

struct Rig {
    std::unique_ptr<TesselEngine> engine = std::make_unique<TesselEngine>();
    BenchEditor editor{*engine};
    TesselPatternEditorUI* page = nullptr;
    COffscreenContext offscreen{static_cast<CFrame*>(nullptr), kWidth, kHeight};
    platform::Image window{kWidth, kHeight};

    Rig()
    {
        static const std::string font =
            resources::registerProductFont(platform::FontCatalog::process(), platform::temporaryFolder());
        TesselPattern& pattern = engine->song.patterns[0];
        pattern.setLength(256);
        for (int c = 0; c < kChannels; ++c)
            for (int r = 0; r < 256; ++r) {
                TesselRow& cell = pattern.tracks.getTrack(c).getRow(r);
                cell.pitch = int16_t((c + r) % 120);
                cell.instrument = int16_t(1 + (c + r) % 99);
                cell.volume = int16_t(r % 65);
                cell.effect.command = char('A' + r % 26);
                cell.effect.parameter = int16_t((c * 7 + r) & 0xFF);
            }
        page = new TesselPatternEditorUI(CRect(0, 0, kWidth, kHeight), &editor);
        editor.page = page;
        page->layout(true);
        page->goToPattern(0, true);
        page->grid().moveCursorTo(9 * 3, 40);
        compose();
    }
    ~Rig() { page->forget(); }

    void compose()
    {
        page->draw(&offscreen);
        page->drawStatus(&offscreen);
        platform::Canvas(window).copy(*offscreen.getImage(), window.bounds(), {0, 0});
    }
};

void PageFullRedraw(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state) {
        rig.page->setDirtyChannel(true, -1);
        rig.compose();
    }
    state.counters["channels"] = rig.page->grid().view.visibleChannels;
    state.counters["rows"] = rig.page->grid().view.visibleRows;
}

void PageCursorStep(benchmark::State& state)
{
    Rig rig;
    int step = 1;
    for (auto _ : state) {
        rig.page->grid().moveCursorBy(0, step);
        step = -step;
        rig.compose();
    }
}

void WindowCopy(benchmark::State& state)
{
    copyWholeWindow(state, kWidth, kHeight);
}

} // namespace

BENCHMARK(WindowCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(PageFullRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(PageCursorStep)->Unit(benchmark::kMillisecond);
