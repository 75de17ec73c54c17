// The list box: keys and clicks move the selection and the first row, the
// bar drags, rows redraw as the selection and focus move (pixels probed),
// and the usage log hears of focused changes.
#include "gui/controls/control_skin.h"
#include "gui/lists/list_box.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "page_fixture.h"

#include <string>

namespace {

using platform::rgb;

constexpr uint8_t kEnd = 9, kHome = 10, kPageUp = 15, kPageDown = 16;
// A skin colour: its shade differs from the highlight and the background.
constexpr uint32_t kSkin = tesselRgba(127, 143, 158);
constexpr platform::Colour kSkinColour = rgb(127, 143, 158);
constexpr platform::Colour kSkinShade = rgb(63, 72, 81);
const platform::Colour kHighlight = control_skin::kHighlight.toPlatform();
const platform::Colour kBackground = control_skin::kListBackground.toPlatform();

// 30 entries "a00" .. "z29" (letters by tens) in 10 rows at 10, 5; the bar's
// column is 300..309 in the target.
class ListBoxTest : public ::testing::Test {
protected:
    ListBoxTest()
    {
        for (int i = 0; i < 30; ++i) {
            TesselListItem item;
            item.name = std::string(1, "abc"[i / 10]) + std::to_string(i);
            list.addEntry(item);
        }
        list.layout();
        list.setColour(kSkin);
    }

    int32_t key(TesselKeyEvent event) { return *list.onKey(event); }
    // The colour of row r's background at its right end, in the target.
    platform::Colour rowColour(int32_t row) const { return target.getImage()->pixelAt(10 + 289, 5 + 8 * row + 4); }
    platform::Colour barPixel(int32_t y) const { return target.getImage()->pixelAt(305, 5 + y); }

    TesselListBox list{CRect(10, 5, 310, 85)};
    COffscreenContext target{nullptr, 320, 100, kBlackCColor};
};

} // namespace

TEST_F(ListBoxTest, KeysMoveTheSelectionAndKeepItInView)
{
    struct Step {
        TesselKeyEvent event;
        int32_t selection;
        int32_t top;
    };
    const Step steps[] = {
        {namedKey(kVkDown), 1, 0},      {namedKey(kPageDown), 11, 2},  {namedKey(kEnd), 29, 20},
        {namedKey(kVkDown), 29, 20},    {namedKey(kPageUp), 19, 19},   {namedKey(kHome), 0, 0},
        {namedKey(kPageUp), 0, 0},      {charKey('C'), 20, 11},        {charKey('b'), 20, 11},  // only above
        {namedKey(kVkEnter), 20, 11},   {namedKey(kVkUp), 19, 11},     {charKey('c'), 20, 11},
        {namedKey(kVkF1), 20, 11},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(key(s.event), s.selection) << int(s.event.virtualKey) << " " << s.event.character;
        EXPECT_EQ(list.getTop(), s.top) << int(s.event.virtualKey) << " " << s.event.character;
    }
    EXPECT_EQ(list.selectedText(), "c20");
}

TEST_F(ListBoxTest, AnEmptyListAnswersZeroAndDrawsNoRows)
{
    TesselListBox empty(CRect(10, 5, 310, 85));
    empty.layout();
    for (uint8_t vk : {kEnd, kHome, uint8_t(kVkUp), uint8_t(kVkDown), kPageUp, kPageDown, uint8_t(kVkEnter)})
        EXPECT_EQ(*empty.onKey(namedKey(vk)), 0) << int(vk);
    EXPECT_EQ(*empty.onKey(charKey('a')), 0);
    EXPECT_EQ(*empty.onMouse(1, CPoint(50, 60)), 0);
    EXPECT_EQ(empty.selectedText(), "");
    empty.drawList(&target, true);
    for (int32_t y = 5; y < 85; ++y)
        for (int32_t x = 10; x < 300; ++x)
            ASSERT_EQ(target.getImage()->pixelAt(x, y), kBackground) << x << ", " << y;
    // An empty bar is one full thumb in the default colour.
    EXPECT_EQ(barPixel(0), rgb(60, 96, 140));
    EXPECT_EQ(barPixel(79), rgb(60, 96, 140));
}

