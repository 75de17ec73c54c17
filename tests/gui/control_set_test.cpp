// The control set base: shades of the skin colours, value records in the
// real usage log, bitmap text, the small digits and the version number.
#include "gui/bitmap_text.h"
#include "gui/controls/tessel_control.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "gui/version_number.h"
#include "model/song/module.h"
#include "page_fixture.h"
#include "resources/resource_ids.h"

namespace {

using platform::rgb;

class TestControl : public TesselControl {
public:
    TestControl() : TesselControl(4) {}
    int32_t* onKey(const TesselKeyEvent&) override { return &value; }
    int32_t* onMouse(int32_t, const CPoint&) override { return &value; }
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    CRect* getRect() override { return &rect; }
    // As the members do: the value is logged whenever drawn with the focus.
    void draw(CDrawContext*, int32_t newValue, bool focused) override
    {
        value = newValue;
        logValue(focused);
    }

    CRect rect{0, 0, 10, 10};
};

// Every pixel of the context's image in the rectangle equals the source
// bitmap's at the offset, with key green showing the background.
void expectCopied(const platform::Image& drawn, const CRect& at, const platform::Image& source, CPoint from,
                  platform::Colour background)
{
    for (int32_t y = at.top; y < at.bottom; ++y)
        for (int32_t x = at.left; x < at.right; ++x) {
            platform::Colour expected = source.pixelAt(from.h + x - at.left, from.v + y - at.top);
            if (expected == platform::kKeyGreen)
                expected = background;
            ASSERT_EQ(drawn.pixelAt(x, y), expected) << x << ", " << y;
        }
}

} // namespace

TEST(ControlSet, SkinColoursHaveTheirOwnShadesAndAlphaIsIgnored)
{
    struct Case {
        uint32_t colour;
        CColor shade;
    };
    for (const Case& c : {Case{tesselRgba(160, 128, 96, 0), {45, 36, 27, 0}},
                          Case{tesselRgba(160, 128, 96, 200), {45, 36, 27, 0}},
                          Case{tesselRgba(158, 98, 98), {79, 49, 49, 0}}, Case{tesselRgba(127, 143, 158), {63, 72, 81, 0}},
                          Case{tesselRgba(122, 160, 141), {56, 72, 62, 0}}, Case{tesselRgba(160, 128, 97), {64, 64, 64, 0}},
                          Case{tesselRgba(0, 0, 0, 255), {64, 64, 64, 0}}}) {
        TestControl control;
        control.setColour(c.colour);
        EXPECT_EQ(control.getShade(), c.shade) << std::hex << c.colour;
        EXPECT_EQ(control.getColour().red, uint8_t(c.colour)) << std::hex << c.colour;
    }
}

TEST(ControlSet, AFocusedDrawLogsEachChangeOnceAndNothingAtASongsStart)
{
    TestUsageLog log;
    TesselModule song;   // a reset: a new song generation
    TestControl control;
    const int32_t values[] = {5, 6, 6, 7, 7};
    for (int32_t v : values)
        control.draw(nullptr, v, true);
    control.draw(nullptr, 9, false);   // unfocused: not logged
    control.logEnabled = false;
    control.draw(nullptr, 10, true);
    control.logEnabled = true;

    song.reset(120.0, 6.0, 4);
    control.draw(nullptr, 11, true);   // the new song's starting state
    control.draw(nullptr, 12, true);

    const std::vector<LogRecord> data = log.records('d');
    ASSERT_EQ(data.size(), 3u);
    EXPECT_EQ(leFloat(data[0].data, 0), 6.0f);
    EXPECT_EQ(leFloat(data[1].data, 0), 7.0f);
    EXPECT_EQ(leFloat(data[2].data, 0), 12.0f);
}

TEST(ControlSet, BitmapTextDrawsCellsUpToItsLimit)
{
    TesselFont font(resources::kFontWhite, 8);
    ASSERT_EQ(font.getWidth(), 128);
    COffscreenContext context(nullptr, 120, 40, kBlackCColor);
    const CColor fill{10, 20, 30, 0};
    EXPECT_EQ(drawBitmapText(&context, "", 0, 0, &font), 0);
    EXPECT_EQ(drawBitmapText(&context, "ABCDEF", 8, 8, &font, &fill, 3), 3);
    const platform::Image& drawn = *context.getImage();
    expectCopied(drawn, CRect(8, 8, 32, 16), font.image(), CPoint('A' % 16 * 8, 'A' / 16 * 8), rgb(10, 20, 30));
    EXPECT_EQ(drawn.pixelAt(32, 8), rgb(0, 0, 0));   // no fourth cell
    EXPECT_EQ(drawn.pixelAt(7, 7), rgb(0, 0, 0));    // the fill covers the cells only

    // Glyphs above 127 come from the lower rows of the strip.
    EXPECT_EQ(drawBitmapText(&context, "\xC8", 60, 20, &font), 1);
    expectCopied(drawn, CRect(60, 20, 68, 28), font.image(), CPoint(8 * 8, 12 * 8), rgb(0, 0, 0));

    TesselFont small(resources::kSmallFontNormal, 6);
    EXPECT_EQ(drawBitmapText(&context, "ab", 80, 30, &small), 2);
    expectCopied(drawn, CRect(80, 30, 92, 38), small.image(), CPoint('a' % 16 * 6, 'a' / 16 * 8), rgb(0, 0, 0));
}

TEST(ControlSet, SmallNumbersAreRightAlignedAfterTheirLabel)
{
    CBitmap digits(resources::kSmallDigits);
    COffscreenContext context(nullptr, 120, 10, kBlackCColor);
    drawSmallNumber(&context, 1.5f, 100, 2);
    const platform::Image& drawn = *context.getImage();
    const platform::Colour black = rgb(0, 0, 0);
    expectCopied(drawn, CRect(58, 2, 89, 8), digits.image(), CPoint(0, 0), black);         // label
    expectCopied(drawn, CRect(89, 2, 93, 8), digits.image(), CPoint(31 + 5, 0), black);    // 1
    expectCopied(drawn, CRect(93, 2, 95, 8), digits.image(), CPoint(80, 0), black);        // point
    expectCopied(drawn, CRect(96, 2, 100, 8), digits.image(), CPoint(31 + 25, 0), black);  // 5
    for (int32_t y = 0; y < 10; ++y) {
        EXPECT_EQ(drawn.pixelAt(57, y), black);
        EXPECT_EQ(drawn.pixelAt(95, y), black);
        EXPECT_EQ(drawn.pixelAt(100, y), black);
    }
}

TEST(ControlSet, VersionNumbersReadAsPeopleWriteThem)
{
    struct Case {
        float version;
        const char* text;
    };
    for (const Case& c : {Case{1.74f, "1.74"}, Case{1.7f, "1.7"}, Case{1.5f, "1.5"}, Case{1.05f, "1.05"},
                          Case{1.0f, "1.0"}, Case{2.1f, "2.1"}, Case{1.745f, "1.74.5"}, Case{1.3f, "1.3"}})
        EXPECT_EQ(formatVersionNumber(c.version), c.text) << c.version;
    std::string two;
    formatTwoDigits(two, 7);
    EXPECT_EQ(two, "07");
}
