#include "gui/tessel_font.h"
#include "model/blanks.h"
#include "model/model_globals.h"
#include "shell/command_scheme.h"
#include "plugin/plugin_globals.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(LoadTimeGlobals, InitialContents)
{
    EXPECT_EQ(defaultScheme().schemeName(), "Default");
    for (int32_t entry : patternMap())
        EXPECT_EQ(entry, -1);
    for (const auto& font : bitmapFonts())
        EXPECT_EQ(font, nullptr);
    EXPECT_EQ(pageOffscreen(), nullptr);
    EXPECT_TRUE(keyLookupMap().empty());
}

TEST(LoadTimeGlobals, BlankCellsAreEmpty)
{
    const TesselSubrow& subrow = blankSubrow();
    EXPECT_EQ(subrow.pitch, -1);
    EXPECT_EQ(subrow.volume, -1);
    EXPECT_EQ(subrow.panning, -1);
    EXPECT_EQ(subrow.depth, -1);
    EXPECT_EQ(subrow.instrument, 0);
    EXPECT_EQ(subrow.effect.command, '.');
    EXPECT_EQ(subrow.effect.parameter, 0);
    EXPECT_EQ(subrow.index, 0);

    const TesselTrack& track = blankTrack();
    EXPECT_EQ(track.index, -1);
    EXPECT_EQ(track.length(), 64);
    for (int row = 0; row < track.length(); ++row) {
        EXPECT_EQ(track.rowAt(row), nullptr);
        EXPECT_TRUE(track.rowOrBlank(row).isEmpty());
    }
}

TEST(LoadTimeGlobals, EmptyCellTextsAreFourteenBytes)
{
    const unsigned char expected[] = {0x20, 0xB7, 0xB7, 0xB7, 0x20, 0xB7, 0xB7, 0x20, 0xB7, 0xB7, 0x20, 0x2E, 0x30, 0x30};
    EXPECT_EQ(std::memcmp(kEmptyCell, expected, 14), 0);
    EXPECT_EQ(std::strlen(kEmptyCellJoined), 14u);
    EXPECT_EQ(std::strlen(kEmptyCellNoEffect), 14u);
    EXPECT_EQ(static_cast<unsigned char>(kEmptyCellJoinedNoEffect[10]), 0xB7);
    EXPECT_EQ(kEmptyCellJoinedNoEffect[13], '.');
}

} // namespace
