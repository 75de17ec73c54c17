// The page base's shared mouse handler, driven with a fake editor: toolbar
// page buttons, title-strip drags, the close box, the pattern editor keeping
// the mouse, and the mouse records of the real usage log.
#include "page_fixture.h"

namespace {

class PageMouseTest : public PageTest {
protected:
    // The toolbar window is the host window's frame child; a click there
    // reaches the toolbar page through the frame.
    void clickToolbar(int32_t x, int32_t y = 5)
    {
        system.click(*toolbarFrame->getWindow(), {x, y});
        system.pump();
    }
    // Opens a side page as the toolbar would.
    TestPage* open(int index)
    {
        static constexpr int32_t kButtonX[] = {10, 100, 200, 520, 600};
        clickToolbar(kButtonX[index]);
        return sides[index];
    }
};

} // namespace

TEST_F(PageMouseTest, ToolbarButtonsSwitchPagesByTheirStripsEdgesIncluded)
{
    struct Case {
        int32_t x;
        int32_t y;
        TesselUI* expected;
        int32_t number;
    };
    const Case cases[] = {
        {89, 5, sides[0], kSampleListPage}, {90, 5, sides[1], kInstrumentListPage}, {300, 5, sides[1], kInstrumentListPage},
        {277, 13, sides[2], kInfoPage},     {509, 0, sides[3], kOrderListPage},     {697, 13, sides[4], kPreferencesPage},
        {600, 14, sides[4], kPreferencesPage},
    };
    for (const Case& c : cases) {
        clickToolbar(c.x, c.y);
        EXPECT_EQ(fake.current, c.expected) << c.x;
        EXPECT_EQ(currentPageNumber().load(), c.number) << c.x;
    }
    // Only the current side page is in the frame, above the pattern editor.
    EXPECT_EQ(frame2->getNbViews(), 2);
    EXPECT_EQ(frame2->getView(0), patternEditor);
    EXPECT_EQ(frame2->getView(1), sides[4]);
    EXPECT_TRUE(sides[4]->isFocused());
    EXPECT_FALSE(sides[3]->isFocused());
    EXPECT_EQ(fake.pageButtons, (std::vector<int32_t>{2, 4, 6, 7, 8}));

    // The same button again changes nothing.
    clickToolbar(650);
    EXPECT_EQ(fake.pageButtons.size(), 5u);
    EXPECT_EQ(fake.current, sides[4]);
}

TEST_F(PageMouseTest, TheInstrumentButtonMakesInstrumentOneCurrentWhenNoneIs)
{
    fake.instrument = 0;
    fake.visible = false;
    open(1);
    EXPECT_EQ(fake.instrumentCalls, (std::vector<std::pair<int32_t, bool>>{{1, false}}));
    EXPECT_EQ(fake.instrumentShown, (std::vector<float>{1.0f}));
    EXPECT_EQ(fake.instrumentPageRefreshes, 1);
    EXPECT_GE(fake.patternRedraws, 1);
    EXPECT_TRUE(fake.visible);   // the hidden editor window was shown

    open(0);
    open(1);
    EXPECT_EQ(fake.instrumentCalls.size(), 1u);
}

TEST_F(PageMouseTest, DraggingASidePageByItsTitleMovesAllFive)
{
    TestPage* page = open(2);
    mouse(page, {29, 48}, 1);
    mouse(page, {39, 60}, 1);
    mouse(page, {44, 70}, 1);
    mouse(page, {44, 70}, 0);
    mouse(page, {80, 90}, 0);   // released: no longer dragging
    const CRect moved(9 + 15, 43 + 22, 209 + 15, 143 + 22);
    for (TestPage* side : sides) {
        CRect rect;
        EXPECT_EQ(side->getViewSize(rect), moved);
    }
    CRect rect;
    EXPECT_EQ(patternEditor->getViewSize(rect), CRect(0, 0, 723, 499));
    // No press of the drag reached the page itself.
    for (const TestPage::Down& down : page->downs)
        EXPECT_EQ(down.buttons, 0);
}

TEST_F(PageMouseTest, ModifierKeysAloneNeitherPressNorDrag)
{
    TestPage* page = open(0);
    TestUsageLog log;
    mouse(page, {29, 48}, 8);    // Shift over the title strip
    mouse(page, {59, 78}, 8);
    mouse(page, {100, 300}, 8);  // outside the page: no button, nothing forwarded
    CRect rect;
    EXPECT_EQ(page->getViewSize(rect), kSidePage);
    EXPECT_FALSE(page->isDragging());
    ASSERT_EQ(page->downs.size(), 2u);
    EXPECT_FALSE(page->downs[0].fresh);
    EXPECT_TRUE(patternEditor->downs.empty());
    // The records still carry the modifier.
    const std::vector<LogRecord> mice = log.records('m');
    ASSERT_EQ(mice.size(), 1u);
    EXPECT_EQ(mice[0].data[4], 8);
}

