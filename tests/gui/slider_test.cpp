// The slider and the scroll bar: typed digits, steps at the ends, "none"
// for a minimum of -1, the mouse along the track (measured where the track
// is drawn), and ranges or bars with nothing to divide by.
#include "platform/key_event.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "gui/controls/scrollbar.h"
#include "gui/controls/slider.h"
#include "page_fixture.h"

namespace {


// 0..127, 3 digits, readout left: the track starts at 27 and is 109 wide.
TesselSlider slider(int32_t value, int32_t minimum = 0, int32_t maximum = 127, const char* label = "--")
{
    return TesselSlider(CRect(0, 0, 140, 11), minimum, maximum, value, 3, label);
}

std::string readout(const TesselSlider& s)
{
    bool typed = false;
    return s.readout(typed);
}

} // namespace

TEST(Slider, KeysTypeAndStepTheValue)
{
    struct Case {
        int32_t start;
        std::vector<TesselKeyEvent> keys;
        int32_t value;
    };
    const TesselKeyEvent shiftRight = namedKey(kVkRight, kModShift);
    const TesselKeyEvent shiftLeft = namedKey(kVkLeft, kModShift);
    const Case cases[] = {
        {64, {charKey('2'), charKey('0'), charKey('0')}, 127},   // clamped at each digit
        {64, {charKey('2'), charKey('0')}, 64},                  // still typing
        {64, {charKey('5'), namedKey(kVkEnter)}, 5},
        {124, {shiftRight}, 124},
        {122, {shiftRight}, 127},
        {124, {namedKey(kVkRight)}, 125},
        {127, {namedKey(kVkRight)}, 127},
        {4, {shiftLeft}, 4},
        {5, {shiftLeft}, 0},
        {4, {namedKey(kVkLeft)}, 3},
        {0, {namedKey(kVkLeft)}, 0},
        {9, {namedKey(kVkEnd)}, 127},
        {9, {namedKey(kVkHome)}, 0},
        {9, {namedKey(kVkDelete)}, 9},   // a minimum of 0 knows no "none"
        {9, {namedKey(kVkBack)}, 9},
    };
    for (const Case& c : cases) {
        TesselSlider s = slider(c.start);
        int32_t result = c.start;
        for (const TesselKeyEvent& key : c.keys)
            result = *s.onKey(key);
        EXPECT_EQ(result, c.value) << c.start << " after " << c.keys.size() << " keys";
    }

    // A release of the mouse commits digits typed so far.
    TesselSlider typing = slider(64);
    typing.onKey(charKey('9'));
    EXPECT_TRUE(typing.isTyping());
    EXPECT_EQ(readout(typing), "009");
    typing.onMouseUp(CPoint(5, 5));
    EXPECT_EQ(typing.value, 9);
    EXPECT_FALSE(typing.isTyping());
}

TEST(Slider, MinusOneIsNoneShownByTheLabelWithoutFill)
{
    TesselSlider width = slider(-1, -1, 32, "Auto");
    EXPECT_EQ(readout(width), "Auto");
    EXPECT_EQ(*width.onKey(namedKey(kVkRight)), 0);
    EXPECT_EQ(readout(width), "000");
    EXPECT_EQ(*width.onKey(namedKey(kVkDelete)), -1);
    width.value = 5;
    EXPECT_EQ(*width.onKey(namedKey(kVkBack)), -1);
    // The label stands for the minimum only when it is not "--".
    TesselSlider steps = slider(0, 0, 100, "---");
    EXPECT_EQ(readout(steps), "---");
    EXPECT_EQ(readout(slider(0)), "000");
    TesselSlider negative(CRect(0, 0, 140, 11), -64, 64, -5, 3);
    EXPECT_EQ(readout(negative), "-05");

    // No fill bar at -1: the track shows the strip, and the tick.
    COffscreenContext empty(nullptr, 140, 11, kBlackCColor);
    COffscreenContext full(nullptr, 140, 11, kBlackCColor);
    width.draw(&empty, -1, false);
    TesselSlider filled = slider(-1, -1, 32, "Auto");
    filled.draw(&full, 32, false);
    const platform::Colour strip = empty.getImage()->pixelAt(80, 5);
    EXPECT_EQ(empty.getImage()->pixelAt(134, 5), strip);
    EXPECT_NE(full.getImage()->pixelAt(80, 5), strip);
    EXPECT_EQ(full.getImage()->pixelAt(135, 5), full.getImage()->pixelAt(28, 5));   // bar to the last column
    EXPECT_EQ(full.getImage()->pixelAt(27, 5), filled.getColour().toPlatform());    // the tick at -1
}

