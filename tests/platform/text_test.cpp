// Text by GDI's rules over our own font configuration.

#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"
#include "platform/graphics/windows1252.h"
#include "raster_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace raster_test;

namespace {

std::shared_ptr<const Font> arial(int height = -12, int weight = 400)
{
    FontRequest request;
    request.face = "Arial";
    request.height = height;
    request.weight = weight;
    return FontCatalog::process().open(request);
}

Image textImage(const Font& font, std::string_view text, const TextPaint& paint = {kInk, false, {}})
{
    Image image(120, 24, kPaper);
    Canvas canvas(image);
    drawText(canvas, font, text, {4, 3}, paint);
    return image;
}

} // namespace

TEST(Windows1252, ConvertsTheUpperHalfAndStopsAtNul)
{
    EXPECT_EQ(windows1252ToUtf8("A\x80"), "A\xE2\x82\xAC");
    EXPECT_EQ(windows1252ToUtf8("\x9F\xE9\xB7"), "\xC5\xB8\xC3\xA9\xC2\xB7");
    EXPECT_EQ(windows1252ToUtf8("\x81"), "\xC2\x81");   // undefined: the C1 control
    EXPECT_EQ(windows1252ToUtf8(std::string_view("ab\0cd", 5)), "ab");
}

TEST(Windows1252, PastedUtf8ComesBackAndWhatTheCodePageLacksIsAQuestionMark)
{
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8("Caf\xE9 \x80\x9F\x81")), "Caf\xE9 \x80\x9F\x81");
    EXPECT_EQ(utf8ToWindows1252("\xE2\x86\x92 \xF0\x9F\x8E\xB5"), "? ?");   // an arrow, a note
    EXPECT_EQ(utf8ToWindows1252("a\xC3"), "a?");                             // cut short
    EXPECT_EQ(utf8ToWindows1252("\xFFz\x80"), "?z?");                        // not UTF-8

    // Pasted text keeps Latin-1 and leaves the rest out.
    EXPECT_EQ(utf8ToLatin1("Caf\xC3\xA9 \xE2\x82\xAC\xC2\x85 \xE2\x86\x92" "a\xC3"), "Caf\xE9  a");
    EXPECT_EQ(windows1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(windows1252ToUnicode(0xFF), U'\u00FF');
}

