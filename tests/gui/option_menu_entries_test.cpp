// The option menu's entries: the current entry counted with and without
// separators, and insertion and removal carrying check flags and submenus.
#include "gui/lists/option_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Menus are reference counted: the test holds the creator's reference.
struct MenuHolder {
    explicit MenuHolder(int32_t style = 0) : menu(new COptionMenu(CRect(), nullptr, 0, nullptr, nullptr, style)) {}
    ~MenuHolder() { menu->forget(); }
    COptionMenu* operator->() const { return menu; }
    COptionMenu* menu;
};

std::vector<std::string> texts(const COptionMenu& menu)
{
    std::vector<std::string> result;
    char text[256];
    for (int32_t i = 0; menu.getEntry(i, text); ++i)
        result.push_back(text);
    return result;
}

std::vector<bool> checks(const COptionMenu& menu)
{
    std::vector<bool> result;
    for (int32_t i = 0; i < menu.getNbEntries(); ++i)
        result.push_back(menu.isCheckEntry(i));
    return result;
}

} // namespace

TEST(OptionMenuEntries, CurrentCountsSeparatorsAndTitlesOnlyWhenAsked)
{
    MenuHolder menu;
    for (const char* text : {"A", "-", "-TTitle", "B"})
        ASSERT_TRUE(menu->addEntry(text));
    ASSERT_TRUE(menu->setCurrent(3));
    EXPECT_EQ(menu->getCurrent(nullptr, true), 3);
    EXPECT_EQ(menu->getCurrent(nullptr, false), 1);

    struct Case {
        int32_t index;
        bool countSeparators;
        bool accepted;
        int32_t current;
    };
    for (const Case& c : {Case{1, false, true, 3}, Case{0, false, true, 0}, Case{1, true, false, 0},
                          Case{2, true, true, 2}, Case{5, false, false, 2}}) {
        EXPECT_EQ(menu->setCurrent(c.index, c.countSeparators), c.accepted) << c.index << " " << c.countSeparators;
        EXPECT_EQ(menu->getCurrent(), c.current) << c.index << " " << c.countSeparators;
    }
    // Removing the current entry makes the one before it current; -1 for the first.
    menu->removeEntry(2);
    EXPECT_EQ(menu->getCurrent(), 1);
    menu->setCurrent(0);
    menu->removeEntry(0);
    EXPECT_EQ(menu->getCurrent(), -1);
}

TEST(OptionMenuEntries, InsertionAndRemovalCarryCheckFlagsAndSubmenus)
{
    MenuHolder menu(VSTGUI::kCheckStyle);
    for (const char* text : {"A", "B", "C"})
        menu->addEntry(text);
    menu->checkEntry(1, true);
    menu->setCurrent(2);
    ASSERT_TRUE(menu->addEntry("X", 1));
    EXPECT_EQ(texts(*menu.menu), (std::vector<std::string>{"A", "X", "B", "C"}));
    EXPECT_EQ(checks(*menu.menu), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(menu->getCurrent(), 3);
    // With kCheckStyle a chosen value toggles its entry's flag.
    menu->setValue(0.0f);
    EXPECT_EQ(checks(*menu.menu), (std::vector<bool>{true, false, true, false}));

    // Removing a submenu entry forgets its submenu; later ones keep theirs.
    auto* first = new COptionMenu(CRect(), nullptr, 0);
    auto* second = new COptionMenu(CRect(), nullptr, 0);
    menu->addEntry(first, "First");
    menu->addEntry(second, "Second");
    second->remember();
    first->forget();
    second->forget();
    ASSERT_TRUE(menu->removeEntry(4));
    EXPECT_EQ(menu->getSubMenu(0), second);
    EXPECT_EQ(menu->buildPopup().rows[4].text, "Second");
    menu->removeAllEntry();
    EXPECT_EQ(second->getNbReference(), 1);
    second->forget();
}
