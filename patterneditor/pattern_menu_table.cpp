#include "patterneditor/pattern_menu_table.h"

#include "patterneditor/cell_text.h"
#include "shell/commands.h"

#include <algorithm>
#include <cstring>

namespace pattern_menu {

namespace {

constexpr const char* R = "";
constexpr const char* P = "PatternEditor";
constexpr const char* G = "PatternEditor.Pattern";
constexpr int32_t S = kSeparator;

constexpr Row kRows[] = {
    {15, 0, R}, {S, 0, R}, {18, 0, R}, {17, 0, R},
    {0, 0, "&Paste"}, {19, 1, R}, {22, 1, G}, {20, 1, G}, {21, 1, G},
    {23, 0, G}, {S, 0, R},
    {0, 0, "&Note(s)"},
    {0, 1, "&Select"}, {123, 2, G}, {62, 2, G}, {58, 2, G}, {61, 2, G}, {S, 2, R}, {59, 2, G}, {60, 2, G},
    {0, 1, "&Arrange"}, {76, 2, G}, {75, 2, G}, {S, 2, R}, {63, 2, G},
    {0, 1, "&Pitch"}, {54, 2, G}, {55, 2, G}, {S, 2, R}, {56, 2, G}, {57, 2, G},
    {0, 1, "&Volume"}, {67, 2, G}, {68, 2, G}, {69, 2, G}, {70, 2, G}, {S, 2, R}, {71, 2, G}, {72, 2, G},
    {0, 1, "&Effect"}, {73, 2, G}, {74, 2, G},
    {S, 1, R}, {77, 1, G}, {281, 1, G}, {S, 1, R}, {64, 1, G},
    {0, 0, "&Instrument"}, {51, 1, P}, {S, 1, R}, {40, 1, P}, {41, 1, P}, {S, 1, R}, {42, 1, P}, {66, 1, G},
    {S, 1, R}, {65, 1, G},
    {0, 0, "&Pattern"}, {39, 1, P}, {S, 1, R}, {33, 1, P}, {34, 1, P}, {S, 1, R}, {47, 1, P}, {48, 1, P},
    {49, 1, P}, {50, 1, P}, {S, 1, R}, {46, 1, P},
    {0, 0, "Channel/&Track"}, {35, 1, P}, {36, 1, P}, {S, 1, R}, {124, 1, P}, {125, 1, P}, {126, 1, P},
    {127, 1, P}, {128, 1, P}, {129, 1, P}, {130, 1, P}, {131, 1, P},
    {S, 0, R},
    {0, 0, "&File"}, {2, 1, R}, {3, 1, R}, {S, 1, R}, {4, 1, R}, {5, 1, R},
    {0, 0, "&Undo"}, {37, 1, P}, {S, 1, R}, {38, 1, P},
    {0, 0, "&Options"}, {121, 1, P}, {S, 1, R}, {52, 1, P}, {14, 1, R}, {13, 1, R}, {S, 1, R}, {43, 1, P},
    {45, 1, P}, {S, 1, R}, {53, 1, P}, {44, 1, P},
    {0, 0, "P&layback"}, {8, 1, R}, {S, 1, R}, {6, 1, R}, {7, 1, R}, {11, 1, R}, {S, 1, R}, {9, 1, R},
    {10, 1, R}, {S, 1, R}, {12, 1, R},
    {S, 0, R},
    {0, 0, "&Go to"}, {25, 1, R}, {S, 1, R}, {26, 1, R}, {27, 1, R}, {S, 1, R}, {28, 1, R}, {S, 1, R},
    {29, 1, R}, {30, 1, R},
    // The side menu's and the header menu's.
    {291, 0, P}, {292, 0, P}, {294, 0, G}, {295, 0, G},
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
