#pragma once
// A fake editor for the page base: its pages, frames, flags and the calls the
// pages make of it; test pages that record what reaches them; and the real
// usage log, read back record by record.

#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "gui/controls/tessel_control.h"
#include "pagekit/tessel_ui.h"
#include "pagekit/page_numbers.h"
#include "gui_fixture.h"
#include "model/model_globals.h"
#include "model/scratch_folder.h"
#include "pagekit/page_globals.h"
#include "shell/usage_log.h"

#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

// A page that fills its rectangle with its colour and records its mouse calls.
class TestPage : public TesselUI {
public:
    TestPage(const CRect& size, TesselEditorServices* editor, CColor colour = CColor{0, 0, 200, 0})
        : TesselUI(size, 0, nullptr, editor, 99), colour(colour)
    {
    }

    bool wantsKeys() override { return shown; }
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext*, int32_t buttons) override
    {
        downs.push_back({CPoint(x, y), buttons, freshPress});
        return 0;
    }
    void draw(CDrawContext* context) override
    {
        ++draws;
        context->setFillColor(colour);
        context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        TesselUI::draw(context);
    }

    void setToolbarStrip() { toolbarStrip = true; draggable = false; }
    void setDraggable(bool flag) { draggable = flag; }

    struct Down {
        CPoint where;
        int32_t buttons;
        bool fresh;
    };
    std::vector<Down> downs;
    CColor colour;
    int draws = 0;
};

class FakeEditor : public TesselEditorServices {
public:
    // TesselFrameLink
    void handleKeyDown(const TesselKeyEvent&) override {}
    void handleKeyUp(const TesselKeyEvent&) override {}
    bool manualKeyMode() const override { return false; }
    bool doubleSize() const override { return twice; }
    void redrawPatternEditor() override { ++patternRedraws; }
    bool popupActive() const override { return popup; }
    void beginPopup() override
    {
        popup = true;
        ++popupsBegun;
    }
    void endPopup() override { popup = false; }

    TesselPlugin* plugin() override { return nullptr; }
    TesselEngine* engine() override { return nullptr; }
    TesselUI* basePage() const override { return pageSet.base; }
    std::array<TesselUI*, kSidePages> sidePages() const override { return pageSet.sides; }
    TesselUI* bottomPanel() const override { return pageSet.bottom; }
    TesselUI* toolbarPage() const override { return pageSet.toolbar; }
    TesselUI* pageByNumber(int32_t number) const override
    {
        switch (number) {
        case kPatternEditorPage: return pageSet.base;
        case kSampleListPage: return pageSet.sides[0];
        case kInstrumentListPage: return pageSet.sides[1];
        case kInfoPage: return pageSet.sides[2];
        case kOrderListPage: return pageSet.sides[3];
        case kPreferencesPage: return pageSet.sides[4];
        default: return nullptr;
        }
    }
    TesselUI* currentPage() const override { return current; }
    void setCurrentPage(TesselUI* page) override { current = page; }
    CFrame2* frame2() override { return frame; }
    CFrame* toolbarFrame() override { return toolbar; }
    int32_t octave() const override { return currentOctave; }
    void setOctave(int32_t value) override { currentOctave = value; }
    int32_t currentInstrument() const override { return instrument; }
    void setCurrentInstrument(int32_t number, bool selectSample) override
    {
        instrument = number;
        instrumentCalls.push_back({number, selectSample});
    }
    int32_t currentSample() const override { return 1; }
    // Keys of the lower keyboard row play the notes of the current octave.
    int32_t noteFromKey(TesselKeyEvent key) const override
    {
        static const char kRow[] = "zsxdcvgbhnjm";
        for (int i = 0; kRow[i]; ++i)
            if (key.character == kRow[i] && key.virtualKey == 0)
                return 12 * currentOctave + i;
        return -1;
    }
    bool inputBlocked() const override { return blocked; }
    bool capsLock() const override { return caps; }
    bool isOpen() const override { return true; }
    bool isWindowVisible() const override { return visible; }
    void showEditorWindow() override { visible = true; }
    void logCurrentFocus() override { ++focusLogs; }
    bool basePageDragging() const override { return patternDragging; }
    void showOctave(float value) override { octaveShown.push_back(value); }
    void showInstrument(float value) override { instrumentShown.push_back(value); }
    void drawStatusLine(CDrawContext*) override { ++statusDraws; }
    void refreshPage(TesselUI* page) override
    {
        if (page == pageSet.sides[1])
            ++instrumentPageRefreshes;
    }
    bool bottomPanelSlidingOut() const override { return false; }
    bool overlaysHidden() const override { return false; }
    void showPageButtons(int32_t page) override { pageButtons.push_back(page); }
    CBitmap* capsLockIndicator() override { return indicator; }

