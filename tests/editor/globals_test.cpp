#include "editor/core/process_globals.h"
#include "engine/engine_globals.h"
#include "gui/page_fonts.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "model/song/blanks.h"
#include "model/model_globals.h"
#include "pagekit/page_globals.h"
#include "patterneditor/grid/cell_text.h"
#include "plugin/plugin_globals.h"
#include "services/services_globals.h"
#include "shell/shell_globals.h"
#include "platform/system/version.h"

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

// Every layer's values, changed as a session would leave them, come back to
// the load-time state with the one reset tests use.
TEST(LoadTimeGlobals, OneResetPutsEveryLayerBack)
{
    TesselProcessGlobals& globals = processGlobals();
    songCounter() = 41;
    documentVersion() = 0.5f;
    patternMap() = identityPatternMap();
    patternDefaults().length = 128;
    liveChannels()[3].setVolume(12);
    engineGlobals().libraryFileName = "elsewhere.so";
    pluginPreferences().defaultTempo = 200;
    defaultScheme().setSchemeName("Mine");
    clashList().push_back({});
    bitmapFonts()[2] = std::make_unique<TesselFont>(0, 8);
    currentPageNumber() = 5;
    pageOffscreen() = std::make_unique<VSTGUI::COffscreenContext>(nullptr, 4, 4);
    std::strcpy(hostIdentity().product, "Some Host");
    changeCounter() = 9;
    pluginInstances().number = 3;
    services::rememberedReportChoices().email = "me@example.org";

    globals.reset();

    EXPECT_EQ(songCounter().load(), -1);
    EXPECT_EQ(documentVersion(), platform::programVersion());
    for (int32_t entry : patternMap())
        EXPECT_EQ(entry, -1);
    EXPECT_EQ(patternDefaults().length, 64);
    EXPECT_EQ(liveChannels()[3].volume, TesselChannel{}.volume);
    EXPECT_TRUE(engineGlobals().libraryFileName.empty());
    EXPECT_EQ(pluginPreferences().defaultTempo, TesselPreferences{}.defaultTempo);
    EXPECT_EQ(defaultScheme().schemeName(), "Default");
    EXPECT_TRUE(clashList().empty());
    EXPECT_EQ(bitmapFonts()[2], nullptr);
    EXPECT_EQ(currentPageNumber().load(), -1);
    EXPECT_EQ(pageOffscreen(), nullptr);
    EXPECT_STREQ(hostIdentity().product, "");
    EXPECT_EQ(changeCounter().load(), 0u);
    EXPECT_EQ(pluginInstances().number, 0);
    EXPECT_TRUE(services::rememberedReportChoices().email.empty());
    EXPECT_EQ(&globals.model, &modelGlobals());
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
