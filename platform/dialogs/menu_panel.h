#pragma once
// One open level of a popup menu, laid out and drawn as Windows' classic
// menus look: a check column, the text with its mnemonic underlined, a
// right-aligned shortcut column after a tab, submenu arrows, etched
// separators and column breaks, grey rows embossed; owner-drawn rows are
// measured and drawn by the menu's owner. Also the keyboard's moves through
// the rows and where menus go on the screen. Backends only show it.

#include "platform/dialogs/popup_menu.h"
#include "platform/graphics/image.h"
#include "platform/window.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Font;

// A row's text split at its tab; '&' marks the next character as the
// mnemonic and "&&" is a plain '&'.
struct MenuText {
    std::string label;
    std::string shortcut;
    int32_t mnemonicAt = -1;   // index in label
    uint8_t mnemonic = 0;      // lower case
};
MenuText parseMenuText(std::string_view text);

class MenuPanel {
public:
    // Asks the owner to measure (draw false) or draw an owner-drawn row.
    using OwnerCall = std::function<void(MenuItemMessage& item, bool draw)>;

    static constexpr int32_t kBorder = 3;
    static constexpr int32_t kTextRowHeight = 18;
    static constexpr int32_t kSeparatorHeight = 9;

    MenuPanel(const PopupMenu& menu, OwnerCall owner);

    const PopupMenu& menu() const { return menu_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t rowCount() const { return static_cast<int32_t>(rows_.size()); }
    Rect rowRect(int32_t row) const;
    // The row under a point of the panel; -1 for none (borders, gaps).
    int32_t rowAt(Point point) const;

    bool isSeparator(int32_t row) const;
    bool opensSubmenu(int32_t row) const;
    // Chosen with a click or Return: not a separator, grey, disabled or submenu.
    bool choosable(int32_t row) const;

    // Draws the whole panel into an image of its size.
    void draw(Image& image, int32_t highlighted) const;

    // The next row from `from` going down (+1) or up (-1), wrapping and
    // passing separators; from -1 starts at an end. -1 when there is none.
    int32_t step(int32_t from, int direction) const;
    // The nearest row at about the same height in the next (+1) or previous
    // (-1) column; -1 when there is no such column.
    int32_t acrossColumn(int32_t from, int direction) const;
    // Rows whose mnemonic is the character (either case).
    std::vector<int32_t> withMnemonic(uint8_t character) const;

private:
    struct Row {
        Rect rect;
        MenuText text;
        int32_t column = 0;
    };
    void drawText(Image& image, const Row& row, const PopupMenu::Row& source, Point shift, Colour ink) const;

    const PopupMenu& menu_;
    OwnerCall owner_;
    std::shared_ptr<const Font> font_;
    std::vector<Row> rows_;
    std::vector<int32_t> columnLefts_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// Where a menu of a size goes when asked for at a screen point: there, or
// moved back onto the screen (above the point when it does not fit below).
Rect placeMenu(Point at, int32_t width, int32_t height, const Rect& screen);
// Where a submenu goes: beside its parent at the row that opens it, on the
// left when the right has no room.
Rect placeSubmenu(const Rect& parent, const Rect& rowOnScreen, int32_t width, int32_t height, const Rect& screen);

} // namespace platform
