// The embedded resources: sizes by id, the bitmap fonts' cell layout, and
// the key colour where pages draw them keyed.

#include "platform/graphics/canvas.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"

#include <gtest/gtest.h>

#include <set>

using namespace resources;
using platform::Colour;
using platform::Image;
using platform::kKeyGreen;

TEST(Resources, BitmapsHaveTheirSizesAndUnknownIdsAreEmpty)
{
    struct Case {
        int32_t id;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {kFontWhite, 128, 128},  {kFontAmber, 128, 128},  {kFontGrey, 128, 128},     {kFontCursor, 128, 128},
        {kFontCyan, 128, 128},   {kFontMuted, 128, 128},  {kFontNormal, 128, 128},   {kSmallFontHighlight, 96, 128},
        {kSmallFontCursor, 96, 128}, {kSmallFontGrey, 96, 128}, {kSmallFontNormal, 96, 128}, {kSmallFontCyan, 96, 128},
        {kSmallDigits, 82, 6},   {kCloseBox, 12, 22},     {kListIcons, 56, 8},       {kToolbarStrip, 493, 36},
        {kWindowIcon, 32, 32},   {kFrameSlices, 5, 11},   {kCursorBlock, 8, 8},      {kCapsLockPlate, 80, 16},
        {kChannelHeaderSkin, 9, 5}, {kUndoPanel, 440, 116}, {kFolderButton, 14, 9},
        {kEnvelopeLabelSecondLane, 33, 11}, {kEnvelopeLabelUpperLane, 39, 11},
        {kEnvelopeLabelLowerLane, 57, 11},  {kEnvelopeLabelOneLane, 45, 11},
        {kSidePagePanel, 705, 432}, {kOrderListSkin, 705, 432}, {kInfoPageSkin, 705, 432}, {kLevelMeter, 100, 8},
        {kSplashBackground, 480, 300}, {kSplashLogo, 280, 64}, {kSplashHostMark, 120, 20},
        {kHelpPanel, 723, 64},   {kHelpPanelInactive, 723, 64}, {kHelpShownMark, 12, 12},
        {kHelpContents, 76, 96}, {kHelpSearch, 76, 96},   {kHelpGettingStarted, 120, 96}, {kHelpFurther, 120, 96},
        {kTitleStrip, 16, 12},   {kButtonAlwaysOnTop, 7, 14}, {kButtonMaximise, 7, 14}, {kButtonHide, 7, 14},
        {kButtonKeyMode, 7, 14}, {kButtonFeedback, 12, 24}, {kButtonLink, 12, 24},  {kHelpToggleOff, 12, 12},
        {kHelpToggleOn, 12, 12}, {kInfoToggleOff, 12, 12}, {kInfoToggleOn, 12, 12}, {kInfoPanel, 480, 30},
        {kAmplifyPrompt, 260, 48}, {kReportIcon, 32, 32},
        {kSamplePagePanel, 705, 432}, {kSampleWaveform, 412, 206}, {kSampleFieldsPanel, 412, 184},
        {kSampleBrowserFrame, 418, 408}, {kSampleFileButtonsUp, 90, 58}, {kSampleFileButtonsDown, 90, 58},
        {kNormalisePopup, 200, 64}, {kNormaliseOk, 53, 36}, {kNormaliseCancel, 53, 36},
        {kVibratoSine, 20, 9}, {kVibratoRampDown, 20, 9}, {kVibratoSquare, 20, 9}, {kVibratoRandom, 20, 9},
        {kSampleNameCursor, 8, 8},
        {kInstrumentLoadButton, 43, 36}, {kInstrumentNewButton, 43, 36}, {kInstrumentSaveButton, 43, 36},
        {kInstrumentSwapButton, 43, 36}, {kSwapInList, 200, 60}, {kSwapInPatterns, 200, 60},
        {kActionNoteOff, 19, 8}, {kActionContinue, 25, 8}, {kActionCut, 19, 8}, {kActionFade, 25, 8},
        {kCheckNote, 25, 8}, {kCheckSample, 19, 8}, {kCheckOff, 19, 8}, {kCheckInstrument, 19, 8},
        {kMidiPanel, 330, 240}, {kKeyMapVelocityScale, 261, 11}, {kKeyMapRegionCursor, 5, 12},
        {kKeyMapRegionButton, 19, 11},
        {kPreferencesPanel, 586, 317}, {kKeyboardButton, 84, 36}, {kKeyboardPanel, 586, 280},
        {kLoadSchemeButton, 68, 36}, {kSaveSchemeButton, 69, 36}, {kDefaultSchemeButton, 69, 36},
        {kCapturePanel, 306, 38}, {kKeyboardKeyCap, 16, 16}, {kSettingsButton, 84, 36},
        {kSaveDefaultButton, 84, 36}, {kSettingsPanel, 586, 170}, {kSettingsHeading, 561, 11},
        {kOverviewPanel, 403, 286},
        {kToolbarFileMenu, 17, 30}, {kToolbarPatternEditor, 17, 30}, {kToolbarSampleList, 17, 30},
        {kToolbarInstrumentList, 17, 30}, {kToolbarInfoPage, 17, 30}, {kToolbarOrderList, 17, 30},
        {kToolbarPreferences, 17, 30}, {kToolbarPlaySong, 65, 44}, {kToolbarPlayPattern, 62, 44},
        {kToolbarPlayFromCursor, 70, 44}, {kToolbarStop, 60, 44}, {kToolbarLogo, 28, 28},
        {kPatternOptionsPanel, 408, 103},
        {0, 0, 0},               {-1, 0, 0},              {99999, 0, 0},             {kProductFont, 0, 0},
    };
    for (const auto& c : cases) {
        const Image image = loadBitmap(c.id);
        EXPECT_EQ(image.width(), c.width) << c.id;
        EXPECT_EQ(image.height(), c.height) << c.id;
    }
    EXPECT_EQ(bitmapIds().size(), 113u);
    EXPECT_FALSE(describe(kCloseBox).empty());

    // Each load is a copy of its own.
    Image first = loadBitmap(kCursorBlock);
    platform::Canvas(first).fillRect(first.bounds(), platform::rgb(1, 2, 3));
    EXPECT_NE(loadBitmap(kCursorBlock).pixelAt(0, 0), platform::rgb(1, 2, 3));
}

