// The popup menu's layout, keyboard moves and placement.

#include "platform/dialogs/menu_panel.h"

#include "platform/graphics/font_catalog.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform {

namespace {

constexpr int32_t kCheckWidth = 20;
constexpr int32_t kArrowWidth = 20;
constexpr int32_t kShortcutGap = 16;
constexpr int32_t kColumnGap = 6;

uint8_t lower(uint8_t c)
{
    return static_cast<uint8_t>(std::tolower(c));
}

} // namespace

MenuText parseMenuText(std::string_view text)
{
    MenuText out;
    bool inShortcut = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\t' && !inShortcut) {
            inShortcut = true;
            continue;
        }
        if (c == '&') {
            if (i + 1 >= text.size())
                break;
            c = text[++i];
            if (c != '&' && !inShortcut && out.mnemonicAt < 0) {
                out.mnemonicAt = static_cast<int32_t>(out.label.size());
                out.mnemonic = lower(static_cast<uint8_t>(c));
            }
        }
        (inShortcut ? out.shortcut : out.label) += c;
    }
    return out;
}

MenuPanel::MenuPanel(const PopupMenu& menu, OwnerCall owner)
    : menu_(menu), owner_(std::move(owner)), font_(FontCatalog::process().open(FontRequest{"Arial", -12}))
{
    struct Size {
        int32_t label = 0, shortcut = 0, owner = 0, height = 0;
    };
    std::vector<Size> sizes(menu.rows.size());
    rows_.resize(menu.rows.size());
    int32_t columns = 1;
    for (size_t i = 0; i < menu.rows.size(); ++i) {
        const PopupMenu::Row& source = menu.rows[i];
        Row& row = rows_[i];
        Size& size = sizes[i];
        row.text = parseMenuText(source.text);
        if (i > 0 && (source.flags & PopupMenu::kColumnBreak))
            ++columns;
        row.column = columns - 1;
        if (source.flags & PopupMenu::kOwnerDraw) {
            MenuItemMessage item;
            item.itemData = source.itemData;
            item.id = source.id;
            item.state = (source.flags & PopupMenu::kChecked ? 1u : 0u) | (source.flags & PopupMenu::kGrayed ? 2u : 0u);
            if (owner_)
                owner_(item, false);
            size.owner = std::max(item.width, 0);
            size.height = std::max(item.height, 0);
        } else if (source.flags & PopupMenu::kSeparator) {
            size.height = kSeparatorHeight;
        } else {
            size.label = font_->measure(row.text.label);
            size.shortcut = font_->measure(row.text.shortcut);
            size.height = kTextRowHeight;
        }
    }

    std::vector<int32_t> widths(static_cast<size_t>(columns), 0);
    for (size_t c = 0; c < widths.size(); ++c) {
        int32_t label = 0, shortcut = 0, owned = 0;
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].column == static_cast<int32_t>(c)) {
                label = std::max(label, sizes[i].label);
                shortcut = std::max(shortcut, sizes[i].shortcut);
                owned = std::max(owned, sizes[i].owner);
            }
        widths[c] = std::max(kCheckWidth + label + (shortcut ? kShortcutGap + shortcut : 0) + kArrowWidth, owned);
    }
    int32_t x = kBorder;
    for (size_t c = 0; c < widths.size(); ++c) {
        if (c > 0)
            x += kColumnGap;
        columnLefts_.push_back(x);
        x += widths[c];
    }
    width_ = x + kBorder;

    std::vector<int32_t> tops(widths.size(), kBorder);
    int32_t bottom = kBorder;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const auto c = static_cast<size_t>(rows_[i].column);
        rows_[i].rect = rectOfSize(columnLefts_[c], tops[c], widths[c], sizes[i].height);
        tops[c] += sizes[i].height;
        bottom = std::max(bottom, tops[c]);
    }
    height_ = bottom + kBorder;
}

