#pragma once
// The order list page (page 7, "OrderList"): the song's order list, which
// strings patterns into a song, beside the settings of the 64 channels
// (name, colour, volume, panning). In pitch mode the column shows and edits
// the 120 pitch entries. The page wants no keys of its own, so the global
// keys work from it; "OrderList" has no commands, so its keys resolve in
// the root context. Every write takes the song lock (1000 ms; nothing on
// time-out). GUI thread only.

#include "editor/core/editor_page_services.h"
#include "editor/core/page_kinds.h"
#include "gui/controls/scrollbar.h"
#include "gui/controls/slider.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class TesselFont;
class TesselModule;
class TesselOrderEntry;
class TesselOrderList;

// Entry `position` of the table the order list works on: the 120 pitch
// entries in pitch mode, else the 256 order entries; clamped into it.
TesselOrderEntry& activeOrderEntry(TesselOrderList& orders, int32_t position);

class TesselOrderListUI : public TesselOrderListPage, protected TesselEditorPageOwner {
public:
    static constexpr int32_t kClassId = 11;
    // Focus areas, in Tab order.
    enum Area : int32_t { kOrderArea = 0, kNameArea, kColourArea, kVolumeArea, kPanningArea, kAreas };
    static constexpr int32_t kVisibleRows = 46;
    static constexpr int32_t kLastFirstChannel = 64 - kVisibleRows;
    // Page pixels: rows at 47 + 8 r; the order column's numbers and cells;
    // the channel list's number, name, swatch and sliders.
    static constexpr int32_t kFirstRowY = 47;
    static constexpr int32_t kRowHeight = 8;
    static constexpr int32_t kPositionX = 7;
    static constexpr int32_t kCellX = 26;
    static constexpr int32_t kChannelNumberX = 128;
    static constexpr int32_t kNameX = 142;
    static constexpr int32_t kSwatchX = 227;
    static constexpr int32_t kSwatchWidth = 12;
    static constexpr int32_t kSwatchHeight = 7;
    static constexpr int32_t kVolumeLeft = 244;
    static constexpr int32_t kVolumeRight = 452;
    static constexpr int32_t kPanningLeft = 460;
    static constexpr int32_t kPanningRight = 668;
    static constexpr CRect kOrderBar{108, 33, 118, 416};
    static constexpr CRect kChannelBar{676, 33, 686, 416};

    TesselOrderListUI(TesselEditorPageServices* editor, const CRect& size);
    ~TesselOrderListUI() override;

    bool wantsKeys() override { return false; }
    // The key road of the page; always 0.
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    // Rebuilt only when dirty; the last picture is copied otherwise.
    void draw(CDrawContext* context) override;
    // The value at the order cursor in the active table; -1 for any marker.
    int32_t getCurrentPattern() override;
    int32_t getCurrentOrder() override { return orderCursor_; }

    // The pattern a typed cell text of `length` characters stands for, with
    // the typing position `position`: the label that matches best (4 for
    // the typed place, 1 for each other), unless the text is a pattern
    // number printed "%.3d" and no label matched fully.
    static int32_t findPatternByLabel(const TesselModule& song, const char* text, int32_t length, int32_t position);
    // The system's colour chooser on the editor window, from the channel's
    // colour; the chosen colour, or the old one when cancelled.
    uint32_t chooseChannelColour(int32_t channel);
    // Digit 0..2, the order cursor inside the active table, the first
    // visible row following it.
    void clampCursor();

    int32_t focusArea() const { return area_; }
    int32_t orderCursor() const { return orderCursor_; }
    int32_t firstOrder() const { return firstOrder_; }
    int32_t digit() const { return digit_; }
    int32_t channelCursor() const { return channelCursor_; }
    int32_t firstChannel() const { return firstChannel_; }
    int32_t nameCursor() const { return nameCursor_; }

private:
    // The active table: 120 pitch entries in pitch mode, else 256 entries.
    bool pitchMode() const;
    int32_t rowCount() const;
    const TesselOrderEntry& entryAt(int32_t position) const;
    // Runs the edit of the order list under the song lock, then updates
    // the order length; the pattern editor then shows its pattern again.
    // False (nothing changed) when the lock stayed busy.
    bool editOrders(const std::function<void(TesselOrderList&)>& edit);
    void orderListChanged();

    // The key road's two halves and the order column's commands.
    void orderKey(const TesselKeyEvent& key);
    void channelKey(const TesselKeyEvent& key);
    void nameKey(const TesselKeyEvent& key);
    void sliderKey(const TesselKeyEvent& key);
    void endKey();
    void homeKey();
    void typeCharacter(uint8_t character);
    void insertNextPattern(bool samePattern);
    void askToRenumber();
    void copyToEmptyPattern();
    void editPattern();
    bool setValueAtCursor(int32_t value);
    void moveChannelCursor(int32_t by);
    void scrollChannels();

    // The three-character text of a cell: "000" for a marker or an empty
    // entry, else the pattern's label (bounded) or number.
    void cellEditText(int32_t position, char* text) const;
    // What the cell shows: "+++", "===", "---", the label or the number.
    void cellShownText(int32_t position, char* text) const;

    // Drawing.
    void drawOrderColumn(CDrawContext* into);
    void drawChannelList(CDrawContext* into);
    void drawSwatch(CDrawContext* into, int32_t channel, int32_t y);
    void drawText(CDrawContext* into, const char* text, int32_t x, int32_t y, TesselFont* font);
    TesselSlider& rowSlider(int32_t row, bool panning);

    // Mouse.
    void clickOrderColumn(int32_t x, int32_t y);
    void clickChannelList(int32_t x, int32_t y, int32_t buttons);
    void dragSlider(int32_t x, int32_t y, int32_t buttons);

    int32_t area_ = kOrderArea;
    int32_t orderCursor_ = 0;
    int32_t firstOrder_ = 0;
    int32_t digit_ = 0;
    int32_t channelCursor_ = 0;
    int32_t firstChannel_ = 0;
    int32_t nameCursor_ = 0;
    std::array<std::unique_ptr<TesselSlider>, kVisibleRows> volumeSliders_;
    std::array<std::unique_ptr<TesselSlider>, kVisibleRows> panningSliders_;
    TesselScrollbar orderBar_;
    TesselScrollbar channelBar_;
};
