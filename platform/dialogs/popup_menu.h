#pragma once
// What a popup menu shows: rows with Windows-menu flags and command ids, and
// submenus. Texts are Windows-1252; '&' marks a mnemonic ("&&" is '&') and a
// tab starts the right-aligned shortcut column.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct PopupMenu {
    enum RowFlag : uint32_t {
        kSeparator = 1,
        kGrayed = 2,        // drawn grey, not choosable
        kDisabled = 4,      // drawn plain, not choosable
        kChecked = 8,
        kColumnBreak = 16,  // starts a new column
        kOwnerDraw = 32,    // measured and drawn by the owner window's handler
    };

    struct Row {
        std::string text;
        int32_t id = 0;                       // the result when chosen
        uint32_t flags = 0;
        uintptr_t itemData = 0;               // handed back with owner drawing
        std::shared_ptr<PopupMenu> submenu;   // a row that opens a submenu
    };

    std::vector<Row> rows;
};

} // namespace platform