TEST(FontCatalog, ArialIsLiberationSansAndUnknownFacesFallBack)
{
    FontCatalog catalog;
    EXPECT_EQ(catalog.matchFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(catalog.matchFamily("ARIAL"), "Liberation Sans");
    EXPECT_EQ(catalog.matchFamily("No Such Face"), "DejaVu Sans");
    EXPECT_NE(catalog.matchFamily("Quorbel"), "Quorbel");   // not registered here
    EXPECT_FALSE(catalog.addPrivateFont("/nonexistent/font.ttf"));
    EXPECT_FALSE(catalog.removePrivateFont("/nonexistent/font.ttf"));
    EXPECT_EQ(catalog.open({"Arial", -12}), catalog.open({"Arial", -12}));
}

TEST(FontMetrics, HeightsFollowLogfontRules)
{
    const auto em = arial(-20);
    EXPECT_EQ(em->metrics().height, em->metrics().ascent + em->metrics().descent);
    EXPECT_NEAR(em->metrics().height - em->metrics().internalLeading, 20, 1);
    const auto cell = arial(20);
    EXPECT_NEAR(cell->metrics().height, 20, 1);
    EXPECT_GT(em->metrics().height, cell->metrics().height);
    EXPECT_GT(em->metrics().averageCharWidth, 0);
    EXPECT_GE(em->metrics().maxCharWidth, em->metrics().averageCharWidth);

    FontRequest narrow{"Arial", -20, 5};
    EXPECT_EQ(FontCatalog::process().open(narrow)->metrics().averageCharWidth, 5);
    EXPECT_LT(FontCatalog::process().open(narrow)->measure("WWWW"), em->measure("WWWW"));
}

TEST(TextDrawing, SameCallGivesSamePixelsEveryTime)
{
    const auto font = arial();
    const Image first = textImage(*font, "Pattern 01: C-5 \xE9\xE8");
    EXPECT_FALSE(changedPixels(first, kPaper).empty());
    EXPECT_TRUE(samePixels(first, textImage(*font, "Pattern 01: C-5 \xE9\xE8")));
    FontCatalog other;
    EXPECT_TRUE(samePixels(first, textImage(*other.open({"Arial", -12}), "Pattern 01: C-5 \xE9\xE8")));
}

TEST(TextDrawing, MeasureMatchesWhatIsDrawn)
{
    const auto font = arial(-14);
    // Drawing "Wave" whole equals drawing "Wa" and then "ve" one measure on.
    Image whole(120, 24, kPaper);
    Canvas wholeCanvas(whole);
    const int32_t width = drawText(wholeCanvas, *font, "Wave", {4, 3}, {kInk});
    EXPECT_EQ(width, font->measure("Wave"));
    Image pieces(120, 24, kPaper);
    Canvas pieceCanvas(pieces);
    drawText(pieceCanvas, *font, "Wa", {4, 3}, {kInk});
    drawText(pieceCanvas, *font, "ve", {4 + font->measure("Wa"), 3}, {kInk});
    EXPECT_TRUE(samePixels(whole, pieces));

    // Opaque text fills exactly its cell: measure x height.
    const Image opaque = textImage(*font, "Wave", {kInk, true, rgb(0, 0, 255)});
    EXPECT_EQ(inkBounds(opaque, kPaper), (Rect{4, 3, 4 + width, 3 + font->metrics().height}));

    // A fixed advance places every character that far apart.
    Image fixed(120, 24, kPaper);
    Canvas fixedCanvas(fixed);
    EXPECT_EQ(drawText(fixedCanvas, *font, "0000", {0, 0}, {kInk}, 10), 40);
}

TEST(TextDrawing, TheEuroByteDrawsTheEuroSign)
{
    const auto font = arial();
    EXPECT_NE(font->glyph(0x80), 0u);
    EXPECT_NE(font->glyph(0x80), font->glyph('E'));
    EXPECT_GT(font->advance(0x80), 0);
    EXPECT_FALSE(samePixels(textImage(*font, "\x80"), textImage(*font, "?")));
    EXPECT_FALSE(changedPixels(textImage(*font, "\x80"), kPaper).empty());
}

TEST(TextDrawing, LineInRectIsAlignedCentredClippedAndOpaqueOnlyOverItsCell)
{
    const auto font = arial();
    const Rect box{10, 5, 110, 35};
    const int32_t width = font->measure("Level");
    const int32_t top = box.top + (box.height() - font->metrics().height) / 2;
    struct Case {
        TextAlign align;
        int32_t left;
    };
    for (const auto& c : {Case{TextAlign::left, box.left}, Case{TextAlign::centre, box.left + (100 - width) / 2},
                          Case{TextAlign::right, box.right - width}}) {
        Image image(120, 40, kPaper);
        Canvas canvas(image);
        drawTextInRect(canvas, *font, "Level", box, c.align, {kInk, true, rgb(0, 0, 255)});
        EXPECT_EQ(inkBounds(image, kPaper), (Rect{c.left, top, c.left + width, top + font->metrics().height}));
    }

    // Too long for its box: cut at the box, nothing outside changes.
    Image image(120, 40, kPaper);
    Canvas canvas(image);
    const Rect narrow{20, 10, 50, 30};
    drawTextInRect(canvas, *font, "A much longer line of text", narrow, TextAlign::left, {kInk, true, kInk});
    EXPECT_EQ(changedOutside(image, narrow, kPaper), 0);
    EXPECT_EQ(image.pixelAt(49, 20), kInk);
}

TEST(TextDrawing, StylesChangeTheInk)
{
    const auto regular = arial(-16);
    const auto bold = arial(-16, 700);
    EXPECT_GT(changedPixels(textImage(*bold, "Instrument"), kPaper).size(),
              changedPixels(textImage(*regular, "Instrument"), kPaper).size());

    FontRequest underlined{"Arial", -16};
    underlined.underline = true;
    const auto font = FontCatalog::process().open(underlined);
    const Image image = textImage(*font, "Level");
    const int baseline = 3 + font->metrics().ascent;
    bool lineBelowBaseline = true;
    for (int x = 4; x < 4 + font->measure("Level"); ++x)
        lineBelowBaseline &= image.pixelAt(x, baseline + font->underlineOffset()) == kInk;
    EXPECT_TRUE(lineBelowBaseline);
    EXPECT_LT(baseline + font->underlineOffset(), 3 + font->metrics().height);
}
