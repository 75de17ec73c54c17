// Pixels of the parameter display's frames and shadow, a page's close box,
// and pages drawn buffered through the editor window's frame.
#include "gui/bitmap.h"
#include "gui/offscreen_context.h"
#include "gui/param_display.h"
#include "page_fixture.h"
#include "resources/resource_ids.h"

namespace {

using platform::rgb;

constexpr CColor kBack{0, 0, 128, 0};
constexpr CColor kFrame{255, 255, 0, 0};

platform::Colour toColour(CColor c)
{
    return c.toPlatform();
}

void twoDigits(float, char* text)
{
    std::snprintf(text, 8, "88");
}

// Draws the display into a fresh 80 x 50 offscreen.
platform::Image drawDisplay(int32_t style)
{
    auto* display = new CParamDisplay(CRect(10, 10, 60, 30), nullptr, style);
    display->setBackColor(kBack);
    display->setFrameColor(kFrame);
    display->setStringConvert(twoDigits);
    COffscreenContext context(nullptr, 80, 50, kBlackCColor);
    display->draw(&context);
    EXPECT_FALSE(display->isDirty());
    display->forget();
    return context.getImage()->clone();
}

int countPixels(const platform::Image& image, bool (*test)(platform::Colour))
{
    int count = 0;
    for (int32_t y = 0; y < image.height(); ++y)
        for (int32_t x = 0; x < image.width(); ++x)
            count += test(image.pixelAt(x, y)) ? 1 : 0;
    return count;
}

bool isShadowRed(platform::Colour c)
{
    return c.red >= 200 && c.green <= 60 && c.blue <= 60;
}

bool isTextWhite(platform::Colour c)
{
    return c.red >= 200 && c.green >= 200 && c.blue >= 200;
}

// A page of one-pixel stripes in both directions: pixel x, y is white when
// x + y is even.
class CheckerPage : public TestPage {
public:
    using TestPage::TestPage;
    void draw(CDrawContext* context) override
    {
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x)
                context->drawPoint(CPoint(size.left + x, size.top + y), (x + y) % 2 ? kBlackCColor : kWhiteCColor);
    }
};

} // namespace

TEST(ParamDisplayPixels, SunkenAndRaisedEdgesSwapTheirColours)
{
    struct Case {
        int32_t style;
        CColor leftTop;
        CColor rightBottom;
    };
    for (const Case& c : {Case{VSTGUI::k3DIn, kBack, kFrame}, Case{VSTGUI::k3DOut, kFrame, kBack},
                          Case{0, kFrame, kFrame}}) {
        const platform::Image image = drawDisplay(c.style);
        EXPECT_EQ(image.pixelAt(10, 20), toColour(c.leftTop)) << c.style;
        EXPECT_EQ(image.pixelAt(35, 10), toColour(c.leftTop)) << c.style;
        EXPECT_EQ(image.pixelAt(60, 20), toColour(c.rightBottom)) << c.style;
        EXPECT_EQ(image.pixelAt(35, 30), toColour(c.rightBottom)) << c.style;
        EXPECT_EQ(image.pixelAt(12, 12), toColour(kBack)) << c.style;
        EXPECT_EQ(image.pixelAt(5, 5), rgb(0, 0, 0)) << c.style;
        EXPECT_GT(countPixels(image, isTextWhite), 10) << c.style;
    }
}

TEST(ParamDisplayPixels, ShadowedTextCastsRedOnePixelDownRight)
{
    EXPECT_EQ(countPixels(drawDisplay(0), isShadowRed), 0);
    const platform::Image shadowed = drawDisplay(VSTGUI::kShadowText);
    EXPECT_GT(countPixels(shadowed, isShadowRed), 5);
    // The shadow lies right of and below the text: a red pixel's upper-left
    // neighbour is text (or an edge of it).
    int below = 0;
    int total = 0;
    for (int32_t y = 11; y < 30; ++y)
        for (int32_t x = 11; x < 60; ++x)
            if (isShadowRed(shadowed.pixelAt(x, y))) {
                ++total;
                below += shadowed.pixelAt(x - 1, y - 1) != toColour(kBack) ? 1 : 0;
            }
    EXPECT_GT(below * 2, total);

    // No text and no drawing at all.
    EXPECT_EQ(countPixels(drawDisplay(VSTGUI::kNoTextStyle), isTextWhite), 0);
    EXPECT_EQ(countPixels(drawDisplay(VSTGUI::kNoDrawStyle), [](platform::Colour c) { return c != rgb(0, 0, 0); }), 0);
}

