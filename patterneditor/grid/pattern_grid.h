#pragma once
// The pattern grid: one pattern as rows of fixed-width cell texts under
// per-channel header strips, with row highlights, a selection, a cursor,
// the drag outline and the cursor guide. The pattern editor page owns one
// (64 channels); the instrument key map another (one channel, through
// TesselTrackUI).
//
// GUI thread only. Drawing reads the song and the timing lists without the
// song lock and never creates a track, a row or a subrow.

#include "model/selection/clipboard.h"
#include "gui/draw_context.h"
#include "model/selection/selection.h"
#include "patterneditor/grid/cell_text.h"
#include "patterneditor/grid/font_metrics.h"
#include "patterneditor/grid/grid_bitmap.h"
#include "patterneditor/grid/grid_host.h"
#include "patterneditor/grid/grid_picture.h"
#include "patterneditor/overview/song_strips.h"
#include "platform/graphics/font.h"
#include "platform/graphics/image.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TesselAmplifyPrompt;
class TesselEngine;
class TesselModule;
class TesselPattern;
struct TesselPlaylistEntry;
struct TesselFontRecord;
struct TesselEffectTable;
struct TesselKeyEvent;
namespace platform {
class GlyphRun;
}
// One run of glyphs per grid colour (grid_colours.h).
using TesselGlyphRuns = std::array<platform::GlyphRun, 16>;

// The view and cursor record. The info panel keeps a copy of it to tell
// when to redraw.
struct TesselPatternView {
    int32_t firstChannel = 0;
    int32_t firstRow = 0;   // negative in a centralised view near the top
    int16_t cursorChannel = 0;
    int16_t cursorColumn = 0;   // 0..8
    int16_t cursorRow = 0;
    int16_t cursorSubrow = 0;
    TesselSubrow lastEntered;
    uint8_t copyInstrument = 0;
    uint8_t copyVolume = 0;   // with panning and depth
    uint8_t copyLetter = 0;
    uint8_t copyParameter = 0;
    int32_t cursorIncrement = 1;   // 0 = next channel instead
    uint8_t centralised = 0;
    uint8_t volumeMode = kShowVolume;
    int32_t visibleChannels = 1;
    int32_t visibleRows = 1;
    int32_t channelWidth = 0;
    int32_t rowHeight = 0;
    int32_t characterWidth = 0;
    int32_t majorStep = 16;
    int32_t minorStep = 4;
    uint8_t instrumentLabels = 1;
    uint8_t zoomed = 0;   // every subrow a line of its own

    bool sameView(const TesselPatternView& other) const;
};

// One drawn line of the grid: which row and subrow it shows, and its y
// from the grid's top.
struct TesselGridLine {
    int32_t row = 0;
    int32_t subrow = 0;
    int32_t y = 0;
};

// Modifier bits of the drag outline: Alt fills it with a hatch (the second
// one with Shift too), Shift alone draws only its top line.
enum TesselDragKeys : uint8_t { kDragShift = 1, kDragAlt = 2 };

class TesselPatternUI {
public:
    static constexpr int kRowsCap = 256;
    static constexpr int kHeaderHeight = 14;
    // COLORREF of the drag outline's pen and hatches.
    static constexpr uint32_t kDragPen = 0x996633;
    static constexpr int32_t kDragPenWidth = 4;
    // The channel colour setting that means none, and the colour it draws in.
    static constexpr uint32_t kNoChannelColour = 0xFFFFFF;
    static constexpr uint32_t kDefaultChannelColour = 0x9C948C;

    // channels: 64 for a pattern, 1 for a single track. The engine may be
    // null: then no row has a timing entry and the song's speed counts.
    TesselPatternUI(TesselModule& song, TesselEngine* engine, int channels = 64);
    virtual ~TesselPatternUI();
    TesselPatternUI(const TesselPatternUI&) = delete;
    TesselPatternUI& operator=(const TesselPatternUI&) = delete;

    // --- pattern and host
    // Attaches both, keeps the area, rebuilds the row highlights and marks
    // every cell dirty.
    void setPattern(TesselPattern* pattern, TesselGridHost* host, int x, int y, int width, int height);
    TesselPattern* pattern() const { return pattern_; }
    TesselModule& song() const { return song_; }
    TesselEngine* engine() const { return engine_; }
    int channelsShown() const { return channels_; }
    bool isSingleTrack() const { return channels_ == 1; }
    int patternLength() const;

    // --- cell text
    void formatCell(char* text, const TesselSubrowData& cell) const;
    // Refreshes the cached texts of the visible rows that are dirty.
    void formatCells();
    // The cached text of a row's own subrow (formatted when dirty).
    const TesselCellText& cellText(int channel, int row);
    // Cells to format and draw again: one channel's (-1: every channel's).
    void markChannelDirty(int channel);
    void markCellDirty(int channel, int row);
    void markAllDirty() { markChannelDirty(-1); }

