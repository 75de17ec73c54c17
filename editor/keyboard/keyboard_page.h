#pragma once
// The keyboard shortcuts page, a sub-page of the preferences page: the
// command tree with each command's shortcuts, the selected command's
// shortcut list, capturing a key to bind, removing a binding, and loading,
// saving and restoring keyboard schemes. It edits the default scheme in
// place, so the key road follows at once. GUI thread only.

#include "editor/preferences/sub_page.h"
#include "gui/controls/button.h"
#include "gui/lists/treeview.h"
#include "platform/key_event.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TesselCommand;

class TesselKeyboardUI : public TesselSubPage {
public:
    static constexpr int32_t kClassId = 22;
    // A capture lasts this many ticks of the timer after the last key.
    static constexpr int32_t kCaptureTicks = 40;
    static constexpr uint32_t kTickMs = 50;
    static constexpr uint32_t kTimerId = 2;
    enum Focus : int32_t { kFocusTree, kFocusList, kFocusLoad, kFocusSave, kFocusDefaults, kFocusCount };
    // The shortcut list: rows of 15 pixels from y 89, the selected row filled
    // over x 270..575.
    static constexpr int32_t kListTop = 89;
    static constexpr int32_t kListRowHeight = 15;
    // Rows that fit above the capture panel.
    static constexpr uint32_t kListRows = 9;
    static constexpr int32_t kCountdownLeft = 277;
    static constexpr int32_t kCountdownWidth = 287;
    static constexpr CColor kUnfocusedRow{0x40, 0x40, 0x40, 0};

    explicit TesselKeyboardUI(TesselEditorPageServices* editor);
    ~TesselKeyboardUI() override;

    void onMouseWheel(int32_t x, int32_t y, float distance) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // Shown, or capturing a key.
    bool wantsKeys() override { return shown || countdown_ > 0; }
    // A capture ends too.
    void hide() override;
    // The timer's call every 50 ms while a capture runs.
    void tick();
    // Ends a capture (the pending key stays) and kills the timer.
    void stopCapture();
    // Refills the tree from the default scheme and clamps the slot.
    void rebuildTree();

    // The three buttons' actions.
    void loadScheme();
    void saveScheme();
    void restoreDefaults();

    bool capturing() const { return countdown_ > 0; }
    int32_t countdown() const { return countdown_; }
    const TesselKeyEvent& pendingKey() const { return pending_; }
    uint32_t selectedSlot() const { return slot_; }
    int32_t focusIndex() const { return focus_; }
    TesselTreeview& tree() { return tree_; }
    // The selected command's dotted path; empty for the root (the scheme).
    std::string selectedPath() const;
    // The selected command in the default scheme; the scheme itself for the
    // root; null when the path is gone.
    TesselCommand* selectedCommand() const;
    // What the shortcut list shows, "(new shortcut)" last.
    std::vector<std::string> listRows() const;
    // The capture panel's two lines; none without a capture or a pending key.
    std::vector<std::string> panelLines() const;

private:
    // Keys by focus, after Escape, the capture, F1 and Tab.
    void focusedKey(const TesselKeyEvent& key);
    void startCapture();
    void bindPending();
    void removeSelected();
    // Rows of the selected command's list, "(new shortcut)" included.
    uint32_t slotCount() const;
    void clampSlot();
    // Clicks in the shortcut list area select a slot.
    void clickList(int32_t y);
    // The first slot the list shows: the selected one stays in view.
    uint32_t firstListRow() const { return slot_ >= kListRows ? slot_ + 1 - kListRows : 0; }
    bool chooseSchemeFile(bool save, std::string& path);

    // Focus on the tree, the tree filled from the scheme.
    void opened() override;
    void compose(CDrawContext& face) override;
    void drawTexts(CDrawContext& face);
    void drawList(CDrawContext& face);
    void drawPanel(CDrawContext& face);

    TesselTreeview tree_;
    std::array<TesselButton, 3> buttons_;
    CBitmap* panel_;
    // Loaded with the page; the skin gives it no place to be drawn.
    CBitmap* spare_;
    int32_t focus_ = kFocusTree;
    uint32_t slot_ = 0;
    TesselKeyEvent pending_;
    int32_t countdown_ = 0;
};