class PageDrawingTest : public PageTest {};

TEST_F(PageDrawingTest, AShownPageDrawsTheCloseBoxAtItsTopRight)
{
    CBitmap closeBox(resources::kCloseBox);
    COffscreenContext context(nullptr, 300, 200, kBlackCColor);
    TestPage* page = sides[0];
    page->draw(&context);
    const platform::Image& drawn = *context.getImage();
    EXPECT_EQ(drawn.pixelAt(203, 50), toColour(page->colour));   // not shown: no box

    page->setShown(true);
    page->draw(&context);
    int boxPixels = 0;
    for (int32_t y = 0; y < closeBox.getHeight() / 2; ++y)
        for (int32_t x = 0; x < closeBox.getWidth(); ++x) {
            const platform::Colour source = closeBox.image().pixelAt(x, y);
            const platform::Colour expected = source == platform::kKeyGreen ? toColour(page->colour) : source;
            EXPECT_EQ(drawn.pixelAt(209 - 12 + x, 43 + 4 + y), expected) << x << ", " << y;
            boxPixels += source == platform::kKeyGreen ? 0 : 1;
        }
    EXPECT_GT(boxPixels, 20);
    EXPECT_EQ(drawn.pixelAt(209 - 13, 50), toColour(page->colour));
}

TEST_F(PageDrawingTest, APageIsDrawnOverThePatternEditorThenCopiedToTheWindow)
{
    frame2->addView(sides[1]);
    fake.current = sides[1];
    sides[1]->redrawNow(sides[1]);
    const platform::Image& window = frame2->getWindow()->image();
    EXPECT_EQ(window.pixelAt(100, 100), toColour(sides[1]->colour));
    EXPECT_EQ(window.pixelAt(300, 300), toColour(patternEditor->colour));
    EXPECT_EQ(fake.statusDraws, 1);
    EXPECT_EQ(sides[1]->draws, 1);

    // A page that is not in the frame draws the pattern editor alone.
    sides[2]->redrawNow(sides[2]);
    EXPECT_EQ(sides[2]->draws, 0);
    EXPECT_EQ(patternEditor->draws, 2);
}

TEST_F(PageDrawingTest, DoubleSizeStretchesEachPixelToATwoByTwoBlock)
{
    auto* checker = new CheckerPage(CRect(0, 0, 723, 499), &fake);
    frame2->removeView(patternEditor);
    frame2->addView(checker);
    fake.pageSet.patternEditor = checker;
    fake.current = checker;
    fake.twice = true;
    frame2->drawPage(nullptr);
    const platform::Image& window = frame2->getWindow()->image();
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            const platform::Colour expected = (x + y) % 2 ? rgb(0, 0, 0) : rgb(255, 255, 255);
            for (auto [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                ASSERT_EQ(window.pixelAt(2 * x + dx, 2 * y + dy), expected) << x << ", " << y;
        }
}

TEST_F(PageDrawingTest, TheCapsLockIndicatorSitsCentredAboveTheMiddle)
{
    CBitmap* plate = new CBitmap(resources::kCapsLockPlate);
    fake.indicator = plate;
    fake.caps = true;
    for (bool twice : {false, true}) {
        fake.twice = twice;
        COffscreenContext context(nullptr, 723, 499, kBlackCColor);
        patternEditor->drawOverlays(&context);
        // The view rectangle is the window's client area, halved (plus 1) at double size.
        const int32_t width = twice ? 723 / 2 + 1 : 723;
        const int32_t height = twice ? 499 / 2 + 1 : 499;
        const int32_t left = (width - plate->getWidth()) / 2;
        const int32_t top = height / 2 - plate->getHeight();
        EXPECT_EQ(context.getImage()->pixelAt(left + 40, top + 8), plate->image().pixelAt(40, 8)) << twice;
        EXPECT_EQ(context.getImage()->pixelAt(left - 1, top + 8), rgb(0, 0, 0)) << twice;
        EXPECT_EQ(context.getImage()->pixelAt(left + 40, top + plate->getHeight()), rgb(0, 0, 0)) << twice;
    }
    fake.caps = false;
    COffscreenContext context(nullptr, 723, 499, kBlackCColor);
    sides[0]->setDirty();
    sides[0]->drawOverlays(&context);
    EXPECT_FALSE(sides[0]->isDirty());
    EXPECT_EQ(fake.statusDraws, 2);
    plate->forget();
}