    // --- cursor and scrolling
    // Clamps the cursor and scrolls to it; returns the first visible row.
    virtual int ensureCursorVisible();
    // Column index over all channels (-1 keeps the column), row (-1 keeps it).
    void moveCursorTo(int columnIndex, int row);
    void moveCursorBy(int columns, int rows);
    // After an entry: the cursor increment's rows down, or the next channel.
    void stepCursor();
    // The wheel: the view moves up by the distance, the cursor stays inside.
    void scrollRows(int x, int y, float distance);
    // Visible rows less those a side panel covers.
    int visibleRowsForCursor() const;
    // The cell under the cursor; the shared empty cell when it does not exist.
    const TesselSubrow& cellAtCursor() const;
    // The cell at a position, or the shared empty one; nothing is created.
    const TesselSubrow& cellOrBlank(int channel, int row, int subrow) const;
    // The current pattern's timing entry of the row, or null.
    const TesselPlaylistEntry* findTimingEntry(int row) const;
    // Ticks of a row: its timing entry's speed, else the song's speed.
    int speedAtRow(int row) const;
    // Subrows the cursor walks through on a row: 1 without a timing entry.
    int cursorSubrows(int row) const;
    // Rebuilds the selection marks when the region changed; false when not.
    bool updateSelectionMarks();
    bool isMouseSelecting() const { return selection.marking == 1 || selection.dragging != 0; }
    // Per-cell selection mark: 0, or kMarkAllFields.
    uint8_t selectionMark(int channel, int row) const;

    // --- layout
    void layoutGrid(int left, int top, int right, int bottom);
    // After the row numbers: x = 3 characters + 5, y = 27 maximised, else 38.
    platform::Point gridOrigin() const;
    // The origin with the editor window's client size (height less 21).
    platform::Rect gridArea() const;
    // x of a column of a channel inside the grid.
    int columnX(int channel, int column, bool furtherSubrow = false) const;
    // y of a (row, subrow) from the drawn lines; with `next` the line after it.
    int rowY(int row, int subrow, bool next) const;
    const std::vector<TesselGridLine>& lines() const { return lines_; }
    // Rebuilds the highlight table when either step changed.
    void setHighlights(int majorStep, int minorStep);
    // 0 plain, 1 major, 2 minor; 0 outside 0..255.
    uint8_t highlightOf(int row) const;

    // --- font
    // Builds the grid font once from the pattern font description.
    void setFont(const TesselFontRecord* description);
    // Takes a font directly (the key map's); the grid is laid out again.
    void setGridFont(std::shared_ptr<const platform::Font> font);
    const platform::Font* gridFont() const { return font_.get(); }
    const TesselFontMetrics& metrics() const { return metrics_; }

    // --- drawing
    // One channel's header strips (-1: every channel's).
    void renderChannelHeader(int channel);
    // The strip of every channel's header (channel c from x c x channel
    // width), normal or muted; null until the first render.
    const CBitmap2* headerStrip(bool muted = false) const { return headers_[muted ? 1 : 0].get(); }
    // The visible channels' header strips, muted ones in their muted look.
    void drawChannelHeaders(CDrawContext* context, int x, int y);
    // The visible lines of cells with their highlights, marks and cursor.
    void drawCells(CDrawContext* context, int x, int y);
    // Slots painted by the last drawCells (the rest were kept).
    int paintedSlots() const { return painted_; }
    // The given line of cells in the playing row's colours, underlined.
    void drawPlayingLine(CDrawContext* context, int x, int y, int line);
    // Volume and panning in the volume column; the status line says which.
    void toggleVolumeColumn();
    // Where a dragged region would land, from the cursor.
    void drawDragOutline(CDrawContext* context, int x, int y, int rightEdge, uint8_t keys);
    // The box describing the cursor's cell, at fade step 0..30.
    void drawCursorGuide(CDrawContext* context, int x, int y, const TesselSubrow& cell, int fadeStep);
    // The effect descriptions the cursor guide shows; none: codes only.
    void setEffectTable(const TesselEffectTable* table) { effects_ = table; }
    // Song rows around the pattern for a centralised view (the order list
    // position; -1 or another pattern there: blank strips).
    void fillSongStrips(int orderPosition);
    bool isDoubleClick();
    // Drops the offscreen images; the next draw makes them again.
    void releaseDrawingObjects();

    // --- editing (every song write holds the song lock, 1000 ms; a time-out
    // skips the edit and its checkpoint silently)
    // The cell of the current pattern at a position, created when missing.
    TesselSubrow& cellAt(int channel, int row, int subrow);
    TesselGridPosition cursorPosition() const;
    // A command of the context "PatternEditor.Pattern" on the cell under the
    // cursor; false when the id is none of them.
    bool executeEdit(int32_t id);
    // Note and digit entry, the cursor keys and keyboard marking.
    void enterNote(const TesselKeyEvent& key);
    // The mouse over the grid (page coordinates): a press, a move with the
    // left button held, or the release. Returns the left-button bit.
    int32_t dragSelection(int x, int y, int32_t buttons, bool freshPress);
    // The drag's modifier keys from the mouse event's bits.
    static uint8_t dragKeys(int32_t buttons);
    bool isDraggingBlock() const { return selection.dragging != 0; }
    // The amplify prompt: open while it asks for a percentage.
    TesselAmplifyPrompt* amplifyPrompt() const { return prompt_.get(); }
    bool amplifyPromptOpen() const;
    void closeAmplifyPrompt();
    // The percentage of the last amplification.
    int32_t lastPercent = 100;
    // executeEdit's repeat counter: how many times in a row the last id ran
    // (0 the first time); it lives for the process.
    static int32_t repeatCount();
    static void resetRepeatCounter();

