// Pixels drawn through the toolkit's contexts and bitmaps.

#include "gui/bitmap.h"
#include "gui/offscreen_context.h"
#include "gui_fixture.h"
#include "platform/raster_support.h"
#include "platform/graphics/text.h"
#include "platform/system/folders.h"

namespace {

using raster_test::changedPixels;
using raster_test::inkBounds;
using raster_test::PixelSet;

constexpr CColor kRed{255, 0, 0, 0};
constexpr CColor kBlue{0, 0, 255, 0};
constexpr CColor kGreen{0, 255, 0, 0};
constexpr platform::Colour kBlack = platform::rgb(0, 0, 0);

PixelSet square(int from, int to)
{
    PixelSet pixels;
    for (int y = from; y <= to; ++y)
        for (int x = from; x <= to; ++x)
            pixels.insert({x, y});
    return pixels;
}

// A 4 x 4 bitmap: blue with a key-green left half.
CBitmap2* makeSprite()
{
    auto* sprite = new CBitmap2(24, 4, 4);
    COffscreenContext paint(nullptr, sprite, true);
    paint.setFillColor(kBlue);
    paint.fillRect(CRect(-1, -1, 4, 4));
    paint.setFillColor(kGreen);
    paint.fillRect(CRect(-1, -1, 2, 4));
    return sprite;
}

TEST(DrawContext, RectanglesFollowTheirOwnEdgeRules)
{
    COffscreenContext context(nullptr, 20, 20);
    context.setFillColor(kRed);
    context.fillRect(CRect(0, 0, 10, 10));
    EXPECT_EQ(changedPixels(*context.getImage(), kBlack), square(1, 9));

    COffscreenContext outline(nullptr, 20, 20);
    outline.setFrameColor(kRed);
    outline.drawRect(CRect(0, 0, 10, 10));
    PixelSet expected = square(0, 10);
    for (const auto& inside : square(1, 9))
        expected.erase(inside);
    EXPECT_EQ(changedPixels(*outline.getImage(), kBlack), expected);
}

TEST(DrawContext, OffsetsMoveEverythingButStretches)
{
    CBitmap2* sprite = makeSprite();
    COffscreenContext context(nullptr, 40, 40);
    context.setOffset(CPoint(20, 10));
    context.setFillColor(kRed);
    context.fillRect(CRect(0, 0, 4, 4));                           // 21..23, 11..13
    sprite->draw(&context, CRect(0, 20, 4, 24));                   // 20..23, 30..33
    sprite->drawStretched(&context, CRect(0, 0, 8, 8));            // 0..7, 0..7: not moved
    const platform::Image& pixels = *context.getImage();
    EXPECT_EQ(inkBounds(pixels, kBlack), (platform::Rect{0, 0, 24, 34}));
    EXPECT_EQ(pixels.pixelAt(21, 11), kRed.toPlatform());
    EXPECT_EQ(pixels.pixelAt(20, 11), kBlack);
    EXPECT_EQ(pixels.pixelAt(20, 30), kGreen.toPlatform());
    EXPECT_EQ(pixels.pixelAt(23, 33), kBlue.toPlatform());
    EXPECT_EQ(pixels.pixelAt(3, 7), kGreen.toPlatform());          // 2 x 2 blocks
    EXPECT_EQ(pixels.pixelAt(4, 0), kBlue.toPlatform());
    CRect clip;
    EXPECT_EQ(context.getClipRect(clip), CRect(-20, -10, 20, 30));
    sprite->forget();
}

TEST(DrawContext, TransparentBitmapsKeepWhatLiesUnderTheirKeyColour)
{
    CBitmap2* sprite = makeSprite();
    COffscreenContext context(nullptr, 10, 10, kRed);
    context.setOffset(CPoint(2, 2));
    sprite->drawTransparent(&context, CRect(0, 0, 4, 4));
    const platform::Image& pixels = *context.getImage();
    EXPECT_EQ(pixels.pixelAt(2, 2), kRed.toPlatform());
    EXPECT_EQ(pixels.pixelAt(4, 2), kBlue.toPlatform());
    sprite->setTransparentColor(kBlue);
    sprite->drawTransparent(&context, CRect(4, 0, 8, 4));
    EXPECT_EQ(pixels.pixelAt(6, 2), kGreen.toPlatform());
    EXPECT_EQ(pixels.pixelAt(8, 2), kRed.toPlatform());
    sprite->forget();
}

TEST(DrawContext, BlitsReadOnlyInsideTheirSource)
{
    CBitmap2* sprite = makeSprite();
    COffscreenContext context(nullptr, 10, 10, kRed);
    // Asks for 8 x 8 from (2, 2) of a 4 x 4 bitmap: only its 2 x 2 corner comes.
    sprite->draw(&context, CRect(0, 0, 8, 8), CPoint(2, 2));
    EXPECT_EQ(changedPixels(*context.getImage(), kRed.toPlatform()), square(0, 1));
    // A bitmap that could not be had draws nothing.
    CBitmap missing(999999);
    EXPECT_EQ(missing.getWidth(), 0);
    missing.draw(&context, CRect(0, 0, 8, 8));
    missing.drawStretched(&context, CRect(0, 0, 8, 8));
    EXPECT_EQ(changedPixels(*context.getImage(), kRed.toPlatform()).size(), 4u);
    sprite->forget();
}

TEST(DrawContext, LeftTextStartsOnePixelIn)
{
    COffscreenContext toolkit(nullptr, 80, 20);
    toolkit.setFont(3);
    toolkit.setFontColor(kRed);
    toolkit.drawString("Hello", CRect(0, 0, 80, 20), false, kLeftText);

    COffscreenContext direct(nullptr, 80, 20);
    platform::TextPaint paint;
    paint.colour = kRed.toPlatform();
    platform::Canvas canvas(*direct.getImage());
    platform::drawTextInRect(canvas, toolkit.font(), "Hello", {1, 0, 80, 20}, platform::TextAlign::left, paint);
    EXPECT_FALSE(changedPixels(*toolkit.getImage(), kBlack).empty());
    EXPECT_TRUE(raster_test::samePixels(*toolkit.getImage(), *direct.getImage()));

    // Right-aligned text ends at the rectangle's right edge, not 1 pixel in.
    COffscreenContext right(nullptr, 80, 20);
    right.setFont(3);
    right.drawString("Hello", CRect(0, 0, 80, 20), false, kRightText);
    EXPECT_GE(inkBounds(*right.getImage(), kBlack).right, 78);
}

TEST(DrawContext, FontIdsOutsideTheTableAreTheBoldFirstOne)
{
    COffscreenContext context(nullptr, 10, 10);
    context.setFont(9);
    EXPECT_EQ(context.getFont(), 0);
    EXPECT_EQ(context.getFontSize(), 12);
    EXPECT_EQ(context.font().request().weight, 700);
    EXPECT_EQ(context.font().request().face, "Arial");
    context.setFont(3, 0, kItalicFace);
    EXPECT_EQ(context.font().request().height, -12);
    EXPECT_EQ(context.font().request().weight, 400);
    EXPECT_TRUE(context.font().request().italic);
}

TEST(DrawContext, ANewOffscreenIsWhollyItsColourAndACopyLeavesItsBitmapAlone)
{
    const CColor paper{10, 20, 30, 0};
    COffscreenContext blank(nullptr, 30, 20, paper);
    EXPECT_TRUE(changedPixels(*blank.getImage(), paper.toPlatform()).empty());
    EXPECT_EQ(blank.getFillColor(), paper);
    EXPECT_EQ(blank.getFrameColor(), paper);

    CBitmap2* sprite = makeSprite();
    {
        COffscreenContext copy(&blank, sprite, false);
        EXPECT_EQ(sprite->getNbReference(), 2);
        EXPECT_EQ(copy.getImage()->pixelAt(3, 3), kBlue.toPlatform());
        copy.setFillColor(kRed);
        copy.fillRect(CRect(-1, -1, 4, 4));
        // copyTo reads the source context, transfert writes the destination.
        blank.copyTo(&copy, CRect(0, 0, 2, 2), CPoint(5, 5));
        copy.transfert(&blank, CRect(20, 10, 24, 14));
    }
    EXPECT_EQ(sprite->getNbReference(), 1);
    EXPECT_EQ(sprite->image().pixelAt(3, 3), kBlue.toPlatform());
    EXPECT_EQ(blank.getImage()->pixelAt(5, 5), kRed.toPlatform());
    EXPECT_EQ(blank.getImage()->pixelAt(7, 7), paper.toPlatform());
    EXPECT_EQ(blank.getImage()->pixelAt(23, 13), kRed.toPlatform());
    sprite->forget();
}

TEST(DrawContext, AnEmptyOffscreenIsATwentySquare)
{
    COffscreenContext context(nullptr, nullptr, false);
    EXPECT_EQ(context.getWidth(), 20);
    ASSERT_NE(context.getImage(), nullptr);
    EXPECT_EQ(context.getImage()->width(), 20);
}

TEST(DrawContext, RowsOfADepthAreWholeWords)
{
    EXPECT_EQ(CBitmap2::rowBytes(24, 3), 12);
    EXPECT_EQ(CBitmap2::rowBytes(4, 9), 8);
    EXPECT_EQ(CBitmap2::rowBytes(1, 1), 4);
    EXPECT_EQ(CBitmap2::rowBytes(32, 5), 20);
    CBitmap2 sixteen(4, 3, 2);
    EXPECT_EQ(sixteen.getColourTable().size(), 16u);
    EXPECT_EQ(sixteen.getWidth(), 3);
    EXPECT_EQ(sixteen.image().width(), 3);
}

class FramePixelsTest : public GuiTest {};

TEST_F(FramePixelsTest, TheWindowShowsNothingBeforeItsFirstPaintThenItsViews)
{
    CFrame frame(CRect(0, 0, 100, 60), host.get(), &editor);
    RecordingView* left = addView(frame, CRect(0, 0, 50, 60), "left");
    left->colour = kRed;
    RecordingView* right = addView(frame, CRect(50, 0, 100, 60), "right");
    right->colour = kBlue;
    const platform::Image& screen = frame.getWindow()->image();
    left->setDirty();
    frame.idle();
    EXPECT_TRUE(changedPixels(screen, kBlack).empty());

    system.pump();
    EXPECT_EQ(screen.pixelAt(0, 0), kRed.toPlatform());
    EXPECT_EQ(screen.pixelAt(49, 59), kRed.toPlatform());
    EXPECT_EQ(screen.pixelAt(50, 0), kBlue.toPlatform());

    // Only the dirty view draws again.
    left->colour = kGreen;
    right->colour = kGreen;
    left->setDirty();
    frame.idle();
    EXPECT_EQ(screen.pixelAt(10, 10), kGreen.toPlatform());
    EXPECT_EQ(screen.pixelAt(60, 10), kBlue.toPlatform());

    // A paint draws only into the damaged area.
    right->setDirty(false);
    frame.getWindow()->invalidate({50, 0, 60, 10});
    system.pump();
    EXPECT_EQ(screen.pixelAt(55, 5), kGreen.toPlatform());
    EXPECT_EQ(screen.pixelAt(65, 5), kBlue.toPlatform());
}


// A frame on its background skin with a labelled view and a keyed close box,
// as a person would see the window; written to screenshots/ for a look.
class LabelView : public CView {
public:
    explicit LabelView(const CRect& size) : CView(size), closeBox_(330) {}
    void draw(CDrawContext* context) override
    {
        context->setFillColor(CColor{40, 40, 90, 0});
        context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        context->setFrameColor(CColor{255, 255, 0, 0});
        context->drawRect(size);
        context->setFont(0);
        context->setFontColor(kWhiteCColor);
        context->drawString("Quorbel toolkit", size, false, kCenterText);
        closeBox_.drawTransparent(context, CRect(size.right - 12, size.top + 4, size.right, size.top + 15));
        CView::draw(context);
    }

private:
    CBitmap closeBox_;
};

TEST_F(FramePixelsTest, AFrameOnItsSkinAsAPersonSeesIt)
{
    CFrame frame(CRect(0, 0, 493, 80), host.get(), &editor);
    CBitmap* skin = new CBitmap(103);
    frame.setBackground(skin);
    skin->forget();
    frame.addView(new LabelView(CRect(300, 40, 480, 70)));
    system.pump();
    const platform::Image& screen = frame.getWindow()->image();
    EXPECT_GT(changedPixels(screen, kBlack).size(), 493u * 36u / 2);
    EXPECT_EQ(screen.pixelAt(300, 40), (platform::rgb(255, 255, 0)));
    EXPECT_EQ(screen.pixelAt(301, 41), (platform::rgb(40, 40, 90)));
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(screen.writePng("screenshots/toolkit_frame.png"));
}

} // namespace
