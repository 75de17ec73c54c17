// The option menu's popup: what the window layer is asked to show, how a
// choice comes back through the submenus, and what keeps a popup closed.
#include "gui/lists/option_menu.h"
#include "page_fixture.h"

#include <memory>

namespace {

using platform::PopupMenu;

struct Change {
    COptionMenu* menu;
    float value;
};

class RecordingListener : public CControlListener {
public:
    void valueChanged(CDrawContext*, CControl* control) override
    {
        changes.push_back({static_cast<COptionMenu*>(control), control->getValue()});
        if (forgetMenu)
            forgetMenu->getFrame()->removeView(forgetMenu);
    }
    int32_t controlModifierClicked(CDrawContext*, CControl*, int32_t buttons) override
    {
        modifierClicks.push_back(buttons);
        return takesModifierClicks;
    }

    std::vector<Change> changes;
    std::vector<int32_t> modifierClicks;
    int32_t takesModifierClicks = 1;
    COptionMenu* forgetMenu = nullptr;
};

class OptionMenuPopupTest : public PageTest {
protected:
    // A menu at 100, 200 in the editor window's frame, which holds it.
    COptionMenu* addMenu(int32_t style = 0)
    {
        auto* menu = new COptionMenu(CRect(100, 200, 180, 214), &listener, 7, nullptr, nullptr, style);
        frame2->addView(menu);
        return menu;
    }
    COptionMenu* submenu(std::initializer_list<const char*> texts)
    {
        auto* menu = new COptionMenu(CRect(), nullptr, 0);
        for (const char* text : texts)
            menu->addEntry(text);
        return menu;
    }
    void click(COptionMenu* menu, int32_t buttons)
    {
        std::unique_ptr<CDrawContext> context = frame2->createWindowContext();
        CPoint where(110, 205);
        menu->mouse(context.get(), where, buttons);
    }
    // The menu tree: "A", "-", then "-MOuter" (ids 4..5: "X" and "-MInner"),
    // then "B"; "Inner" takes ids 6..7.
    COptionMenu* addNestedMenu(COptionMenu*& outer, COptionMenu*& inner)
    {
        COptionMenu* menu = addMenu();
        outer = submenu({"X"});
        inner = submenu({"Y", "Z"});
        outer->addEntry(inner, "Inner");
        menu->addEntry("A");
        menu->addEntry("-");
        menu->addEntry(outer, "Outer");
        menu->addEntry("B");
        outer->forget();
        inner->forget();
        return menu;
    }

    RecordingListener listener;
};

} // namespace

TEST_F(OptionMenuPopupTest, AChoiceTwoSubmenusDeepReachesThatSubmenuAndTheListener)
{
    COptionMenu* outer;
    COptionMenu* inner;
    COptionMenu* menu = addNestedMenu(outer, inner);
    system.answerPopup(7);
    click(menu, 1);
    // What was shown: own entries first, then the submenus depth first.
    ASSERT_EQ(system.popupsAsked().size(), 1u);
    const PopupMenu& popup = system.popupsAsked()[0].menu;
    ASSERT_EQ(popup.rows.size(), 4u);
    EXPECT_EQ(popup.rows[1].flags, uint32_t{PopupMenu::kSeparator});
    EXPECT_EQ(popup.rows[3].id, 3);
    ASSERT_TRUE(popup.rows[2].submenu && popup.rows[2].submenu->rows[1].submenu);
    EXPECT_EQ(popup.rows[2].text, "Outer");
    EXPECT_EQ(popup.rows[2].submenu->rows[0].id, 4);
    EXPECT_EQ(popup.rows[2].submenu->rows[1].submenu->rows[1].id, 7);

    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].menu, inner);
    EXPECT_EQ(listener.changes[0].value, 1.0f);
    EXPECT_EQ(menu->getLastSubmenu(), inner);
    EXPECT_EQ(menu->getCurrent(), 0);
    EXPECT_EQ(frame2->getEditView(), nullptr);

    // Top-level ids reach the menu itself; a dismissal or an unknown id nothing.
    system.answerPopup(3);
    click(menu, 1);
    click(menu, 1);
    system.answerPopup(9);
    click(menu, 1);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[1].menu, menu);
    EXPECT_EQ(menu->getCurrent(), 3);
    EXPECT_EQ(menu->getLastSubmenu(), nullptr);

    // A "-M" entry without a submenu is left out but keeps its id.
    COptionMenu* bare = addMenu();
    for (const char* text : {"-MNone", "-GGrey", "C"})
        bare->addEntry(text);
    const PopupMenu rows = bare->buildPopup();
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[0].flags, uint32_t{PopupMenu::kGrayed});
    EXPECT_EQ(rows.rows[1].id, 2);
}

