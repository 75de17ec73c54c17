// Pixels of the parameter display's frames and shadow and of a page's close
// box; a popup page drawn buffered at double size, as a person sees it
// (written to screenshots/).
#include "gui/bitmap_text.h"
#include "gui/lists/option_menu.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "page_fixture.h"
#include "platform/system/folders.h"
#include "resources/resource_ids.h"

namespace {

using platform::rgb;

constexpr CColor kBack{0, 0, 128, 0};
constexpr CColor kFrame{255, 255, 0, 0};

// The display at 10, 10 .. 60, 30 showing "0.50" in a fresh offscreen.
platform::Image drawDisplay(int32_t style)
{
    auto* display = new CParamDisplay(CRect(10, 10, 60, 30), nullptr, style);
    display->setBackColor(kBack);
    display->setFrameColor(kFrame);
    display->setValue(0.5f);
    COffscreenContext context(nullptr, 80, 50, kBlackCColor);
    display->draw(&context);
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

// A popup page with a raised display, a sunken option menu, bitmap text and
// the small digits.
class ShowcasePage : public TestPage {
public:
    ShowcasePage(const CRect& size, TesselEditorServices* editor)
        : TestPage(size, editor, CColor{60, 70, 90, 0}), font_(resources::kFontAmber, 8),
          display_(new CParamDisplay(CRect(size.left + 10, size.top + 30, size.left + 90, size.top + 46), nullptr,
                                     VSTGUI::k3DOut | VSTGUI::kShadowText)),
          menu_(new COptionMenu(CRect(size.left + 100, size.top + 30, size.left + 190, size.top + 46), nullptr, 0,
                                nullptr, nullptr, VSTGUI::k3DIn))
    {
        display_->setBackColor(CColor{90, 100, 120, 0});
        display_->setFrameColor(CColor{200, 210, 230, 0});
        display_->setValue(0.75f);
        menu_->setBackColor(CColor{30, 30, 40, 0});
        menu_->setFrameColor(CColor{150, 150, 170, 0});
        menu_->setPrefixNumbers(3);
        for (const char* text : {"Sine", "Square", "Saw"})
            menu_->addEntry(text);
        menu_->setCurrent(1);
    }
    ~ShowcasePage() override
    {
        display_->forget();
        menu_->forget();
    }
    void draw(CDrawContext* context) override
    {
        TestPage::draw(context);
        drawBitmapText(context, "Quorbel page", size.left + 10, size.top + 4, &font_);
        display_->draw(context);
        menu_->draw(context);
        drawSmallNumber(context, 1.74f, size.right - 10, size.bottom - 12);
    }

private:
    TesselFont font_;
    CParamDisplay* display_;
    COptionMenu* menu_;
};

} // namespace

TEST(ParamDisplayPixels, EdgesAndShadowFollowTheStyle)
{
    struct Case {
        int32_t style;
        CColor leftTop;
        CColor rightBottom;
    };
    for (const Case& c : {Case{VSTGUI::k3DIn, kBack, kFrame}, Case{VSTGUI::k3DOut, kFrame, kBack},
                          Case{0, kFrame, kFrame}}) {
        const platform::Image image = drawDisplay(c.style);
        EXPECT_EQ(image.pixelAt(10, 20), c.leftTop.toPlatform()) << c.style;
        EXPECT_EQ(image.pixelAt(35, 10), c.leftTop.toPlatform()) << c.style;
        EXPECT_EQ(image.pixelAt(60, 20), c.rightBottom.toPlatform()) << c.style;
        EXPECT_EQ(image.pixelAt(35, 30), c.rightBottom.toPlatform()) << c.style;
        EXPECT_EQ(image.pixelAt(12, 12), kBack.toPlatform()) << c.style;
        EXPECT_GT(countPixels(image, isTextWhite), 10) << c.style;
        EXPECT_EQ(countPixels(image, isShadowRed), 0) << c.style;
    }

    // The shadow lies one pixel right of and below the text.
    const platform::Image shadowed = drawDisplay(VSTGUI::kShadowText);
    int total = 0;
    int underText = 0;
    for (int32_t y = 11; y < 30; ++y)
        for (int32_t x = 11; x < 60; ++x)
            if (isShadowRed(shadowed.pixelAt(x, y))) {
                ++total;
                underText += shadowed.pixelAt(x - 1, y - 1) != kBack.toPlatform() ? 1 : 0;
            }
    EXPECT_GT(total, 5);
    EXPECT_GT(underText * 2, total);
    EXPECT_EQ(countPixels(drawDisplay(VSTGUI::kNoDrawStyle), [](platform::Colour c) { return c != rgb(0, 0, 0); }), 0);
}

TEST_F(PageTest, AShownPageDrawsTheCloseBoxAtItsTopRight)
{
    CBitmap closeBox(resources::kCloseBox);
    COffscreenContext context(nullptr, 300, 200, kBlackCColor);
    TestPage* page = sides[0];
    page->setShown(true);
    page->draw(&context);
    const platform::Image& drawn = *context.getImage();
    int boxPixels = 0;
    for (int32_t y = 0; y < closeBox.getHeight() / 2; ++y)
        for (int32_t x = 0; x < closeBox.getWidth(); ++x) {
            const platform::Colour source = closeBox.image().pixelAt(x, y);
            const bool key = source == platform::kKeyGreen;
            EXPECT_EQ(drawn.pixelAt(209 - 12 + x, 43 + 4 + y), key ? page->colour.toPlatform() : source);
            boxPixels += key ? 0 : 1;
        }
    EXPECT_GT(boxPixels, 20);
    EXPECT_EQ(drawn.pixelAt(209 - 13, 50), page->colour.toPlatform());
}

TEST_F(PageTest, APopupPageAtDoubleSizeAsAPersonSeesIt)
{
    auto* page = new ShowcasePage(CRect(20, 20, 220, 90), &fake);
    page->setShown(true);
    frame2->addView(page);
    fake.current = page;
    // The same page at its own size, for comparison.
    COffscreenContext single(nullptr, 723, 499, kBlackCColor);
    TesselUI::drawBuffered(page, &single, patternEditor, false);
    fake.twice = true;
    page->redrawNow(page);
    EXPECT_EQ(fake.statusDraws, 2);   // over the pattern editor, both times

    // Every pixel became a 2 x 2 block.
    const platform::Image& screen = frame2->getWindow()->image();
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 240; ++x) {
            const platform::Colour expected = single.getImage()->pixelAt(x, y);
            for (auto [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                ASSERT_EQ(screen.pixelAt(2 * x + dx, 2 * y + dy), expected) << x << ", " << y;
        }
    EXPECT_EQ(screen.pixelAt(2 * 21, 2 * 60), rgb(60, 70, 90));
    EXPECT_EQ(screen.pixelAt(2 * 300, 2 * 200), rgb(20, 20, 20));
    EXPECT_EQ(screen.pixelAt(2 * 50, 2 * 50), rgb(200, 210, 230));   // the raised display's top edge
    EXPECT_EQ(screen.pixelAt(2 * 150, 2 * 50), rgb(30, 30, 40));     // the sunken menu's
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(screen.writePng("screenshots/page_base.png"));
}
