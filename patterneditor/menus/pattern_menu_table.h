#pragma once
// The pattern editor's menu table: every command its popup menus offer, in
// the order they show, with the context whose scheme entry gives the label
// and shortcut. Rows with id 0 open a submenu holding the deeper rows after
// them; -1 is a separator. The main menu takes the rows up to the side
// menu's, the side menu the two from InsertInSong, the header menu the two from
// id 294 (empty unless a scheme defines them).

#include "shell/command_ids.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TesselCommand;

namespace pattern_menu {

constexpr int32_t kSeparator = -1;
constexpr int32_t kSubmenu = 0;
constexpr int32_t kSideMenuFirst = cmd::pattern_editor::kInsertInSong;
// Ids of no built-in command, for schemes that define them.
constexpr int32_t kHeaderMenuFirst = 294;

struct Row {
    int32_t id;
    uint8_t depth;         // 0 the menu itself, 1 a submenu, 2 a submenu's submenu
    const char* context;   // a command's context; a submenu's title
};

// All 130 rows.
std::span<const Row> table();
// The rows of one menu: the main menu, or the pair from a first id.
std::span<const Row> mainRows();
std::span<const Row> rowsFrom(int32_t firstId, size_t count);

// A menu as it shows: entry texts ("label\tshortcut", "-" a separator, a
// submenu's title) with the command each one runs (0 for separators and
// submenus), and the submenus in the order of their entries.
struct Entry {
    std::string text;
    int32_t id = 0;
    std::vector<Entry> submenu;   // not empty: the entry opens it
    bool isSubmenu = false;
};

// Builds the entries of these rows from a scheme: commands the scheme does
// not define are left out, separators stay; the "&Volume" submenu is titled
// for the volume column's mode (0 volume, 1 panning, 2 depth).
std::vector<Entry> buildEntries(std::span<const Row> rows, const TesselCommand& scheme, int volumeMode);

} // namespace pattern_menu