TEST_F(ListBoxTest, ClicksSelectRowsAndTheBarDragsTheFirstRow)
{
    list.setSelection(25);   // top 16
    ASSERT_EQ(list.getTop(), 16);
    EXPECT_EQ(*list.onMouse(1, CPoint(50, 5 + 3 * 8 + 2)), 19);   // y / 8 + top
    EXPECT_EQ(*list.onMouse(0, CPoint(50, 5 + 5 * 8)), 19);       // a release selects nothing

    // Pressed on the bar, dragged 24 pixels up: 24 * 29 / 80 = 8 rows up.
    list.onMouse(1, CPoint(305, 60));
    EXPECT_TRUE(list.getScrollbar().isDragging());
    EXPECT_EQ(*list.onMouse(1, CPoint(200, 36)), 19);
    EXPECT_EQ(list.getTop(), 8);
    // Far below the end the drag stops at total - visible; the release ends it
    // without selecting.
    list.onMouse(1, CPoint(305, 400));
    EXPECT_EQ(list.getTop(), 20);
    EXPECT_EQ(*list.onMouse(0, CPoint(305, 60)), 19);
    EXPECT_FALSE(list.getScrollbar().isDragging());
    EXPECT_EQ(list.getTop(), 20);
    // A click on a row then brings the selection back into view.
    EXPECT_EQ(*list.onMouse(1, CPoint(50, 5)), 20);
}

TEST_F(ListBoxTest, RowsFollowTheSelectionAndTheFocus)
{
    list.setSelection(2);
    list.drawList(&target, true);
    EXPECT_EQ(rowColour(2), kHighlight);
    EXPECT_EQ(rowColour(1), kBackground);
    // Thumb of 10 in 30 at the top: rows 0 .. 80 * 10 / 30 - 1 of the bar.
    EXPECT_EQ(barPixel(0), kSkinColour);
    EXPECT_EQ(barPixel(25), kSkinColour);
    EXPECT_EQ(barPixel(26), kSkinShade);

    // The old selection loses its highlight, the new one shows the shade
    // while the list has no focus.
    list.onKey(namedKey(kVkDown));
    list.drawList(&target, false);
    EXPECT_EQ(rowColour(2), kBackground);
    EXPECT_EQ(rowColour(3), kSkinShade);
    list.drawList(&target, true);
    EXPECT_EQ(rowColour(3), kHighlight);

    // At the end the thumb reaches the bar's last pixel.
    list.onKey(namedKey(kEnd));
    list.drawList(&target, true);
    EXPECT_EQ(rowColour(9), kHighlight);
    EXPECT_EQ(barPixel(52), kSkinShade);
    EXPECT_EQ(barPixel(53), kSkinColour);
    EXPECT_EQ(barPixel(79), kSkinColour);
}

TEST_F(ListBoxTest, LayoutCountsTheEntriesAndBringsTheSelectionBack)
{
    list.setSelection(29);
    list.clearEntries();
    for (const char* name : {"one", "two", "three"})
        list.addEntry({name, 0, 0xFFFFFF, "", 0});
    list.layout();
    EXPECT_EQ(list.getScrollbar().getTotal(), 3);
    EXPECT_EQ(list.getScrollbar().getVisible(), 10);
    EXPECT_EQ(list.getSelection(), 2);
    EXPECT_EQ(list.getTop(), 0);
    EXPECT_EQ(list.selectedText(), "three");

    // A message hides the rows until it is cleared.
    list.setMessage("Scanning folder...");
    list.drawList(&target, true);
    EXPECT_EQ(rowColour(2), kBackground);
    list.setMessage("");
    list.drawList(&target, true);
    EXPECT_EQ(rowColour(2), kHighlight);
}

TEST_F(ListBoxTest, FocusedSelectionChangesAreLoggedOnce)
{
    TestUsageLog log;
    TesselModule song;
    list.drawList(&target, true);   // the song's starting state
    list.onKey(namedKey(kVkDown));
    list.drawList(&target, true);
    list.drawList(&target, true);
    list.onKey(namedKey(kVkDown));
    list.drawList(&target, false);
    const std::vector<LogRecord> data = log.records('d');
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(leFloat(data[0].data, 0), 1.0f);
}

TEST(ListBox, DetailsStartingWithAnAtSignHideUpToFiveCharacters)
{
    // Each pair draws the same pixels.
    const std::pair<const char*, const char*> pairs[] = {{"@abcdX", "X"}, {"@ab", ""}, {"@", ""}, {"a@bcdX", "a@bcdX"}};
    for (const auto& [hidden, shown] : pairs) {
        platform::Image drawn[2];
        for (int i = 0; i < 2; ++i) {
            TesselListBox list(CRect(0, 0, 300, 16));
            list.addEntry({"name", 0, 0xFFFFFF, i == 0 ? hidden : shown, 0});
            list.layout();
            COffscreenContext target(nullptr, 300, 16, kBlackCColor);
            list.drawList(&target, false);
            drawn[i] = target.getImage()->clone();
        }
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 190; x < 290; ++x)
                ASSERT_EQ(drawn[0].pixelAt(x, y), drawn[1].pixelAt(x, y)) << hidden << " " << x << ", " << y;
    }
}
