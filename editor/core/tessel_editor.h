#pragma once
// The plug-in's editor: one object, built with the plug-in and living as long
// as it, that owns every page, the toolbar frame over the host's window, the
// pages' frame in the editor window, the key road, the timers, the status
// line and the usage log. Its parts with a job of their own are members it
// forwards to: the editor window with its host hook (editor_window.h), the
// help windows (help_windows.h), the file commands (file_commands.h) and
// the playback follower (playback_follower.h). effEditOpen makes the toolbar
// frame; the first idle after it makes the editor window; effEditClose
// destroys both, the pages stay.
//
// GUI thread only, except the engine link's calls (see engine_links.h),
// which the playback follower takes as atomics the idle reads.

#include "editor/core/editor_page_services.h"
#include "editor/core/page_kinds.h"
#include "editor/core/status_countdown.h"
#include "editor/editor_window/editor_window.h"
#include "editor/file_commands/file_commands.h"
#include "editor/help_windows/help_windows.h"
#include "editor/playback_follower/playback_follower.h"
#include "gui/controls/control.h"
#include "gui_vst2/editor_base.h"
#include "model/song/subrow.h"
#include "platform/window.h"
#include "plugin/plugin_editor.h"
#include "shell/preferences.h"
#include "shell/usage_log.h"
#include "services/curl_global.h"
#include "services/pending_report.h"
#include "services/report_sender.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class TesselHelpPage;
class TesselInfoPage;
class TesselInstrumentListPage;
class TesselOrderListPage;
class TesselPatternEditorPage;
class TesselPreferencesPage;
class TesselSampleListPage;
class TesselSplashUI;
class TesselToolbarPage;
namespace help {
enum class HelpCommand : uint8_t;
}
namespace services {
class UpdateCheck;
}

