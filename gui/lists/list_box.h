#pragma once
// The scrolling list of one-line entries that the sample and instrument
// pages and the file browser show: per 8-pixel row an icon, a name and a
// detail column, with a scroll bar on the right edge. Keys move the
// selection or find an entry by its first letter; the mouse selects a row or
// drags the bar. Rows are composed in an offscreen of the list's own, and
// only the rows whose look changed are redrawn.

#include "gui/controls/scrollbar.h"
#include "gui/controls/tessel_control.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TesselListItem {
    // Up to 32 characters are shown.
    std::string name;
    // Index into the icon strip.
    uint8_t icon = 0;
    // kGreyEntry selects the grey font, anything else the normal one.
    uint32_t colour = 0xFFFFFF;
    // A detail starting with '@' hides its first 5 characters.
    std::string detail;
    int32_t extra = 0;
};

class TesselListBox : public TesselControl {
public:
    static constexpr int32_t kClassId = 26;
    static constexpr int32_t kRowHeight = 8;
    static constexpr int32_t kScrollbarWidth = 10;
    static constexpr int32_t kPageRows = 10;
    static constexpr uint32_t kGreyEntry = 0x808080;

    explicit TesselListBox(const CRect& rect);
    ~TesselListBox() override;

    // End, Home, Up, Down, Page Up, Page Down move the selection; a character
    // finds the next entry starting with it. The selection.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // The bar first, else a pressed row becomes the selection.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    // The list's colour and its bar's.
    void setColour(uint32_t rgba) override;
    CRect* getRect() override { return &rect; }
    // Composes what changed and copies the list to the target at its rectangle.
    virtual void drawList(VSTGUI::CDrawContext* target, bool focused);

    // After the entries changed: the bar counts them, the selection and
    // the first row come back into range, and everything is redrawn.
    void layout();

    void addEntry(TesselListItem item) { entries.push_back(std::move(item)); }
    void clearEntries() { entries.clear(); }
    int32_t entryCount() const { return static_cast<int32_t>(entries.size()); }
    const TesselListItem& entry(int32_t index) const { return entries[static_cast<size_t>(index)]; }
    // The file box shows what a preview loaded in an entry's detail.
    void setEntryDetail(int32_t index, std::string detail)
    {
        entries[static_cast<size_t>(index)].detail = std::move(detail);
    }
    // The selected entry's name; empty for an empty list.
    std::string selectedText() const;

    int32_t getSelection() const { return selection; }
    // Kept in range and in view.
    void setSelection(int32_t index);
    int32_t getTop() const { return top; }
    // Shown instead of the entries while not empty ("Scanning folder...").
    void setMessage(const std::string& text);
    const std::string& getMessage() const { return message; }
    TesselScrollbar& getScrollbar() { return scrollbar; }

private:
    int32_t visibleRows() const { return rect.height() / kRowHeight; }
    // The selection into 0..count - 1 and the first row so that it shows.
    void keepSelectionInView();
    void drawRow(int32_t index, int32_t y, bool focused);

    std::vector<TesselListItem> entries;
    int32_t top = 0;
    CRect rect;
    int32_t selection = 0;
    int32_t drawnSelection = 0;
    VSTGUI::CBitmap* icons;
    std::string message;
    TesselScrollbar scrollbar;
};
