#pragma once
// The undo panel over the pattern editor: ten lines of checkpoint labels of
// which the user picks one to restore, and the store behind them.

#include "gui/controls/control_skin.h"
#include "pagekit/tessel_ui.h"
#include "platform/key_event.h"
#include "patterneditor/undo/undo_history.h"
#include "resources/resource_ids.h"

#include <cstdint>
#include <string>

class TesselEditorServices;

class TesselUndoUI : public TesselUI {
public:
    static constexpr int kClassId = 21;
    static constexpr int kBackgroundBitmap = resources::kUndoPanel;
    // Line i is printed at (7, 30 + 8 i) from the panel's top-left corner.
    static constexpr int kTextLeft = 7;
    static constexpr int kTextTop = 30;
    static constexpr int kLineHeight = 8;
    // The selected line's colour pair: the controls' highlight font on their
    // highlight colour; the other lines in the normal font on the skin.
    static constexpr CColor kSelectedBackground = control_skin::kHighlight;


    // The panel takes its background's size, at (0, 0) until opened.
    explicit TesselUndoUI(TesselModule& song, TesselLocalClock clock = {},
                          TesselEditorServices* editor = nullptr);
    ~TesselUndoUI() override = default;

    // Background, the ten lines and the close box, in frame coordinates.
    void draw(CDrawContext* context) override;
    // The key's virtual key through onVirtualKey.
    int32_t onKeyEvent(const TesselKeyEvent& key) override;

    // The panel takes the keys while it is open.
    bool wantsKeys() override { return isShown(); }

    // The pattern editor records before each edit and restores on Enter.
    bool pushCheckpoint(const TesselPattern& pattern, const char* message = nullptr)
    {
        return history_.pushCheckpoint(pattern, message);
    }
    int restoreCheckpoint(int line) { return history_.restoreCheckpoint(line); }
    uint32_t checkpointCount() const { return history_.pushCount(); }
    // Every line empty; the selection back on line 0.
    void clearHistory()
    {
        history_.clear();
        selected_ = 0;
        setDirty();
    }
    const TesselUndoHistory& history() const { return history_; }

    // Shows the panel at (x, y), its background's size, with line 0 selected.
    void open(int x, int y);
    // 1 for Enter: the pattern editor then restores the selected line.
    int onVirtualKey(int virtualKey);

    int selectedLine() const { return selected_; }
    int left() const { return size.left; }
    int top() const { return size.top; }
    // Line 0..9 as printed: the label padded to 52 characters.
    std::string lineText(int line) const;

private:
    void placeAt(int x, int y);

    TesselUndoHistory history_;
    int32_t selected_ = 0;
};