class TesselEditor final : public AEffGUIEditor,
                           public TesselPluginEditor,
                           public TesselEditorPageServices,
                           public VSTGUI::CControlListener,
                           public TesselEditorSettings {
public:
    // Side pages stand at this origin in the editor window.
    static constexpr int32_t kSidePageLeft = 9;
    static constexpr int32_t kSidePageTop = 43;
    // The toolbar's two value controls.
    static constexpr int32_t kInstrumentTag = 51;
    static constexpr int32_t kOctaveTag = 52;

    enum Timer : uint32_t { kTimerIdle = 1, kTimerShortcut = 2, kTimerCommand = 3, kTimerRedraw = 4 };
    static constexpr uint32_t kFastIdleMs = 25;
    static constexpr uint32_t kRedrawMs = 25;
    enum HotKey : int32_t { kHotKeyR = 1, kHotKeyF2 = 2, kHotKeyT = 3 };

    // Where the windows come from: by default an X connection of our own,
    // opened by effEditOpen and closed after effEditClose; a test puts a
    // headless window system here.
    static inline std::function<platform::WindowSystem*()> windowSystemSource;
    // The version file's address for the update check; empty gives the
    // build's setting. Tests point it at a server of their own.
    static inline std::function<std::string()> updateCheckAddressSource;
    // Where reports are posted: the build's address, unless a test gives another.
    static inline std::function<std::string()> reportAddressSource;

    explicit TesselEditor(TesselPlugin& plugin);
    // Closes an open editor, joins the update-check and help threads, then
    // frees the pages, the font, the log and libcurl.
    ~TesselEditor() override;

    // VST 2 editor calls.
    bool open(void* parent) override;
    void close() override;
    void idle() override;
    VstInt32 onKeyDown(VstKeyCode& key) override;
    VstInt32 onKeyUp(VstKeyCode& key) override;
    void doIdleStuff() override { AEffGUIEditor::doIdleStuff(); }

    // The plug-in object's view of its editor (isOpen below serves it too).
    AEffEditor& vst2Editor() override { return *this; }

    // The engine's link (any thread where engine_links.h says so), in the
    // playback follower (see playback_follower.h).
    int32_t currentPattern() const override { return follower_.currentPattern(); }
    bool noteEntry(TesselNoteEntry& entry) const override { return follower_.noteEntry(entry); }
    void refreshAfterLoad() override;
    void setPlaybackPosition(int32_t order, int32_t pattern, int32_t row) override
    {
        follower_.setPlaybackPosition(order, pattern, row);
    }
    // What the audio thread last handed over; -1 when nothing plays.
    void playingPosition(int32_t& order, int32_t& pattern, int32_t& row) const
    {
        follower_.playingPosition(order, pattern, row);
    }

    // The key road.
    void handleKeyDown(const TesselKeyEvent& key) override;
    void handleKeyUp(const TesselKeyEvent& key) override;
    bool manualKeyMode() const override;
    bool doubleSize() const override;
    void redrawPatternEditor() override;
    // Runs a global command; false leaves the id to the page.
    bool executeCommand(int32_t id);
    // The note of a key at the current octave, or -1.
    int32_t noteFromKey(TesselKeyEvent key) const;
    // The last key down the road took, with its press count.
    const TesselKeyEvent& previousKey() const { return previousKey_; }
    // The pattern editor's drag help line and cursor, while it drags.
    void updateDragCursor();

    // Modal popups: no second one opens, the window leaves the topmost band.
    bool popupActive() const override { return popupActive_; }
    void beginPopup() override;
    void endPopup() override;

    // Window life.
    void createWindow();
    void destroyWindow();
    void showEditorWindow() override;
    void hideEditorWindow();
    bool isWindowVisible() const override { return frame2_ && editorWindow_.shown(); }
    platform::Window* editorWindow() const override { return editorWindow_.window(); }
    void switchPage(int32_t number, bool redraw) override;
    // Draws a page, or the toolbar, at once rather than at the next idle.
    void drawNow(TesselUI* page);
    void drawToolbarNow();

    // Window preferences.
    void setFastRefresh(bool on) override;
    void setAlwaysOnTop(bool on);
    void setWindowsLinked(bool on, bool quiet) override;
    void setIntegrated(bool on, bool quiet) override;
    void setKeyMode(int mode, bool quiet) override;
    int getKeyMode() const;
    void setPatternFont(const TesselFontRecord& font) override;
    void setPatternFontWidth(int32_t width) override;
    // The octave shown in the pattern editor's list; 0..8 only.
    void changeOctave(int32_t octave);
    void savePreferences() override;

    // Module file commands, in the file commands (see file_commands.h).
    void newModule() { fileCommands_.newModule(); }
    void openModule() { fileCommands_.openModule(); }
    void saveModule(int32_t saveAs) { fileCommands_.saveModule(saveAs); }
    bool offerToSaveChanges(const char* caption) { return fileCommands_.offerToSaveChanges(caption); }
    VstIntPtr answerQuitQuestion() override { return fileCommands_.answerQuitQuestion(); }
    // The update check found a newer version (any thread).
    bool updateAvailable() const;

    // Playback from the editor; each waits 1000 ms for the song lock.
    void playSong(int32_t order, int32_t row) override;
    void playPattern(int32_t pattern, int32_t row);
    void playFromCursor();

    // The product's web page in the desktop's browser, when the build names
    // one (http or https); the toolbar's hint for it.
    void openWebPage();
    static std::string webPageHint();

    // Help, in the help windows (see help_windows.h).
    void openHelpPage(const char* name) override { helpWindows_->openPage(name); }
    void showHelpPopup(const char* name, int32_t x, int32_t y) { helpWindows_->showPopup(name, x, y); }
    bool openHelpViewer(const char* page, help::HelpCommand command, std::string_view query = {}) override
    {
        return helpWindows_->openViewer(page, command, query);
    }
    // The toolbar's help button: the help at its default topic.
    void openDefaultHelp() { helpWindows_->openDefaultPage(); }
    void leaveTopmostForHelp() override { helpWindows_->leaveTopmost(); }
    help::HelpViewer* helpViewer() const { return helpWindows_->viewer(); }
    help::CHelpPopup* helpPopup() const { return helpWindows_->popup(); }
    // The editor window or its pages' window has the focus (pages draw
    // their inactive look else).
    bool windowActive() const override;

    // Current sample 1..99; with follow, an instrument using it becomes current.
    void setCurrentSample(int32_t n, bool follow) override;
    // What the engine last reported playing: pattern and row (-1 none).
    int32_t playingPattern() const override { return follower_.playingPattern(); }
    int32_t playingRow() const override { return follower_.playingRow(); }

    // TesselEditorServices.
    TesselPlugin* plugin() override { return plugin_; }
    TesselEngine* engine() override { return engine_; }
    TesselUI* basePage() const override { return pages_.patternEditor; }
    std::array<TesselUI*, kSidePages> sidePages() const override
    {
        return {pages_.sampleList, pages_.instrumentList, pages_.info, pages_.orderList, pages_.preferences};
    }
    TesselUI* bottomPanel() const override { return pages_.help; }
    TesselUI* toolbarPage() const override { return pages_.toolbar; }
    TesselUI* pageByNumber(int32_t number) const override { return pages_.byNumber(number); }
    TesselUI* currentPage() const override { return current_; }
    void setCurrentPage(TesselUI* page) override { current_ = page; }
    CFrame2* frame2() override { return frame2_; }
    VSTGUI::CFrame* toolbarFrame() override { return frame; }
    int32_t octave() const override { return octave_; }
    void setOctave(int32_t octave) override;
    int32_t currentInstrument() const override { return instrument_; }
    void setCurrentInstrument(int32_t number, bool selectSample) override;
    int32_t currentSample() const override { return sample_; }
    bool inputBlocked() const override { return popupActive_; }
    bool capsLock() const override { return capsLock_; }
    bool isOpen() const override { return frame != nullptr; }
    void logCurrentFocus() override;
    bool basePageDragging() const override;
    void showOctave(float octave) override;
    void showInstrument(float instrument) override;
    void drawStatusLine(VSTGUI::CDrawContext* context) override;
    void refreshPage(TesselUI* page) override;
    bool bottomPanelSlidingOut() const override;
    bool overlaysHidden() const override;
    void showPageButtons(int32_t pageNumber) override;
    VSTGUI::CBitmap* capsLockIndicator() override { return capsPlate_; }
    void fontChanged(const TesselFontRecord& font) override { setPatternFont(font); }

    // The toolbar's instrument and octave controls.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;

    TesselSplashUI* splash() const { return splash_; }
    const TesselHelpPage* helpPage() const { return help_; }
    // The pages it made, by name.
    const TesselPages& pages() const { return pages_; }
    // Skins the pages share: the cursor block (268) and the frame slices (121).
    VSTGUI::CBitmap* cursorBlock() const { return cursorBlock_; }
    VSTGUI::CBitmap* frameSlices() const { return frameSlices_; }
    TesselUsageLog& usageLog() { return log_; }
    // The crash report claimed for this session (shown at the first window).
    const services::PendingReport& pendingReport() const { return pendingReport_; }
    // The feedback command: the comment dialog, then the report it asks for.
    void sendFeedback();
    // The same at the end of the next idle pass.
    void requestFeedback() { feedbackRequested_ = true; }
    platform::WindowSystem* windowSystem() const override { return editorWindow_.system(); }
    std::string& moduleFolder() override { return fileCommands_.moduleFolder(); }
    std::string& sampleFolder() override { return fileCommands_.sampleFolder(); }
    std::string& instrumentFolder() override { return fileCommands_.instrumentFolder(); }
    TesselPatternEditorPage* patternEditorPage() const override
    {
        return pages_.patternEditor ? patternEditor_ : nullptr;
    }

    // What the editor window's messages mean to the pages: its new size,
    // the focus it got or lost, a timer, the hot keys' focus toggle.
    void resized(int32_t width, int32_t height);
    void focusChanged(bool focused);
    void timerFired(uint32_t id);
    void toggleFocus();

private:
    // Construction and window pieces.
    void loadBitmapFonts();
    void makePages(const platform::Rect& client);
    void placePages(const platform::Rect& client);
    platform::Rect pageArea(int32_t width, int32_t height) const;
    void forgetPages();
    void removePagesFrom(VSTGUI::CFrame* from);

    // The road's pieces.
    bool playLiveKey(TesselKeyEvent& key);
    void stopLiveKey(TesselKeyEvent key);
    void toggleMute(int32_t channel);
    void escape(const TesselKeyEvent& key);
    bool switchToPageCommand(int32_t number);
    void changeInstrument(int32_t delta);
    platform::InputState liveInput() const;

    // Tells the pattern editor once when the update check found a newer version.
    void noticeUpdateCheck();

    // Idle pieces.
    void idlePages();
    void refreshLoadedSong();
    void offerPendingReport();
    services::ReportDelivery reportDelivery() const;

    TesselPlugin* plugin_;
    TesselEngine* engine_;
    // The crash this editor offers to report, claimed as it is made.
    services::PendingReport pendingReport_;
    TesselUsageLog log_;
    services::CurlGlobal curl_;
    std::unique_ptr<services::UpdateCheck> updateCheck_;
    std::string fontPath_;
    std::unique_ptr<TesselHelpWindows> helpWindows_;

    TesselEditorWindow editorWindow_{*this};
    CFrame2* frame2_ = nullptr;

    TesselPages pages_;
    TesselPatternEditorPage* patternEditor_ = nullptr;
    TesselToolbarPage* toolbar_ = nullptr;
    TesselSampleListPage* sampleList_ = nullptr;
    TesselInstrumentListPage* instrumentList_ = nullptr;
    TesselInfoPage* info_ = nullptr;
    TesselOrderListPage* orderList_ = nullptr;
    TesselPreferencesPage* preferences_ = nullptr;
    TesselHelpPage* help_ = nullptr;
    TesselSplashUI* splash_ = nullptr;
    TesselUI* current_ = nullptr;
    VSTGUI::CBitmap* capsPlate_ = nullptr;
    VSTGUI::CBitmap* cursorBlock_ = nullptr;
    VSTGUI::CBitmap* frameSlices_ = nullptr;

    int32_t octave_ = 4;
    int32_t instrument_ = 1;
    int32_t sample_ = 1;
    bool popupActive_ = false;
    bool capsLock_ = false;
    bool redrawRequest_ = false;
    bool inIdle_ = false;
    bool firstCreationDone_ = false;
    bool reportOffered_ = false;
    bool updateMarkShown_ = false;
    bool feedbackRequested_ = false;

    // The song's change count the idle last compared.
    uint32_t lastChanges_ = 0;
    TesselStatusCountdown status_;
    TesselSubrow liveNote_;

    TesselKeyEvent previousKey_;
    TesselFileCommands fileCommands_;
    TesselPlaybackFollower follower_;
};

// Installs the editor's maker and hooks in the plug-in shell and the
// toolkit; the library's load-time set-up calls it.
void installTesselEditor();
