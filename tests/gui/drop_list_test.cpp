// The drop list: keys step its value round, its popup opens under the
// control where the page shows it (twice as far at double size), a choice
// reaches the (sub)menu that holds it and that menu's listener, a dismissal
// changes nothing, and a refill keeps the current entry.
#include "platform/key_event.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/drop_list.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "page_fixture.h"

#include <memory>

namespace {

using platform::PopupMenu;

struct Heard {
    COptionMenu* menu;
    float value;
    bool popupActive;   // of the editor while the listener runs
};

class Listener : public CControlListener {
public:
    explicit Listener(FakeEditor& fake) : fake(fake) {}
    void valueChanged(CDrawContext*, CControl* control) override
    {
        heard.push_back({static_cast<COptionMenu*>(control), control->getValue(), fake.popup});
    }

    FakeEditor& fake;
    std::vector<Heard> heard;
};

class ThreeEntries : public TesselEntrySource {
public:
    void fillEntries(COptionMenu& menu) override
    {
        ++fills;
        for (const char* text : {"X", "Y", "Z"})
            menu.addEntry(text);
    }
    int fills = 0;
};

// A side page at 9, 43 that holds a drop list and hands it its clicks.
class DropListPage : public TestPage {
public:
    using TestPage::TestPage;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override
    {
        TestPage::onMouseDown(x, y, context, buttons);
        for (TesselDropList* list : dropLists)
            if (list->hitTest(CPoint(x, y)))
                list->onMouse(buttons, CPoint(x, y));
        return 0;
    }
};

class DropListTest : public PageTest {
protected:
    // Five entries "A" .. "E" at (20, 30) - (120, 41) in the page, at 4.
    TesselDropList* addList(int32_t style = 0, TesselEntrySource* source = nullptr)
    {
        auto* list = new TesselDropList(CRect(20, 30, 120, 41), source, "(none)", nullptr, nullptr, style);
        for (const char* text : {"A", "B", "C", "D", "E"})
            list->addEntry(text);
        list->setValue(4.0f);
        list->setListener(&listener);
        page->adoptDropList(list);
        return list;
    }
    int32_t key(TesselDropList* list, TesselKeyEvent event) { return *list->onKey(event); }
    void open(TesselDropList* list, int32_t buttons = 1) { list->onMouse(buttons, CPoint(25, 35)); }

    DropListPage* page = new DropListPage(kSidePage, &fake);
    Listener listener{fake};
    ~DropListTest() override { page->forget(); }
};

} // namespace

TEST_F(DropListTest, KeysStepRoundAndEnterOpens)
{
    TesselDropList* list = addList();
    EXPECT_EQ(key(list, namedKey(kVkSpace)), 0);
    list->setValue(4.0f);
    EXPECT_EQ(key(list, namedKey(kVkLeft)), 3);
    EXPECT_EQ(key(list, namedKey(kVkRight)), 4);
    EXPECT_EQ(key(list, namedKey(kVkRight)), 0);
    EXPECT_EQ(list->getCurrent(), 0);
    EXPECT_TRUE(system.popupsAsked().empty());
    EXPECT_EQ(key(list, namedKey(kVkEnter)), 0);
    EXPECT_EQ(system.popupsAsked().size(), 1u);

    // Without entries no key does anything.
    list->removeAllEntry();
    for (uint8_t vk : {kVkSpace, kVkLeft, kVkRight, kVkEnter})
        EXPECT_EQ(key(list, namedKey(vk)), 0) << int(vk);
    EXPECT_EQ(system.popupsAsked().size(), 1u);
}

TEST_F(DropListTest, ThePopupOpensUnderTheControlWhereThePageShowsIt)
{
    const platform::Point origin = frame2->getWindow()->screenOrigin();
    TesselDropList* below = addList();
    TesselDropList* above = addList(VSTGUI::kPopupStyle);
    TesselDropList* right = addList(TesselDropList::kRightButtonStyle);
    open(below);
    open(above);
    open(right);
    fake.twice = true;
    open(below, 4);
    const auto& asked = system.popupsAsked();
    ASSERT_EQ(asked.size(), 4u);
    // Page 9, 43 plus the control's left edge and its bottom (or top).
    EXPECT_EQ(asked[0].screen, (platform::Point{origin.x + 29, origin.y + 84}));
    EXPECT_EQ(asked[1].screen, (platform::Point{origin.x + 29, origin.y + 73}));
    EXPECT_EQ(asked[3].screen, (platform::Point{origin.x + 58, origin.y + 168}));
    EXPECT_EQ(asked[0].owner, frame2->getWindow()->handle());
    // Only the style asks for the right button, whatever the click.
    EXPECT_FALSE(asked[0].rightButton);
    EXPECT_TRUE(asked[2].rightButton);
    EXPECT_FALSE(asked[3].rightButton);
    // The list is none of the frame's children.
    EXPECT_FALSE(frame2->isChild(below));
    EXPECT_EQ(fake.popupsBegun, 4);
    EXPECT_EQ(fake.focusLogs, 4);
    EXPECT_FALSE(fake.popup);
}