TEST_F(PageMouseTest, AnotherPageDraggedByItsTitleMovesAloneAndTakesThePointerAlong)
{
    for (bool twice : {false, true}) {
        auto* popup = new TestPage(CRect(100, 100, 300, 200), &fake);
        frame2->addView(popup);
        fake.twice = twice;
        mouse(popup, {110, 105}, 1);
        mouse(popup, {130, 125}, 1);
        CRect rect;
        EXPECT_EQ(popup->getViewSize(rect), CRect(120, 120, 320, 220)) << twice;
        EXPECT_EQ(sides[0]->getViewSize(rect), kSidePage);
        const platform::Point origin = window->screenOrigin();
        const int32_t scale = twice ? 2 : 1;
        EXPECT_EQ(system.cursorPosition(), (platform::Point{origin.x + scale * 130, origin.y + scale * 125})) << twice;
        EXPECT_TRUE(popup->isDirty());
        mouse(popup, {130, 125}, 0);
        frame2->removeView(popup);
    }
}

TEST_F(PageMouseTest, TheCloseBoxHidesAShownPageFromItsLastTwelvePixels)
{
    TestPage* page = open(3);
    struct Case {
        int32_t pageX;
        int32_t pageY;
        bool hidden;
    };
    for (const Case& c : {Case{200 - 12, 5, true}, Case{200, 15, true}, Case{200 - 13, 5, false},
                          Case{200 - 5, 16, false}}) {
        page->setShown(true);
        mouse(page, {9 + c.pageX, 43 + c.pageY}, 1);
        mouse(page, {9 + c.pageX, 43 + c.pageY}, 0);
        EXPECT_EQ(!page->isShown(), c.hidden) << c.pageX << ", " << c.pageY;
    }
}

TEST_F(PageMouseTest, MouseRecordsOnlyWhenTheButtonsChange)
{
    TestPage* page = open(0);
    TestUsageLog log;
    const std::pair<CPoint, int32_t> calls[] = {
        {{50, 100}, 0}, {{51, 100}, 0}, {{52, 101}, 1}, {{60, 110}, 1}, {{61, 111}, 0}, {{70, 120}, 0}, {{71, 121}, 17},
    };
    for (const auto& [where, buttons] : calls)
        mouse(page, where, buttons);
    const std::vector<LogRecord> mice = log.records('m');
    ASSERT_EQ(mice.size(), 4u);
    const int32_t expected[][3] = {{41, 57, 0}, {43, 58, 1}, {52, 68, 0}, {62, 78, 17}};
    for (size_t i = 0; i < mice.size(); ++i) {
        EXPECT_EQ(le16(mice[i].data, 0), expected[i][0]) << i;
        EXPECT_EQ(le16(mice[i].data, 2), expected[i][1]) << i;
        EXPECT_EQ(mice[i].data[4], expected[i][2]) << i;
    }
}

TEST_F(PageMouseTest, AHeldButtonOutsideThePageReachesThePatternEditorInFrameCoordinates)
{
    TestPage* page = open(0);
    mouse(page, {400, 300}, 0);   // no button: nothing
    mouse(page, {400, 300}, 1);
    mouse(page, {410, 310}, 1);
    mouse(page, {50, 100}, 1);    // back inside: the page's own, in page coordinates
    ASSERT_EQ(patternEditor->downs.size(), 2u);
    EXPECT_EQ(patternEditor->downs[0].where, CPoint(400, 300));
    EXPECT_TRUE(patternEditor->downs[0].fresh);
    EXPECT_EQ(patternEditor->downs[1].where, CPoint(410, 310));
    EXPECT_FALSE(patternEditor->downs[1].fresh);
    ASSERT_EQ(page->downs.size(), 1u);
    EXPECT_EQ(page->downs[0].where, CPoint(41, 57));

    // While the pattern editor drags it keeps the mouse, even over the page.
    fake.patternDragging = true;
    mouse(page, {60, 110}, 1);
    EXPECT_EQ(patternEditor->downs.back().where, CPoint(60, 110));
    EXPECT_EQ(page->downs.size(), 1u);
}

TEST_F(PageMouseTest, BlockedInputOrNoEditorWindowIgnoresTheMouse)
{
    TestPage* page = open(0);
    fake.blocked = true;
    mouse(page, {50, 100}, 1);
    fake.blocked = false;
    fake.frame = nullptr;
    mouse(page, {50, 100}, 1);
    fake.frame = frame2;
    EXPECT_TRUE(page->downs.empty());
    mouse(page, {50, 100}, 1);
    EXPECT_EQ(page->downs.size(), 1u);
    EXPECT_TRUE(window->hasFocus());   // a press takes the editor window's focus
}

TEST_F(PageMouseTest, AnOctaveOutOfRangeLeavesTheOctaveButRefreshesItsList)
{
    const int redraws = fake.patternRedraws;
    for (int32_t octave : {7, 9, -1})
        sides[0]->setOctave(octave);
    EXPECT_EQ(fake.currentOctave, 7);
    EXPECT_EQ(fake.octaveShown, (std::vector<float>{7.0f, 7.0f, 7.0f}));
    EXPECT_EQ(fake.patternRedraws - redraws, 3);
}
