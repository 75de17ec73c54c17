// The option menu's entries: the current entry counted with and without
// separators, insertion and removal with their check flags and submenus,
// prefixes and limits.
#include "gui/option_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Menus are reference counted: the test holds the creator's reference.
struct MenuHolder {
    explicit MenuHolder(int32_t style = 0) : menu(new COptionMenu(CRect(0, 0, 80, 14), nullptr, 0, nullptr, nullptr, style)) {}
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

// A, a separator, a title and B.
void addFourEntries(COptionMenu* menu)
{
    for (const char* text : {"A", "-", "-TTitle", "B"})
        ASSERT_TRUE(menu->addEntry(text));
}

} // namespace

TEST(OptionMenuEntries, CurrentCountsSeparatorsAndTitlesOnlyWhenAsked)
{
    MenuHolder menu;
    addFourEntries(menu.menu);
    EXPECT_EQ(menu->getCurrent(), 0);   // the first entry added became current

    ASSERT_TRUE(menu->setCurrent(3));
    char text[256];
    EXPECT_EQ(menu->getCurrent(text, true), 3);
    EXPECT_STREQ(text, "B");
    EXPECT_EQ(menu->getCurrent(nullptr, false), 1);

    struct Case {
        int32_t index;
        bool countSeparators;
        bool accepted;
        int32_t current;
    };
    for (const Case& c : {Case{1, false, true, 3}, Case{0, false, true, 0}, Case{1, true, false, 0},
                          Case{2, true, true, 2}, Case{5, false, false, 2}, Case{-1, true, false, 2},
                          Case{3, false, true, 3}}) {
        EXPECT_EQ(menu->setCurrent(c.index, c.countSeparators), c.accepted) << c.index << " " << c.countSeparators;
        EXPECT_EQ(menu->getCurrent(), c.current) << c.index << " " << c.countSeparators;
    }
}

TEST(OptionMenuEntries, RemovingMovesTheCurrentEntryUpAndEmptyingClearsIt)
{
    MenuHolder menu;
    addFourEntries(menu.menu);
    menu->setCurrent(3);
    ASSERT_TRUE(menu->removeEntry(3));
    EXPECT_EQ(menu->getCurrent(), 2);
    ASSERT_TRUE(menu->removeEntry(0));
    EXPECT_EQ(menu->getCurrent(), 1);
    EXPECT_FALSE(menu->removeEntry(2));

    MenuHolder two;
    two->addEntry("A");
    two->addEntry("B");
    ASSERT_TRUE(two->removeEntry(0));
    EXPECT_EQ(two->getCurrent(), -1);   // it was the first
    two->setCurrent(0);
    ASSERT_TRUE(two->removeEntry(0));
    EXPECT_EQ(two->getNbEntries(), 0);
    EXPECT_EQ(two->getCurrent(), -1);
}

TEST(OptionMenuEntries, InsertingMovesTextsCheckFlagsAndTheCurrentEntryTogether)
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
    ASSERT_TRUE(menu->addEntry("Z", 99));   // past the end: appended
    EXPECT_EQ(texts(*menu.menu).back(), "Z");

    ASSERT_TRUE(menu->removeEntry(1));
    EXPECT_EQ(checks(*menu.menu), (std::vector<bool>{false, true, false, false}));
    menu->checkEntryAlone(3);
    EXPECT_EQ(checks(*menu.menu), (std::vector<bool>{false, false, false, true}));
    EXPECT_FALSE(menu->checkEntry(4, true));

    // With kCheckStyle a chosen value toggles its entry's flag.
    menu->setValue(0.0f);
    menu->setValue(0.0f);
    menu->setValue(2.0f);
    EXPECT_EQ(checks(*menu.menu), (std::vector<bool>{false, false, true, true}));
    menu->setValue(7.0f);
    EXPECT_EQ(menu->getCurrent(), 2);
}

TEST(OptionMenuEntries, RemovingASubmenuEntryLetsLaterSubmenuEntriesKeepTheirs)
{
    MenuHolder menu;
    auto* first = new COptionMenu(CRect(), nullptr, 0);
    auto* second = new COptionMenu(CRect(), nullptr, 0);
    menu->addEntry("Plain");
    ASSERT_TRUE(menu->addEntry(first, "First"));
    ASSERT_TRUE(menu->addEntry(second, "Second"));
    EXPECT_EQ(first->getNbReference(), 2);
    first->forget();
    second->forget();

    EXPECT_EQ(texts(*menu.menu), (std::vector<std::string>{"Plain", "-MFirst", "-MSecond"}));
    second->remember();
    ASSERT_TRUE(menu->removeEntry(1));
    EXPECT_EQ(menu->getSubMenu(0), second);
    EXPECT_EQ(menu->getSubMenu(1), nullptr);
    EXPECT_EQ(menu->buildPopup().rows[1].text, "Second");
    menu->removeAllEntry();
    EXPECT_EQ(second->getNbReference(), 1);
    second->forget();
}

TEST(OptionMenuEntries, PrefixNumbersCarryThePositionAndAreSkippedWhenDrawn)
{
    struct Case {
        int32_t prefix;
        const char* second;
        const char* submenu;
    };
    for (const Case& c : {Case{0, "B", "-MS"}, Case{2, "2 B", "-M3 S"}, Case{3, "02 B", "-M03 S"},
                          Case{4, "002 B", "-M003 S"}}) {
        MenuHolder menu;
        menu->setPrefixNumbers(c.prefix);
        menu->addEntry("A");
        menu->addEntry("B");
        auto* submenu = new COptionMenu(CRect(), nullptr, 0);
        menu->addEntry(submenu, "S");
        submenu->forget();
        EXPECT_EQ(texts(*menu.menu)[1], c.second);
        EXPECT_EQ(texts(*menu.menu)[2], c.submenu);
        EXPECT_EQ(menu->getIndex(c.second), 1);
    }
}

TEST(OptionMenuEntries, LimitsOfCountLengthAndIndex)
{
    MenuHolder menu;
    for (int32_t i = 0; i < COptionMenu::kMaxEntries; ++i)
        ASSERT_TRUE(menu->addEntry("x"));
    EXPECT_FALSE(menu->addEntry("one too many"));
    auto* submenu = new COptionMenu(CRect(), nullptr, 0);
    EXPECT_FALSE(menu->addEntry(submenu, "too"));
    EXPECT_EQ(submenu->getNbReference(), 1);
    submenu->forget();
    EXPECT_EQ(menu->getNbEntries(), COptionMenu::kMaxEntries);

    MenuHolder small;
    const std::string longText(400, 'w');
    small->addEntry(longText.c_str());
    small->setEntry(0, longText.c_str());
    char text[512];
    ASSERT_TRUE(small->getEntry(0, text));
    EXPECT_EQ(std::string(text).size(), 255u);
    EXPECT_FALSE(small->getEntry(1, text));
    EXPECT_FALSE(small->setEntry(-1, "y"));
    EXPECT_EQ(small->getIndex(nullptr), -1);
    EXPECT_EQ(small->getIndex("absent"), -1);
    EXPECT_FALSE(small->addEntry(nullptr));
}
