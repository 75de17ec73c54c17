// The product font is ours alone: registered into a private configuration
// from a file in the private temporary folder, and gone when unregistered.

#include "platform/folders.h"
#include "platform/font_catalog.h"
#include "platform/text.h"
#include "resources/product_font.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// What the machine's own configuration knows of a family.
int systemFontsOf(const char* family)
{
    FcPattern* pattern = FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    const int count = set ? set->nfont : 0;
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return count;
}

} // namespace

TEST(ProductFont, IsFoundOnlyThroughThePrivateConfiguration)
{
    FontCatalog catalog;
    EXPECT_NE(catalog.matchFamily("Quorbel"), "Quorbel");
    const std::string path = resources::registerProductFont(catalog, temporaryFolder());
    ASSERT_EQ(path, joinPath(temporaryFolder(), "Quorbel.ttf"));
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(catalog.matchFamily("Quorbel"), "Quorbel");
    EXPECT_EQ(catalog.matchFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(systemFontsOf("Quorbel"), 0);
    EXPECT_GT(systemFontsOf("DejaVu Sans Mono"), 0);

    FontCatalog other;
    EXPECT_NE(other.matchFamily("Quorbel"), "Quorbel");

    resources::unregisterProductFont(catalog, path);
    EXPECT_FALSE(fileExists(path));
    EXPECT_NE(catalog.matchFamily("Quorbel"), "Quorbel");
}

TEST(ProductFont, AWidthOfSixAtHeightEightAdvancesSix)
{
    FontCatalog catalog;
    const std::string path = resources::registerProductFont(catalog, temporaryFolder());
    ASSERT_FALSE(path.empty());
    // The key map's font and the pattern grid's tick labels.
    FontRequest request;
    request.face = "Quorbel";
    request.height = -8;
    request.width = 6;
    const auto font = catalog.open(request);
    EXPECT_EQ(font->family(), "Quorbel");
    EXPECT_EQ(font->metrics().averageCharWidth, 6);
    for (unsigned char c : std::initializer_list<unsigned char>{'0', 'W', 'i', '#', 0xB7})
        EXPECT_EQ(font->advance(c), 6) << int(c);
    EXPECT_EQ(font->measure("C-5 01"), 36);

    Image image(60, 12, rgb(0, 0, 0));
    Canvas canvas(image);
    EXPECT_EQ(drawText(canvas, *font, "C-5 01", {0, 0}, {}), 36);
    resources::unregisterProductFont(catalog, path);
}

TEST(ProductFont, RegisteringFailsCleanlyWithoutAFolder)
{
    FontCatalog catalog;
    EXPECT_EQ(resources::registerProductFont(catalog, ""), "");
    EXPECT_EQ(resources::registerProductFont(catalog, "/nonexistent/folder"), "");
    EXPECT_NE(catalog.matchFamily("Quorbel"), "Quorbel");
}