    // The pages by their place: the pattern editor under the others, the
    // five side pages, the help panel, the toolbar.
    struct {
        TesselUI* base = nullptr;
        std::array<TesselUI*, kSidePages> sides{};
        TesselUI* bottom = nullptr;
        TesselUI* toolbar = nullptr;
    } pageSet;
    TesselUI* current = nullptr;
    CFrame2* frame = nullptr;
    CFrame* toolbar = nullptr;
    CBitmap* indicator = nullptr;
    bool twice = false;
    bool popup = false;
    bool blocked = false;
    bool caps = false;
    bool visible = true;
    bool patternDragging = false;
    int32_t currentOctave = 4;
    int32_t instrument = 1;
    int popupsBegun = 0;
    int patternRedraws = 0;
    int focusLogs = 0;
    int statusDraws = 0;
    int instrumentPageRefreshes = 0;
    std::vector<std::pair<int32_t, bool>> instrumentCalls;
    std::vector<float> octaveShown;
    std::vector<float> instrumentShown;
    std::vector<int32_t> pageButtons;
};

// One record of the usage log file: its type letter and the bytes after it.
struct LogRecord {
    char type;
    std::string data;
};

// The usage log of a test: open while the test runs, read back from its file.
class TestUsageLog {
public:
    TestUsageLog()
    {
        EXPECT_TRUE(log.open({"Vendor", "Host", 1, "Maker", "Quorbel", 2}));
        setUsageLog(&log);
        // As the plug-in object does: the controls log to the open log.
        setTesselValueLog(logControlValue, [] { return songCounter().load(); });
    }
    ~TestUsageLog()
    {
        setUsageLog(nullptr);
        unlink(log.path().c_str());
    }

    // The records of one type letter, in order.
    std::vector<LogRecord> records(char wanted)
    {
        log.flush();
        const std::string bytes = readWholeFile(log.path());
        constexpr size_t kHeader = 1 + 7 + 5 + 4 + 6 + 8 + 4;
        std::vector<LogRecord> found;
        for (size_t at = kHeader; at + 5 <= bytes.size();) {
            const char type = bytes[at + 4];
            const size_t length = recordSize(type);
            if (length == 0 || at + 4 + length > bytes.size()) {
                ADD_FAILURE() << "unknown or cut record '" << type << "'";
                break;
            }
            if (type == wanted)
                found.push_back({type, bytes.substr(at + 5, length - 1)});
            at += 4 + length;
        }
        return found;
    }

    TesselUsageLog log;

private:
    static size_t recordSize(char type)
    {
        switch (type) {
        case 'a': return 6;
        case 'c': return 9;
        case 'd': return 5;
        case 'f': return 4;
        case 'k': return 7;
        case 'm': return 6;
        case 'p': return 120;
        default: return 0;
        }
    }
};

inline int16_t le16(const std::string& bytes, size_t at)
{
    return static_cast<int16_t>(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

inline float leFloat(const std::string& bytes, size_t at)
{
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i)
        word = word << 8 | uint8_t(bytes[at + static_cast<size_t>(i)]);
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

// An editor window with its CFrame2, the toolbar frame, a pattern editor
// page filling the frame and the five side pages at 9, 43, all made with new
// (the frames take the creator's reference).
class PageTest : public GuiTest {
protected:
    static constexpr CRect kSidePage{9, 43, 209, 143};

    PageTest()
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {200, 100, 923, 599};
        options.title = "Quorbel Window";
        window = system.createWindow(options);
        frame2 = new CFrame2(CRect(0, 0, 723, 499), window.get(), &fake);
        toolbarFrame = new CFrame(CRect(0, 0, 493, 36), host.get(), &fake);
        fake.frame = frame2;
        fake.toolbar = toolbarFrame;

        patternEditor = new TestPage(CRect(0, 0, 723, 499), &fake, CColor{20, 20, 20, 0});
        toolbar = new TestPage(CRect(0, 0, 493, 36), &fake);
        toolbar->setToolbarStrip();
        for (TestPage*& side : sides)
            side = new TestPage(kSidePage, &fake);
        fake.pageSet = {patternEditor, {sides[0], sides[1], sides[2], sides[3], sides[4]}, nullptr, toolbar};
        frame2->addView(patternEditor);
        toolbarFrame->addView(toolbar);
        fake.current = patternEditor;
        currentPageNumber() = kPatternEditorPage;
        system.pump();
    }
    ~PageTest() override
    {
        // Side pages outside the frame are the test's to release.
        for (TestPage* side : sides)
            if (!frame2->isChild(side))
                side->forget();
        delete toolbarFrame;
        delete frame2;
    }

    // A mouse call as the frame would make it, frame coordinates.
    void mouse(TesselUI* page, CPoint where, int32_t buttons)
    {
        std::unique_ptr<CDrawContext> context = frame2->createWindowContext();
        page->mouse(context.get(), where, buttons);
    }

    FakeEditor fake;
    std::unique_ptr<platform::Window> window;
    CFrame2* frame2;
    CFrame* toolbarFrame;
    TestPage* patternEditor;
    TestPage* toolbar;
    TestPage* sides[5];
};