TEST_F(OptionMenuPopupTest, ButtonsDecideTrackingAndModifierClicksGoToTheListener)
{
    COptionMenu* menu = addMenu();
    menu->addEntry("A");
    struct Case {
        int32_t buttons;
        int32_t answer;   // of controlModifierClicked
        bool opens;
        bool right;
    };
    for (const Case& c : {Case{1, 1, true, false}, Case{4, 1, true, true}, Case{1 | 8, 1, false, false},
                          Case{1 | 16, 0, true, false}, Case{2, 1, false, false}, Case{8, 0, false, false}}) {
        listener.takesModifierClicks = c.answer;
        const size_t before = system.popupsAsked().size();
        click(menu, c.buttons);
        ASSERT_EQ(system.popupsAsked().size(), before + (c.opens ? 1 : 0)) << c.buttons;
        if (c.opens) {
            EXPECT_EQ(system.popupsAsked().back().rightButton, c.right) << c.buttons;
        }
        EXPECT_EQ(menu->getLastButton(), c.buttons);
    }
    EXPECT_EQ(listener.modifierClicks, (std::vector<int32_t>{1 | 8, 1 | 16, 8}));
    EXPECT_EQ(fake.popupsBegun, 3);
    EXPECT_FALSE(fake.popup);
}

TEST_F(OptionMenuPopupTest, PlacedBelowOrAboveAndTwiceAsFarAtDoubleSize)
{
    const platform::Point origin = frame2->getWindow()->screenOrigin();
    COptionMenu* below = addMenu();
    below->addEntry("A");
    COptionMenu* above = addMenu(VSTGUI::kPopupStyle);
    above->addEntry("A");
    click(below, 1);
    click(above, 1);
    fake.twice = true;
    click(below, 1);
    const auto& asked = system.popupsAsked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].screen, (platform::Point{origin.x + 100, origin.y + 214}));
    EXPECT_EQ(asked[1].screen, (platform::Point{origin.x + 100, origin.y + 200}));
    EXPECT_EQ(asked[2].screen, (platform::Point{origin.x + 200, origin.y + 428}));
    EXPECT_EQ(asked[0].owner, frame2->getWindow()->handle());
}

TEST_F(OptionMenuPopupTest, ColumnBreaksOnlyBelow160Entries)
{
    for (int count : {159, 160}) {
        COptionMenu* menu = addMenu();
        menu->setNbItemsPerColumn(40);
        for (int i = 0; i < count; ++i)
            menu->addEntry("entry");
        const PopupMenu popup = menu->buildPopup();
        std::vector<size_t> breaks;
        for (size_t i = 0; i < popup.rows.size(); ++i)
            if (popup.rows[i].flags & PopupMenu::kColumnBreak)
                breaks.push_back(i);
        const std::vector<size_t> expected = count == 159 ? std::vector<size_t>{40, 80, 120} : std::vector<size_t>{};
        EXPECT_EQ(breaks, expected) << count;
    }
}

TEST_F(OptionMenuPopupTest, NoSecondPopupWhileOneIsUp)
{
    COptionMenu* menu = addMenu();
    menu->addEntry("A");
    fake.popup = true;
    system.answerPopup(0);
    click(menu, 1);
    EXPECT_TRUE(system.popupsAsked().empty());
    EXPECT_TRUE(listener.changes.empty());
    EXPECT_EQ(frame2->getEditView(), nullptr);
}

TEST_F(OptionMenuPopupTest, AListenerThatForgetsTheMenuLeavesNothingDangling)
{
    COptionMenu* menu = addMenu();
    menu->addEntry("A");
    listener.forgetMenu = menu;
    system.answerPopup(0);
    click(menu, 1);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_FALSE(frame2->isChild(menu));
    EXPECT_EQ(frame2->getEditView(), nullptr);
    // The frame's next click meets no menu that is gone.
    system.click(*frame2->getWindow(), {5, 5});
    system.pump();
}
