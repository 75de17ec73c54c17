#pragma once
// The pattern editor page (page 1): one pattern as a grid of up to 64
// channels by up to 256 rows under a title strip, a header line and the
// channel headers, with a row-number column and a status strip, and the
// panels that open over it (undo history, pattern options, info bar,
// overview, amplify prompt). It routes keys to its commands, the grid's
// edits and note entry, and the mouse to the grid and its strips.
//
// GUI thread, except getCurrentPattern and noteEntry, which read values the
// page publishes for the audio thread.

#include "gui/controls/control.h"
#include "patterneditor/grid/grid_host.h"
#include "patterneditor/grid/pattern_grid.h"
#include "patterneditor/menus/edit_commands.h"
#include "patterneditor/menus/pattern_menus.h"
#include "patterneditor/menus/pattern_options.h"
#include "patterneditor/overview/info_panel.h"
#include "patterneditor/pattern_editor_link.h"
#include "patterneditor/pattern_editor_page.h"
#include "patterneditor/undo/undo_ui.h"
#include "shell/preferences.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

class TesselButton;
class TesselDropList;

class TesselPatternEditorUI final : public TesselPatternEditorPage,
                                    public TesselGridHost,
                                    public CControlListener {
public:
    static constexpr int32_t kClassId = 7;
    // Window buttons: 0 always on top, 1 maximise, 2 hide, 3 manual key
    // mode, 4 feedback, 5 the instrument field, 6 the octave field, 7 the
    // windows linked.
    static constexpr int kWindowButtons = 8;
    // The title strip's height, the status strip's, and the header band's
    // top when the strips are shown (one title strip higher when maximised).
    static constexpr int32_t kTitleHeight = 12;
    static constexpr int32_t kStatusHeight = 16;
    static constexpr int32_t kHeaderTop = 12;
    // Where the undo history and the pattern options open.
    static constexpr int32_t kPanelLeft = 40;
    static constexpr int32_t kPanelTop = 40;

    // The overview panel is the editor's (owned from now on); the link
    // reaches the rest of the editor (null: the defaults).
    TesselPatternEditorUI(const CRect& size, TesselEditorServices* editor,
                          std::unique_ptr<TesselPatternEditorLink> link = nullptr, TesselUI* overview = nullptr);
    ~TesselPatternEditorUI() override;

    // --- page slots
    void draw(CDrawContext* context) override;
    bool isDirty() const override;
    void onMouseWheel(int32_t x, int32_t y, float distance) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    bool wantsKeys() override;
    // Any thread.
    int32_t getCurrentPattern() override { return published_.pattern.load(std::memory_order_relaxed); }
    int32_t getCurrentOrder() override { return orderPosition_; }
    int32_t getCurrentRow() override { return grid_.view.cursorRow; }
    // A command of the page's context (or the root); false when not one of them.
    bool onCommand(int32_t id);
    // Marks the page, and with the flag the channel's cells (-1 every
    // channel) and the panels shown, for redraw.
    void setDirtyChannel(bool flag, int32_t channel) override;

    // --- what the editor asks
    void markDirty(int32_t channel, int32_t row, uint8_t flags) override;
    void releaseBitmaps() override;
    int32_t cursorChannel() const override { return grid_.view.cursorChannel; }
    void showOctave(float octave) override;
    void showInstrument(float instrument) override;
    void drawStatus(CDrawContext* context) override;
    bool draggingSelection() const override { return grid_.isMouseSelecting(); }
    void clearShiftState() override;
    void followPlayback(int32_t pattern, int32_t row) override;
    void timedCommand() override { onCommand(edit_commands::kTimedCommand); }
    void layout() override { layout(false); }
    void fillInstrumentList() override { fillInstrumentList(0); }
    bool gridNeedsRedraw() const override;
    bool noteEntry(TesselNoteEntry& entry) const override;
    void applyMidiInput(const TesselMidiInputRequests::Taken& taken) override;
    void resetView() override;
    void rebuild() override;
    void showUpdateMark() override;
    TesselPatternUI* patternGrid() override { return &grid_; }
    void clearUndoHistory() override { undo_->clearHistory(); }
    bool instrumentLabelsShown() const override { return grid_.view.instrumentLabels != 0; }
    void showInstrumentLabels(bool on) override;
    bool updateMarkShown() const { return updateMark_; }

    // --- showing a pattern, layout
    // Shows the song's pattern; with force even when it is current.
    void goToPattern(int32_t index, bool force) override;
    // The page's order position (-1: the pattern is not at the editor's
    // current order position) and what depends on it.
    void setCurrentOrder(int32_t position, bool force) override;
    // From the editor window's client area; with force even when unchanged.
    void layout(bool force);
    // 0: the whole list; n: only instrument n's entry.
    void fillInstrumentList(int32_t number);

    // --- parts, for the panels, the menus and tests
    TesselPatternUI& grid() { return grid_; }
    TesselPattern* pattern() const { return pattern_; }
    TesselUndoUI& undoPanel() { return *undo_; }
    TesselInfoUI& infoPanel() { return *info_; }
    TesselPatternOptions& optionsPanel() { return *options_; }
    TesselPatternMenus& menus() { return *menus_; }
    TesselUI* overviewPanel() { return overview_; }
    TesselDropList* instrumentList() const { return instrumentList_; }
    TesselDropList* octaveList() const { return octaveList_; }
    TesselButton* windowButton(int i) const { return buttons_[size_t(i)]; }
    TesselPatternEditorLink& link() { return *link_; }
    // The title and status strips are shown: the editor window is not
    // maximised.
    bool stripsShown() const;
    // Where the cells start, and where the status strip begins.
    platform::Point gridOrigin() const { return grid_.gridOrigin(); }
    int32_t statusTop() const;
    // The info bar's bottom edge, over the status strip.
    int32_t infoBarBottom() const { return statusTop(); }
    // Applies the options panel's values with a checkpoint of that message.
    void applyPatternOptions(const char* message);

    // --- TesselGridHost
    bool editorMaximised() const override { return link_->windowMaximised(); }
    platform::Point clientSize() const override;
    bool followsPlayback() const override;
    int32_t coveringPanelHeight() const override;
    uint32_t ticks() const override;
    int32_t octave() const override { return getOctave(); }
    int32_t currentInstrument() const override { return getCurrentInstrument(); }
    void setCurrentInstrument(int32_t number) override;
    void pushCheckpoint(const TesselPattern& pattern, const char* message) override;
    uint32_t checkpointCount() const override;
    void patternReshaped() override;
    void showCellHelp(const char* page, platform::Point at) override;
    void goToInstrument(int32_t number) override { link_->showInstrumentPage(number); }
    void movePointerBy(int32_t dx, int32_t dy) override;
    void dragChanged(bool dragging) override;
    void gridChanged() override { setDirty(); }

    // --- CControlListener: the page's drop lists
    void valueChanged(CDrawContext* context, CControl* control) override;

private:
    // Pieces of the key road and of the commands.
    void toggleInstrumentLabels();
    void restoreUndoLine();
    bool switchPattern(int32_t index, bool resetCursor);
    bool switchOrder(bool forward);
    void toggleMute(bool solo);
    void songRows(bool insert);
    void toggleCommandTimer();
    // Pieces of the mouse.
    bool gridAreaHolds(int32_t x, int32_t y) const;
    int32_t headerMouse(int32_t x, int32_t y, int32_t buttons);
    // Pieces of the picture (pattern_editor_draw.cpp).
    void drawTitleStrip(CDrawContext* context);
    void drawHeaderLine(CDrawContext* context);
    void drawRowNumbers(CDrawContext* context);
    void drawPlayingRow(CDrawContext* context);
    void drawGuide(CDrawContext* context);
    void drawPanels(CDrawContext* context);
    // What the audio thread reads, published after every change.
    void publish();
    void placeControls(int32_t width, int32_t height);
    void makeControls();

    std::unique_ptr<TesselPatternEditorLink> link_;
    TesselPatternUI grid_;
    TesselUndoUI* undo_ = nullptr;
    TesselInfoUI* info_ = nullptr;
    TesselPatternOptions* options_ = nullptr;
    TesselUI* overview_ = nullptr;
    std::unique_ptr<TesselPatternMenus> menus_;
    TesselDropList* instrumentList_ = nullptr;
    TesselDropList* octaveList_ = nullptr;
    std::array<TesselButton*, kWindowButtons> buttons_{};
    std::array<CBitmap*, 4> statusToggles_{};   // help off, on; info off, on
    CBitmap* titleStrip_ = nullptr;

    TesselPattern* pattern_ = nullptr;
    int32_t orderPosition_ = -1;
    bool orderPositionSet_ = false;
    int32_t orderTable_ = 0;   // 0 the order list, 1 the order pitches
    platform::Point laidOut_{-1, -1};
    TesselFontRecord fontUsed_{};
    bool hasFont_ = false;
    int32_t seenSong_ = -1;
    bool updateMark_ = false;
    // The cursor guide fades in over a few draws after the cursor stops.
    int32_t guideFade_ = 0;
    TesselGridPosition guideAt_;

    struct Published {
        std::atomic<int32_t> pattern{0};
        std::atomic<int32_t> channel{0};
        std::atomic<int32_t> row{0};
        std::atomic<int32_t> rowStep{1};
        std::atomic<int32_t> instrument{1};
        std::atomic<int32_t> panning{-1};
        std::atomic<int32_t> depth{-1};
        std::atomic<int32_t> parameter{0};
        std::atomic<char> letter{'.'};
        std::atomic<uint8_t> flags{0};
    };
    Published published_;
};