TEST(Slider, TheCompactFaceIsOneBlackRowWithItsBarAndReadout)
{
    TesselSlider row(CRect(0, 8, 120, 16), 0, 64, 64, 2);
    row.setCompact(true);
    EXPECT_EQ(row.faceHeight(), 8);
    COffscreenContext target(nullptr, 120, 24, CColor{1, 2, 3, 0});
    row.draw(&target, 64, false);
    const platform::Image& image = *target.getImage();
    const platform::Colour bar = image.pixelAt(60, 8 + 3);
    EXPECT_EQ(image.pixelAt(60, 8), platform::rgb(0, 0, 0));        // above the bar
    EXPECT_EQ(image.pixelAt(60, 8 + 6), bar);                       // the bar's last row
    EXPECT_EQ(image.pixelAt(60, 8 + 7), platform::rgb(0, 0, 0));    // below it
    EXPECT_EQ(image.pixelAt(60, 7), platform::rgb(1, 2, 3));        // nothing outside the row
    EXPECT_EQ(image.pixelAt(60, 16), platform::rgb(1, 2, 3));
    int ink = 0;   // the readout "64" on the row's top lines
    for (int y = 8; y < 16; ++y)
        for (int x = 2; x < 18; ++x)
            ink += image.pixelAt(x, y).red > 120;
    EXPECT_GT(ink, 8);
    // Focused: the frame around the track takes the row's top line.
    row.draw(&target, 64, true);
    EXPECT_EQ(image.pixelAt(60, 8), control_skin::kHighlight.toPlatform());
}

TEST(Slider, TheMouseFollowsTheDrawnTrack)
{
    struct Case {
        bool readoutLeft;
        int32_t x;
        int32_t value;
    };
    // Left readout: track 27 .. 27 + 109; right readout: 3 .. 3 + 108;
    // d x 127 / W, truncated.
    for (const Case& c : {Case{true, 27, 0}, Case{true, 27 + 109, 127}, Case{true, 27 + 54, 62},
                          Case{true, 26, 50}, Case{true, 27 + 110, 50}, Case{false, 3 + 108, 127},
                          Case{false, 3, 0}, Case{false, 2, 50}}) {
        TesselSlider s(CRect(0, 0, 140, 11), 0, 127, 50, 3, "--", c.readoutLeft);
        EXPECT_EQ(*s.onMouse(1, CPoint(c.x, 5)), c.value) << c.readoutLeft << " " << c.x;
    }
    // Moves without a button place nothing.
    TesselSlider idle = slider(50);
    EXPECT_EQ(*idle.onMouse(0, CPoint(30, 5)), 50);

    // A range of one value, or no room for a track: nothing to divide by.
    TesselSlider flat = slider(7, 7, 7);
    TesselSlider narrow(CRect(0, 0, 30, 11), 0, 127, 7, 3);
    for (TesselSlider* s : {&flat, &narrow}) {
        EXPECT_EQ(*s->onMouse(1, CPoint(5, 5)), 7);
        EXPECT_EQ(*s->onMouse(1, CPoint(29, 5)), 7);
        COffscreenContext target(nullptr, 140, 11, kBlackCColor);
        s->draw(&target, 7, true);   // and no fill bar to draw
    }
}

TEST(Scrollbar, EmptyOrFlatBarsShowAFullThumbAndTakeNoDrag)
{
    const CColor colour{127, 143, 158, 0};
    for (const CRect& rect : {CRect(0, 0, 10, 50), CRect(0, 20, 10, 20)}) {
        TesselScrollbar bar(rect);
        bar.setColour(tesselRgba(127, 143, 158));
        bar.setCounts(rect.height() ? 0 : 30, 10);
        COffscreenContext target(nullptr, 10, 50, kBlackCColor);
        bar.drawBar(&target, 0);
        if (rect.height()) {
            EXPECT_EQ(target.getImage()->pixelAt(5, 0), colour.toPlatform());
            EXPECT_EQ(target.getImage()->pixelAt(5, 49), colour.toPlatform());
        }
        EXPECT_FALSE(bar.trackMouse(CPoint(5, rect.top), 1));
        EXPECT_FALSE(bar.trackMouse(CPoint(5, rect.top + 30), 1));
        EXPECT_EQ(bar.getPosition(), 0);
        EXPECT_EQ(bar.onKey(namedKey(kVkDown)), nullptr);
    }
    // Fewer items than rows: a drag stays at 0.
    TesselScrollbar few(CRect(0, 0, 10, 50));
    few.setCounts(3, 10);
    EXPECT_TRUE(few.trackMouse(CPoint(5, 0), 1));
    few.trackMouse(CPoint(5, 50), 1);
    EXPECT_EQ(few.getPosition(), 0);
    // A drag lasts while a button that began it is held.
    few.setCounts(30, 10);
    few.trackMouse(CPoint(5, 40), 1 | 8);
    EXPECT_EQ(few.getPosition(), 20);
    EXPECT_TRUE(few.trackMouse(CPoint(5, 0), 4));
    EXPECT_FALSE(few.isDragging());
}