Rect MenuPanel::rowRect(int32_t row) const
{
    return row >= 0 && row < rowCount() ? rows_[static_cast<size_t>(row)].rect : Rect{};
}

int32_t MenuPanel::rowAt(Point point) const
{
    for (int32_t i = 0; i < rowCount(); ++i)
        if (rows_[static_cast<size_t>(i)].rect.contains(point))
            return i;
    return -1;
}

bool MenuPanel::isSeparator(int32_t row) const
{
    return row >= 0 && row < rowCount() && (menu_.rows[static_cast<size_t>(row)].flags & PopupMenu::kSeparator);
}

bool MenuPanel::opensSubmenu(int32_t row) const
{
    if (row < 0 || row >= rowCount())
        return false;
    const PopupMenu::Row& source = menu_.rows[static_cast<size_t>(row)];
    return source.submenu && !(source.flags & (PopupMenu::kSeparator | PopupMenu::kGrayed | PopupMenu::kDisabled));
}

bool MenuPanel::choosable(int32_t row) const
{
    if (row < 0 || row >= rowCount() || rowRect(row).empty())
        return false;
    const PopupMenu::Row& source = menu_.rows[static_cast<size_t>(row)];
    return !source.submenu && !(source.flags & (PopupMenu::kSeparator | PopupMenu::kGrayed | PopupMenu::kDisabled));
}

int32_t MenuPanel::step(int32_t from, int direction) const
{
    const int32_t count = rowCount();
    if (count == 0 || direction == 0)
        return -1;
    const int32_t start = from >= 0 ? from : (direction > 0 ? -1 : count);
    for (int32_t k = 1; k <= count; ++k) {
        const int32_t i = ((start + direction * k) % count + count) % count;
        if (!isSeparator(i) && !rowRect(i).empty())
            return i;
    }
    return -1;
}

int32_t MenuPanel::acrossColumn(int32_t from, int direction) const
{
    if (from < 0 || from >= rowCount())
        return -1;
    const int32_t column = rows_[static_cast<size_t>(from)].column + direction;
    const int32_t top = rows_[static_cast<size_t>(from)].rect.top;
    int32_t best = -1;
    for (int32_t i = 0; i < rowCount(); ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        if (row.column != column || isSeparator(i) || row.rect.empty())
            continue;
        if (best < 0 || std::abs(row.rect.top - top) < std::abs(rowRect(best).top - top))
            best = i;
    }
    return best;
}

std::vector<int32_t> MenuPanel::withMnemonic(uint8_t character) const
{
    std::vector<int32_t> found;
    const uint8_t wanted = lower(character);
    for (int32_t i = 0; i < rowCount(); ++i) {
        const uint32_t flags = menu_.rows[static_cast<size_t>(i)].flags;
        if (!(flags & (PopupMenu::kSeparator | PopupMenu::kOwnerDraw)) && wanted != 0
            && rows_[static_cast<size_t>(i)].text.mnemonic == wanted)
            found.push_back(i);
    }
    return found;
}

Rect placeMenu(Point at, int32_t width, int32_t height, const Rect& screen)
{
    int32_t x = at.x;
    if (x + width > screen.right)
        x = at.x - width >= screen.left ? at.x - width : screen.right - width;
    int32_t y = at.y;
    if (y + height > screen.bottom)
        y = at.y - height >= screen.top ? at.y - height : screen.bottom - height;
    return rectOfSize(std::max(x, screen.left), std::max(y, screen.top), width, height);
}

Rect placeSubmenu(const Rect& parent, const Rect& rowOnScreen, int32_t width, int32_t height, const Rect& screen)
{
    int32_t x = parent.right - MenuPanel::kBorder;
    if (x + width > screen.right)
        x = parent.left - width + MenuPanel::kBorder;
    int32_t y = rowOnScreen.top - MenuPanel::kBorder;
    if (y + height > screen.bottom)
        y = screen.bottom - height;
    return rectOfSize(std::max(x, screen.left), std::max(y, screen.top), width, height);
}

} // namespace platform