TEST(Resources, TheProductFontIsATrueTypeFileAndBitmapsAreNoData)
{
    const auto font = loadData(kProductFont);
    ASSERT_GT(font.size(), 1000u);
    EXPECT_EQ(font[0], 0x00);
    EXPECT_EQ(font[1], 0x01);
    EXPECT_EQ(font[2], 0x00);
    EXPECT_EQ(font[3], 0x00);
    EXPECT_TRUE(loadData(kFontWhite).empty());
    EXPECT_TRUE(loadData(4242).empty());
}

namespace {

struct Strip {
    int32_t id;
    int cell;
    bool cursor;
};
constexpr Strip kStrips[] = {
    {kFontWhite, 8, false}, {kFontAmber, 8, false}, {kFontGrey, 8, false}, {kFontCursor, 8, true},
    {kFontCyan, 8, false}, {kFontMuted, 8, false}, {kFontNormal, 8, false}, {kSmallFontHighlight, 6, false},
    {kSmallFontCursor, 6, true}, {kSmallFontGrey, 6, false}, {kSmallFontNormal, 6, false}, {kSmallFontCyan, 6, false},
};

// The colours met inside character c's cell.
std::set<uint32_t> cellColours(const Image& strip, int cell, unsigned char c)
{
    std::set<uint32_t> colours;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < cell; ++x)
            colours.insert(platform::toColorRef(strip.pixelAt((c % 16) * cell + x, (c / 16) * 8 + y)));
    return colours;
}

bool inked(const Image& strip, int cell, unsigned char c, int x, int y)
{
    const Colour back = strip.pixelAt((c % 16) * cell + cell - 1, (c / 16) * 8 + 7);
    return !(strip.pixelAt((c % 16) * cell + x, (c / 16) * 8 + y) == back);
}

} // namespace

TEST(BitmapFonts, GlyphsStandInTheirCellsOnTheBackground)
{
    for (const auto& s : kStrips) {
        const Image strip = loadBitmap(s.id);
        // A plain font is its ink on key green; a cursor font fills every cell.
        const auto space = cellColours(strip, s.cell, ' ');
        ASSERT_EQ(space.size(), 1u) << s.id;
        EXPECT_EQ(*space.begin() == platform::toColorRef(kKeyGreen), !s.cursor) << s.id;
        // Letters, digits and accented letters have ink and one ink colour;
        // the last column of each cell stays clear so neighbours never touch.
        for (unsigned char c : std::initializer_list<unsigned char>{'A', 'g', '0', '~', 0xE9, 0xC5, 0x80, 0xB7}) {
            EXPECT_EQ(cellColours(strip, s.cell, c).size(), 2u) << s.id << " cell " << int(c);
            for (int y = 0; y < 8; ++y)
                EXPECT_FALSE(inked(strip, s.cell, c, s.cell - 1, y)) << s.id << " cell " << int(c);
        }
    }
}