TEST_F(DropListTest, AChoiceReachesTheMenuHoldingItAndADismissalNothing)
{
    TesselDropList* list = addList();
    auto* more = new COptionMenu(CRect(), nullptr, 0);
    more->addEntry("X");
    more->addEntry("Y");
    Listener subListener(fake);
    more->setListener(&subListener);
    list->addEntry(more, "More");   // ids 0..5 the list's own, 6..7 the submenu's
    more->forget();

    open(list);                     // dismissed
    system.answerPopup(0x10000);    // not a command of the menu
    open(list);
    EXPECT_EQ(list->getCurrent(), 4);
    EXPECT_EQ(list->currentValue(), 4);
    EXPECT_TRUE(listener.heard.empty());

    system.answerPopup(7);
    open(list);
    ASSERT_EQ(subListener.heard.size(), 1u);
    EXPECT_EQ(subListener.heard[0].menu, more);
    EXPECT_EQ(subListener.heard[0].value, 1.0f);
    EXPECT_TRUE(subListener.heard[0].popupActive);
    EXPECT_TRUE(listener.heard.empty());
    EXPECT_EQ(list->getCurrent(), 4);

    system.answerPopup(1);
    open(list);
    ASSERT_EQ(listener.heard.size(), 1u);
    EXPECT_EQ(listener.heard[0].menu, list);
    EXPECT_EQ(list->currentValue(), 1);
    EXPECT_EQ(fake.popupsBegun, 4);
    EXPECT_FALSE(fake.popup);

    // No second popup while one is up.
    fake.popup = true;
    open(list);
    EXPECT_EQ(system.popupsAsked().size(), 4u);
}

TEST_F(DropListTest, ARefillKeepsTheCurrentEntryClamped)
{
    ThreeEntries source;
    TesselDropList* list = addList(VSTGUI::kCheckCurrent, &source);
    open(list);   // dismissed: the entry that was current stays, clamped
    ASSERT_EQ(source.fills, 1);
    ASSERT_EQ(list->getNbEntries(), 3);
    EXPECT_EQ(list->currentValue(), 2);
    const PopupMenu& menu = system.popupsAsked()[0].menu;
    ASSERT_EQ(menu.rows.size(), 3u);
    EXPECT_EQ(menu.rows[2].flags, uint32_t{PopupMenu::kChecked});
    EXPECT_EQ(menu.rows[0].flags, 0u);
    open(list);
    EXPECT_EQ(list->getNbEntries(), 3);
    EXPECT_EQ(list->currentValue(), 2);
}

TEST_F(DropListTest, ClicksOnThePageOpenItAndFocusedChangesAreLogged)
{
    TestUsageLog log;
    TesselModule song;
    TesselDropList* list = addList();
    frame2->addView(page);
    page->remember();   // the fixture forgets it too
    system.answerPopup(2);
    system.click(*frame2->getWindow(), {9 + 50, 43 + 35});
    system.pump();
    ASSERT_EQ(system.popupsAsked().size(), 1u);
    EXPECT_EQ(list->currentValue(), 2);

    COffscreenContext target(nullptr, 200, 60, kBlackCColor);
    list->draw(&target, 2, true);   // the song's starting state
    EXPECT_STREQ(list->shownText(), "C");
    list->draw(&target, 3, true);
    list->draw(&target, 3, true);
    list->draw(&target, 1, false);
    const std::vector<LogRecord> data = log.records('d');
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(leFloat(data[0].data, 0), 3.0f);

    // Without entries the last text stays, or the one it was made with.
    list->removeAllEntry();
    list->draw(&target, 0, false);
    EXPECT_STREQ(list->shownText(), "B");
    auto* fresh = new TesselDropList(CRect(0, 0, 50, 11), nullptr, "(none)");
    fresh->draw(&target, 0, false);
    EXPECT_STREQ(fresh->shownText(), "(none)");
    fresh->forget();
}

TEST_F(DropListTest, StyleBitFourNeverShadowsTheText)
{
    platform::Image drawn[2];
    int i = 0;
    for (int32_t style : {0, TesselDropList::kRightButtonStyle}) {
        TesselDropList* list = addList(style);
        COffscreenContext target(nullptr, 200, 60, kBlackCColor);
        list->draw(&target);   // the menu side's draw: the same face
        list->draw(&target, 2, true);
        drawn[i++] = target.getImage()->clone();
    }
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 200; ++x)
            ASSERT_EQ(drawn[0].pixelAt(x, y), drawn[1].pixelAt(x, y)) << x << ", " << y;
    // The face shows the strip's frame line where the control is.
    EXPECT_NE(drawn[0].pixelAt(21, 30), platform::rgb(0, 0, 0));
    EXPECT_EQ(drawn[0].pixelAt(19, 30), platform::rgb(0, 0, 0));
}