    TesselPatternView view;
    TesselSelection selection;
    uint8_t markingState = 0;   // 0 none, 1 mouse, 2 keyboard
    TesselGridPosition dragAnchor;
    TesselClipboard clipboard;

    // A selected cell's mark: bit 0, and bits 1-4 for its fields (note and
    // instrument, volume column, effect letter, parameter), which the key
    // map's track draws field by field.
    static constexpr uint8_t kMarkAllFields = 0x1F;

protected:
    // Which row and subrow each visible line shows (every subrow when zoomed).
    void rebuildLines();
    // The drawn state of one slot of the picture.
    TesselGridSlot slotFor(int line, int channel);
    void drawSlots(platform::Canvas& canvas, int visibleChannels);
    TesselGlyphRuns& glyphRuns();
    void ensureHeaderStrips();
    void layoutAgain();
    TesselCellFormat cellFormat() const;
    const TesselSubrow& lineCell(const TesselGridLine& line, int channel) const;
    void clampFirstChannel();

    // Editing pieces. An edit under the song lock with its checkpoint
    // (message null: a plain edit); false when the lock stayed busy.
    template <class Edit>
    bool checkpointed(const char* message, Edit edit);
    // A region command's checkpoint and operation, only with a selection.
    template <class Edit>
    bool regionEdit(const char* message, Edit edit);
    bool pasteCommand(int32_t id, int32_t count);
    bool extendForClipboard(const char* message);
    bool selectionCommand(int32_t id, int32_t count);
    void transposeCell(TesselSubrow& cell, int amount);
    bool enterInColumn(const TesselKeyEvent& key, int32_t noteId, TesselSubrow& cell);
    bool enterNoteColumn(int32_t noteId, TesselSubrow& cell);
    bool enterDigits(const TesselKeyEvent& key, int32_t noteId, TesselSubrow& cell);
    bool enterInstrumentLabel(const TesselKeyEvent& key, TesselSubrow& cell);
    void repeatLastEntry(TesselSubrow& cell);
    // A keystroke changed one cell from `before`: the pattern as it was is
    // recorded first, unless this keystroke goes on a run of typing in the
    // same cell with no checkpoint since. The caller holds the song lock.
    void recordTyping(TesselSubrow& cell, const TesselSubrowData& before, const TesselGridPosition& at);
    bool moveByKey(const TesselKeyEvent& key);
    void rebuildTiming();
    // The cell under a page point: false outside the drawn lines. A point
    // left of the cells gives channel -1 (the row-number column).
    bool cellUnder(int x, int y, TesselGridPosition& cell) const;
    void scrollWhileDragging(int x, int y);
    void dropBlock(uint8_t keys, bool copy);
    void previewCell(const TesselSubrow& cell);

    TesselModule& song_;
    TesselEngine* engine_;
    TesselPattern* pattern_ = nullptr;
    TesselGridHost* host_ = nullptr;
    TesselGridHost defaultHost_;
    // The cell typed into last, by which keystroke, where that keystroke left
    // the cursor and the checkpoint count just after its checkpoint: the
    // next keystroke in that cell, from there, joins it.
    struct TypingRun {
        int32_t pattern = -1;
        TesselGridPosition at;
        uint32_t keystroke = 0;
        uint32_t checkpoints = 0;
        TesselGridPosition cursorAfter;
    } typingRun_;
    uint32_t keystrokes_ = 0;   // keys enterNote took
    const TesselEffectTable* effects_ = nullptr;
    int channels_;
    platform::Rect area_;   // left, top, right, bottom as laid out

    std::shared_ptr<const platform::Font> font_;
    TesselFontMetrics metrics_;

    std::vector<TesselCellText> texts_;     // channel * 256 + row
    std::vector<uint8_t> textDirty_;
    std::vector<uint8_t> marks_;            // channel * 256 + row
    TesselSelection marked_;                // the region the marks were built from
    std::array<uint8_t, kRowsCap> highlights_{};
    int32_t highlightMajor_ = -1;
    int32_t highlightMinor_ = -1;
    std::vector<TesselGridLine> lines_;

    TesselBitmapHolder headers_[2];   // normal, muted
    TesselGridPicture picture_;
    TesselSongStrips songStrips_;
    uint32_t lastClick_ = 0;
    int painted_ = 0;

    std::unique_ptr<TesselAmplifyPrompt> prompt_;
    std::unique_ptr<TesselGlyphRuns> runs_;
    // The mouse: the cell of the left press, whether it is still held, and
    // whether whole rows are being marked from the row-number column.
    TesselGridPosition pressCell_;
    bool pressed_ = false;
    bool markingRows_ = false;
};
