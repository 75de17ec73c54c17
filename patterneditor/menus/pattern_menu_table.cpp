#include "patterneditor/menus/pattern_menu_table.h"

#include "patterneditor/grid/cell_text.h"
#include "shell/commands.h"
#include "shell/command_ids.h"

#include <algorithm>
#include <cstring>

namespace pattern_menu {

namespace {

using namespace cmd::root;
using namespace cmd::pattern_editor;
using namespace cmd::pattern;

constexpr const char* R = cmd::root::kContext;
constexpr const char* P = cmd::pattern_editor::kContext;
constexpr const char* G = cmd::pattern::kContext;
constexpr int32_t S = kSeparator;

constexpr Row kRows[] = {
    {kHelpContext, 0, R}, {S, 0, R}, {kCut, 0, R}, {kCopy, 0, R},
    {0, 0, "&Paste"}, {kPaste, 1, R}, {kMix, 1, G}, {kOverwite, 1, G}, {kOverwiteHighlights, 1, G},
    {kClear, 0, G}, {S, 0, R},
    {0, 0, "&Note(s)"},
    {0, 1, "&Select"}, {kSelectAll, 2, G}, {kSelectNone, 2, G}, {kSelectChannel, 2, G}, {kSelectBlock, 2, G},
    {S, 2, R}, {kSelectionStart, 2, G}, {kSelectionEnd, 2, G},
    {0, 1, "&Arrange"}, {kHalveSelection, 2, G}, {kDoubleSelection, 2, G}, {S, 2, R}, {kSelectionSwap, 2, G},
    {0, 1, "&Pitch"}, {kTransposeUp, 2, G}, {kTransposeDown, 2, G}, {S, 2, R}, {kTransposeUpOctave, 2, G},
    {kTransposeDownOctave, 2, G},
    {0, 1, "&Volume"}, {kSetVolumePan, 2, G}, {kInterpolateVolumePan, 2, G}, {kClearVolumePan, 2, G},
    {kClearOrphanedVolumePan, 2, G}, {S, 2, R}, {kAmplifyVolume, 2, G}, {kRepeatAmplifyVolume, 2, G},
    {0, 1, "&Effect"}, {kInterpolateEffects, 2, G}, {kClearEffects, 2, G},
    {S, 1, R}, {kCycleEditMode, 1, G}, {kEditAnnotation, 1, G}, {S, 1, R}, {kPickUpNote, 1, G},
    {0, 0, "&Instrument"}, {kInstrumentMenu, 1, P}, {S, 1, R}, {kInstrumentUp, 1, P}, {kInstrumentDown, 1, P},
    {S, 1, R}, {kPickUpInstrumentNote, 1, P}, {kGoToInstrument, 1, G},
    {S, 1, R}, {kSetInstrument, 1, G},
    {0, 0, "&Pattern"}, {kPatternOverview, 1, P}, {S, 1, R}, {kPatternOptions, 1, P}, {kPatternOptionsApply, 1, P},
    {S, 1, R}, {kNextPattern, 1, P}, {kPreviousPattern, 1, P},
    {kNextOrder, 1, P}, {kPreviousOrder, 1, P}, {S, 1, R}, {kNextEmptyPattern, 1, P},
    {0, 0, "Channel/&Track"}, {kMute, 1, P}, {kSolo, 1, P}, {S, 1, R},
    {kMuteChannel1, 1, P}, {kMuteChannel2, 1, P}, {kMuteChannel3, 1, P}, {kMuteChannel4, 1, P},
    {kMuteChannel5, 1, P}, {kMuteChannel6, 1, P}, {kMuteChannel7, 1, P}, {kMuteChannel8, 1, P},
    {S, 0, R},
    {0, 0, "&File"}, {kNewModule, 1, R}, {kLoadModule, 1, R}, {S, 1, R}, {kSaveModule, 1, R}, {kSaveModuleAs, 1, R},
    {0, 0, "&Undo"}, {kUndo, 1, P}, {S, 1, R}, {kUndoCheckpoint, 1, P},
    {0, 0, "&Options"}, {kAlternateZoomMode, 1, P}, {S, 1, R}, {kBaseOctaveMenu, 1, P}, {kBaseOctaveUp, 1, R},
    {kBaseOctaveDown, 1, R}, {S, 1, R}, {kCentraliseCursor, 1, P},
    {kCursorGuide, 1, P}, {S, 1, R}, {kMidiInMode, 1, P}, {kFollowPattern, 1, P},
    {0, 0, "P&layback"}, {kPlayFromCursor, 1, R}, {S, 1, R}, {kPlaySong, 1, R}, {kPlayPattern, 1, R},
    {kPlayPatternFromCursor, 1, R}, {S, 1, R}, {kStop, 1, R},
    {kReset, 1, R}, {S, 1, R}, {kRebuildSync, 1, R},
    {S, 0, R},
    {0, 0, "&Go to"}, {kPatternEditor, 1, R}, {S, 1, R}, {kSampleList, 1, R}, {kInstrumentList, 1, R}, {S, 1, R},
    {kInfoPage, 1, R}, {S, 1, R},
    {kOrderList, 1, R}, {kPreferences, 1, R},
    // The side menu's and the header menu's.
    {kInsertInSong, 0, P}, {kDeleteFromSong, 0, P}, {kHeaderMenuFirst, 0, G}, {kHeaderMenuFirst + 1, 0, G},
};
static_assert(std::size(kRows) == 130);

const char* volumeTitle(const char* title, int volumeMode)
{
    if (std::strcmp(title, "&Volume") != 0)
        return title;
    return volumeMode == kShowPanning ? "P&an" : volumeMode == kShowDepth ? "&Depth" : title;
}

// The rows at `depth` from `at` on, up to the first shallower row.
std::vector<Entry> build(std::span<const Row> rows, size_t& at, int depth, const TesselCommand& scheme,
                         int volumeMode)
{
    std::vector<Entry> entries;
    while (at < rows.size() && rows[at].depth >= depth) {
        const Row& row = rows[at++];
        Entry entry;
        if (row.id == kSeparator) {
            entry.text = "-";
        } else if (row.id == kSubmenu) {
            entry.text = volumeTitle(row.context, volumeMode);
            entry.isSubmenu = true;
            entry.submenu = build(rows, at, depth + 1, scheme, volumeMode);
        } else {
            const TesselCommand& command = scheme.findByIdInContext(row.context, row.id);
            if (command.id == 0)
                continue;
            entry.text = command.labelWithShortcut();
            entry.id = row.id;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace

std::span<const Row> table()
{
    return kRows;
}

std::span<const Row> mainRows()
{
    const auto side = std::find_if(std::begin(kRows), std::end(kRows),
                                   [](const Row& row) { return row.id == kSideMenuFirst; });
    return {std::begin(kRows), side};
}

std::span<const Row> rowsFrom(int32_t firstId, size_t count)
{
    const auto first =
        std::find_if(std::begin(kRows), std::end(kRows), [firstId](const Row& row) { return row.id == firstId; });
    const size_t left = static_cast<size_t>(std::end(kRows) - first);
    return {first, std::min(count, left)};
}

std::vector<Entry> buildEntries(std::span<const Row> rows, const TesselCommand& scheme, int volumeMode)
{
    size_t at = 0;
    return build(rows, at, 0, scheme, volumeMode);
}

} // namespace pattern_menu
