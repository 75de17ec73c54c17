// The pattern editor page in the editor: made with the overview panel and a
// link through which it reaches the editor's help, pages, timer, drag
// cursor and playing position.

#include "editor/core/page_factory.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "pagekit/frame2.h"
#include "patterneditor/overview/overview_ui.h"
#include "patterneditor/pattern_editor_ui.h"
#include "plugin/plugin_globals.h"

namespace {

constexpr uint32_t kCommandTimerMs = 100;
constexpr uint8_t kSplashCoverAlpha = 128;

class EditorLink final : public TesselPatternEditorLink {
public:
    explicit EditorLink(TesselEditor& editor) : editor_(editor) {}

    void openHelpPage(const char* name) override { editor_.openHelpPage(name); }
    void showHelpPopup(const char* name, int32_t x, int32_t y) override { editor_.showHelpPopup(name, x, y); }
    platform::Point pageOrigin() const override
    {
        platform::Window* window = pagesWindow();
        return window ? window->screenOrigin() : platform::Point{};
    }
    void showInstrumentPage(int32_t instrument) override
    {
        editor_.setCurrentInstrument(instrument, true);
        editor_.switchPage(kInstrumentListPage, true);
    }
    bool inOwnHost() const override { return ::inOwnHost(); }
    bool commandTimerRunning() const override { return timerRunning_; }
    void setCommandTimer(bool on) override
    {
        platform::Window* window = editor_.editorWindow();
        if (!window)
            return;
        if (on)
            window->setTimer(TesselEditor::kTimerCommand, kCommandTimerMs);
        else
            window->killTimer(TesselEditor::kTimerCommand);
        timerRunning_ = on;
    }
    void updateDragCursor() override { editor_.updateDragCursor(); }
    void endDragCursor() override
    {
        if (platform::Window* window = pagesWindow())
            window->setCursor(platform::Cursor::Arrow);
    }
    void playingPosition(int32_t& order, int32_t& pattern, int32_t& row) const override
    {
        editor_.playingPosition(order, pattern, row);
    }
    bool overlaySliding() const override
    {
        // Asked on every idle pass: the page's own type, not a cast.
        const TesselHelpPage* help = editor_.helpPage();
        return (help && help->isAnimating()) || (editor_.splash() && editor_.splash()->isAnimating());
    }
    bool splashCovers() const override
    {
        const TesselSplashUI* splash = editor_.splash();
        return splash && splash->isShown() && splash->alpha() > kSplashCoverAlpha;
    }
    void fadeSplash() override
    {
        if (TesselSplashUI* splash = editor_.splash())
            splash->startFadeOut();
    }
    bool shiftHeld() const override
    {
        platform::WindowSystem* system = editor_.windowSystem();
        return system && (system->inputState().bits & platform::kShiftHeld);
    }

    bool windowMaximised() const override
    {
        platform::Window* window = editor_.editorWindow();
        return window && window->isMaximised();
    }
    bool executeCommand(int32_t id) override { return editor_.executeCommand(id); }
    void setAlwaysOnTop(bool on) override { editor_.setAlwaysOnTop(on); }
    void setWindowMaximised(bool on) override
    {
        if (platform::Window* window = editor_.editorWindow())
            window->setMaximised(on);
    }
    void hideEditorWindow() override { editor_.hideEditorWindow(); }
    void toggleKeyMode() override { editor_.setKeyMode(editor_.getKeyMode() == 0 ? 1 : 0, false); }
    void setWindowsLinked(bool on) override { editor_.setWindowsLinked(on, false); }
    // After the click that asked for it: its release must not reach the dialog.
    void sendFeedback() override { editor_.requestFeedback(); }
    void dragEditorWindow() override
    {
        if (platform::Window* window = editor_.editorWindow())
            window->beginMove();
    }
    void openWebPage() override { editor_.openWebPage(); }
    void toggleHelpPage() override
    {
        auto* help = dynamic_cast<TesselHelpPage*>(editor_.pages().help);
        if (!help)
            return;
        if (!help->isShown())
            help->show(true, true);
        else if (!help->isAnimating())
            help->show(false, true);
    }

private:
    platform::Window* pagesWindow() const
    {
        CFrame2* frame = editor_.frame2();
        return frame ? frame->getWindow() : nullptr;
    }

    TesselEditor& editor_;
    bool timerRunning_ = false;
};

} // namespace

TesselPatternEditorPage* makePatternEditorPage(TesselEditor* editor, const CRect& size)
{
    auto* page = new TesselPatternEditorUI(size, editor, std::make_unique<EditorLink>(*editor), makeOverviewPanel(editor));
    if (auto* overview = dynamic_cast<TesselOverviewUI*>(page->overviewPanel()))
        overview->attach(page->grid(), page->link());
    return page;
}
