#include "platform/dialogs/menu_panel.h"
#include "platform/graphics/canvas.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(MenuText, TabsAndAmpersandsSplitTheRow)
{
    struct Case {
        const char* text;
        const char* label;
        const char* shortcut;
        int32_t at;
        uint8_t mnemonic;
    };
    const Case cases[] = {
        {"&Open\tCtrl+O", "Open", "Ctrl+O", 0, 'o'},
        {"Save &As", "Save As", "", 5, 'a'},
        {"Rock && Roll", "Rock & Roll", "", -1, 0},
        {"&&&Both", "&Both", "", 1, 'b'},
        {"Plain\tA\tB", "Plain", "A\tB", -1, 0},
        {"Trailing&", "Trailing", "", -1, 0},
        {"&First &Second", "First Second", "", 0, 'f'},
    };
    for (const Case& c : cases) {
        const MenuText text = parseMenuText(c.text);
        EXPECT_EQ(text.label, c.label) << c.text;
        EXPECT_EQ(text.shortcut, c.shortcut) << c.text;
        EXPECT_EQ(text.mnemonicAt, c.at) << c.text;
        EXPECT_EQ(text.mnemonic, c.mnemonic) << c.text;
    }
}

PopupMenu columns()
{
    PopupMenu menu;
    for (int i = 0; i < 7; ++i) {
        PopupMenu::Row row;
        row.text = "Row " + std::to_string(i);
        row.id = 10 + i;
        row.flags = i == 3 ? uint32_t{PopupMenu::kColumnBreak} : 0u;
        menu.rows.push_back(row);
    }
    menu.rows[1].flags |= PopupMenu::kSeparator;
    menu.rows[5].flags |= PopupMenu::kGrayed;
    return menu;
}

TEST(MenuPanel, AColumnBreakStartsANewColumnBesideTheFirst)
{
    const PopupMenu menu = columns();
    const MenuPanel panel(menu, nullptr);
    EXPECT_EQ(panel.rowRect(0).top, MenuPanel::kBorder);
    EXPECT_EQ(panel.rowRect(1).height(), MenuPanel::kSeparatorHeight);
    EXPECT_EQ(panel.rowRect(3).top, MenuPanel::kBorder);             // back at the top
    EXPECT_GT(panel.rowRect(3).left, panel.rowRect(0).right);        // to the right
    EXPECT_EQ(panel.height(), MenuPanel::kBorder * 2 + 4 * MenuPanel::kTextRowHeight);
    EXPECT_EQ(panel.rowAt({panel.rowRect(4).left + 3, panel.rowRect(4).top + 3}), 4);
    EXPECT_EQ(panel.rowAt({1, 1}), -1);                               // the border

    // Keys: separators are passed, the ends wrap, Left and Right cross columns.
    EXPECT_EQ(panel.step(0, 1), 2);
    EXPECT_EQ(panel.step(6, 1), 0);
    EXPECT_EQ(panel.step(-1, -1), 6);
    EXPECT_EQ(panel.step(5, 1), 6);   // grey rows are lit, only not chosen
    EXPECT_EQ(panel.acrossColumn(2, 1), 4);   // the nearer top of two
    EXPECT_EQ(panel.acrossColumn(4, -1), 2);   // the separator at that height is passed
    EXPECT_EQ(panel.acrossColumn(4, 1), -1);
    EXPECT_FALSE(panel.choosable(1));
    EXPECT_FALSE(panel.choosable(5));
    EXPECT_TRUE(panel.choosable(6));
}

TEST(MenuPanel, OwnerDrawnRowsAreMeasuredAndDrawnByTheOwnerWithTheirState)
{
    PopupMenu menu;
    menu.rows.push_back({"", 4, PopupMenu::kOwnerDraw | PopupMenu::kChecked, 77, nullptr});
    menu.rows.push_back({"Text", 5, 0, 0, nullptr});
    menu.rows.push_back({"", 6, PopupMenu::kOwnerDraw | PopupMenu::kGrayed, 78, nullptr});
    std::vector<MenuItemMessage> measured, drawn;
    const MenuPanel panel(menu, [&](MenuItemMessage& item, bool draw) {
        if (!draw) {
            item.width = 200;
            item.height = 30;
            measured.push_back(item);
            return;
        }
        drawn.push_back(item);
        Canvas(*item.image).fillRect(item.rect, rgb(1, 2, 3));
    });
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].itemData, 77u);
    EXPECT_EQ(panel.rowRect(0).height(), 30);
    EXPECT_EQ(panel.width(), 200 + 2 * MenuPanel::kBorder);

    Image image(panel.width(), panel.height());
    panel.draw(image, 2);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].state, 1u);        // checked
    EXPECT_EQ(drawn[1].state, 2u | 4u);   // grey and lit
    EXPECT_EQ(drawn[1].rect, panel.rowRect(2));
    EXPECT_EQ(image.pixelAt(panel.rowRect(2).left, panel.rowRect(2).top), rgb(1, 2, 3));
    EXPECT_EQ(image.pixelAt(0, 0), rgb(212, 208, 200));
}

TEST(MenuPanel, AMnemonicFindsItsRowsInEitherCase)
{
    PopupMenu menu;
    menu.rows = {{"&Copy", 1, 0, 0, nullptr}, {"&cut", 2, 0, 0, nullptr}, {"&Paste", 3, 0, 0, nullptr},
                 {"", 4, PopupMenu::kSeparator, 0, nullptr}};
    const MenuPanel panel(menu, nullptr);
    EXPECT_EQ(panel.withMnemonic('C'), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(panel.withMnemonic('p'), (std::vector<int32_t>{2}));
    EXPECT_TRUE(panel.withMnemonic('x').empty());
    EXPECT_TRUE(panel.withMnemonic(0).empty());
}

TEST(MenuPlacement, MenusStayOnTheScreen)
{
    const Rect screen{0, 0, 1024, 768};
    struct Case {
        Point at;
        Rect expected;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100, 300, 400}},
        {{900, 100}, {700, 100, 900, 400}},    // flipped left of the point
        {{100, 700}, {100, 400, 300, 700}},    // flipped above
        {{150, 600}, {150, 300, 350, 600}},
        {{1020, 760}, {820, 460, 1020, 760}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placeMenu(c.at, 200, 300, screen), c.expected) << c.at.x << "," << c.at.y;
    // Taller than the screen: from the top.
    EXPECT_EQ(placeMenu({10, 100}, 50, 900, screen).top, 0);

    const Rect parent{100, 100, 300, 400};
    const Rect row{103, 200, 297, 218};
    EXPECT_EQ(placeSubmenu(parent, row, 150, 100, screen), (Rect{297, 197, 447, 297}));
    EXPECT_EQ(placeSubmenu(Rect{850, 100, 1000, 400}, row, 150, 100, screen).right, 853);   // on the left
    EXPECT_EQ(placeSubmenu(parent, Rect{103, 700, 297, 718}, 150, 100, screen).bottom, 768);
}

} // namespace
