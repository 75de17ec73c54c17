// The product font is ours alone: registered into a private configuration
// from a file in the private temporary folder, and gone when unregistered.

#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"
#include "platform/system/folders.h"
#include "resources/product_font.h"
#include "support/outside_tools.h"

#include <cstdio>
#include <unistd.h>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// What the machine's own configuration lists for a family, asked of
// fontconfig's own tool (loading that configuration here would cost the
// process memory fontconfig never frees).
std::string systemFilesOf(const std::string& family)
{
    std::string out;
    FILE* pipe = popen(("fc-list '" + family + "' file 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

// The key map's font and the pattern grid's tick labels.
FontRequest keyMapFont()
{
    FontRequest request;
    request.face = "Quorbel";
    request.height = -8;
    request.width = 6;
    return request;
}

} // namespace

TEST(ProductFont, IsFoundOnlyThroughThePrivateConfiguration)
{
    FontCatalog catalog;
    EXPECT_NE(catalog.matchFamily("Quorbel"), "Quorbel");
    const std::string path = resources::registerProductFont(catalog, temporaryFolder());
    ASSERT_EQ(path, joinPath(temporaryFolder(), "Quorbel-" + std::to_string(getpid()) + ".ttf"));
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(catalog.matchFamily("Quorbel"), "Quorbel");
    EXPECT_EQ(catalog.matchFamily("Arial"), "Liberation Sans");
    ASSERT_TRUE(outside_tools::have({"fc-list"}));
    EXPECT_NE(systemFilesOf("DejaVu Sans Mono"), "");
    EXPECT_EQ(systemFilesOf("Quorbel"), "");

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
    const auto font = catalog.open(keyMapFont());
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

// A font file taken away under the process (as another copy closing its
// editor did when all copies shared one file) leaves a face that cannot be
// made: the default face draws instead, never a crash.
TEST(ProductFont, AFaceWhoseFileWentAwayFallsBackToTheDefaultFace)
{
    FontCatalog catalog;
    const std::string path = resources::registerProductFont(catalog, temporaryFolder());
    ASSERT_FALSE(path.empty());
    FontRequest request = keyMapFont();
    EXPECT_EQ(catalog.open(request)->family(), "Quorbel");
    ASSERT_EQ(std::remove(path.c_str()), 0);

    for (int weight : {400, 700}) {
        request.height = -11;
        request.weight = weight;
        const auto font = catalog.open(request);
        EXPECT_EQ(font->family(), "DejaVu Sans") << weight;
        EXPECT_GT(font->metrics().height, 8) << weight;
        EXPECT_GT(font->measure("C-5 01"), 0) << weight;
        Image image(60, 14, rgb(0, 0, 0));
        Canvas canvas(image);
        EXPECT_GT(drawText(canvas, *font, "C-5 01", {0, 0}, {}), 0);
    }
    catalog.removePrivateFont(path);
}