TEST(BitmapFonts, SpecialCellsHoldUnitsTreeLinesAndBoxes)
{
    for (const auto& s : kStrips) {
        const Image strip = loadBitmap(s.id);
        const int column = s.cell / 2 - 1;
        // "bit" and "kHz" each run over both of their cells.
        for (unsigned char c : {kGlyphBitLeft, kGlyphBitRight, kGlyphKiloHertzLeft, kGlyphKiloHertzRight})
            EXPECT_EQ(cellColours(strip, s.cell, c).size(), 2u) << s.id << " cell " << int(c);
        // The vertical line joins the rows above and below; the last branch
        // stops at its arm; the arms reach the next cell.
        EXPECT_TRUE(inked(strip, s.cell, kGlyphTreeVertical, column, 0));
        EXPECT_TRUE(inked(strip, s.cell, kGlyphTreeVertical, column, 7));
        EXPECT_TRUE(inked(strip, s.cell, kGlyphTreeBranch, column, 7));
        EXPECT_FALSE(inked(strip, s.cell, kGlyphTreeLast, column, 7));
        for (unsigned char c : {kGlyphTreeLast, kGlyphTreeBranch})
            EXPECT_TRUE(inked(strip, s.cell, c, s.cell - 1, 3)) << s.id << " cell " << int(c);
        EXPECT_FALSE(inked(strip, s.cell, kGlyphTreeVertical, s.cell - 1, 3));
        // The boxes are centred on the line; the closed one adds a stroke.
        EXPECT_TRUE(inked(strip, s.cell, kGlyphBoxOpen, column, 3));
        EXPECT_FALSE(inked(strip, s.cell, kGlyphBoxOpen, column, 2));
        EXPECT_TRUE(inked(strip, s.cell, kGlyphBoxClosed, column, 2));
    }
}

TEST(Skins, KeyedSkinsLeaveTheirCornersToTheBackground)
{
    const Image close = loadBitmap(kCloseBox);
    for (int face : {0, 11}) {
        EXPECT_EQ(close.pixelAt(0, face), kKeyGreen);
        EXPECT_EQ(close.pixelAt(10, face + 10), kKeyGreen);
        EXPECT_NE(close.pixelAt(5, face + 5), kKeyGreen);
    }
    EXPECT_EQ(close.pixelAt(11, 5), kKeyGreen);

    const Image icons = loadBitmap(kListIcons);
    for (int icon = 0; icon < 7; ++icon) {
        int keyed = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                keyed += icons.pixelAt(icon * 8 + x, y) == kKeyGreen;
        EXPECT_GT(keyed, 0) << icon;
        EXPECT_LT(keyed, 64) << icon;
    }
}

TEST(Skins, HelpPanelButtonsShowTwoFacesAndTheMarkFillsItsBox)
{
    // Each button's bitmap is two faces of its place, up over pressed.
    const int32_t buttons[] = {kHelpContents, kHelpSearch, kHelpGettingStarted, kHelpFurther};
    for (int i = 0; i < 4; ++i) {
        const Image faces = loadBitmap(buttons[i]);
        const SkinPlace& place = kHelpPanelButtons[i];
        ASSERT_EQ(faces.width(), place.right - place.left) << i;
        ASSERT_EQ(faces.height(), 2 * (place.bottom - place.top)) << i;
        int differing = 0;
        for (int y = 0; y < faces.height() / 2; ++y)
            for (int x = 0; x < faces.width(); ++x)
                differing += faces.pixelAt(x, y) != faces.pixelAt(x, y + faces.height() / 2);
        EXPECT_GT(differing, faces.width()) << i;
    }
    // The toggle's place in both looks shows an empty box that the mark changes.
    const Image mark = loadBitmap(kHelpShownMark);
    for (int32_t look : {kHelpPanel, kHelpPanelInactive}) {
        const Image panel = loadBitmap(look);
        int differing = 0;
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x)
                differing += panel.pixelAt(kHelpShownMarkPlace.left + x, kHelpShownMarkPlace.top + y) != mark.pixelAt(x, y);
        EXPECT_GT(differing, 10) << look;
    }
}
