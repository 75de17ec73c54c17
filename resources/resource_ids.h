#pragma once
// Ids of the bitmaps and data the program carries. The editor and the pages
// load them by these numbers.

#include <cstdint>

namespace resources {

// Bitmap fonts: 16 x 16 cells of 8 x 8 or 6 x 8 pixels, glyphs on key green.
// Cell c holds Windows-1252 character c, except the cells below.
constexpr int32_t kFontWhite = 128;          // 8-pixel cells
constexpr int32_t kFontAmber = 105;
constexpr int32_t kFontGrey = 412;
constexpr int32_t kFontCursor = 424;          // dark glyphs on a light block
constexpr int32_t kFontCyan = 111;
constexpr int32_t kFontMuted = 413;
constexpr int32_t kFontNormal = 414;
constexpr int32_t kSmallFontHighlight = 226;  // 6-pixel cells
constexpr int32_t kSmallFontCursor = 225;
constexpr int32_t kSmallFontGrey = 227;
constexpr int32_t kSmallFontNormal = 228;
constexpr int32_t kSmallFontCyan = 411;

// Cells that hold no character of the code page.
constexpr unsigned char kGlyphBitLeft = 132;    // "bit" over two cells
constexpr unsigned char kGlyphBitRight = 133;
constexpr unsigned char kGlyphKiloHertzLeft = 134;   // "kHz" over two cells
constexpr unsigned char kGlyphKiloHertzRight = 135;
constexpr unsigned char kGlyphTreeVertical = 168;    // │
constexpr unsigned char kGlyphTreeLast = 184;        // └
constexpr unsigned char kGlyphTreeBranch = 208;      // ├
constexpr unsigned char kGlyphBoxOpen = 190;         // expanded node
constexpr unsigned char kGlyphBoxClosed = 240;       // collapsed node

constexpr int32_t kSmallDigits = 100;    // 82 x 6: 31-pixel label, digits at 31 + 5d, point at 80
constexpr int32_t kToolbarStrip = 103;   // 493 x 36
constexpr int32_t kFrameSlices = 121;    // 5 x 11: 2-pixel caps around a 1-pixel middle
constexpr int32_t kUndoPanel = 131;      // 440 x 116: ten label lines from (7, 30), 8 apart
constexpr int32_t kWindowIcon = 249;     // 32 x 32
constexpr int32_t kReportIcon = 300;     // 32 x 32: the error report dialog's warning sign
constexpr int32_t kFolderButton = 387;   // 14 x 9: the path box's button
constexpr int32_t kCursorBlock = 268;    // 8 x 8
constexpr int32_t kChannelHeaderSkin = 231;   // 9 x 5: 3-pixel caps around a 3-pixel middle
constexpr int32_t kCloseBox = 330;       // 12 x 22: two faces of 11 rows, on key green
constexpr int32_t kListIcons = 384;      // 8 x 8 icons in a row, on key green
constexpr int32_t kCapsLockPlate = 436;
// The envelope graph's lane labels: one lane (and its second-lane form), and
// the upper and lower lanes of a split graph.
constexpr int32_t kEnvelopeLabelSecondLane = 407;
constexpr int32_t kEnvelopeLabelUpperLane = 408;
constexpr int32_t kEnvelopeLabelLowerLane = 409;
constexpr int32_t kEnvelopeLabelOneLane = 410;

// The editor window's pages and panels.
constexpr int32_t kSidePagePanel = 108;     // 705 x 432: the size of the pages at (9, 43)
constexpr int32_t kSplashBackground = 388;  // 480 x 300
constexpr int32_t kSplashLogo = 389;        // 280 x 64, on key green
constexpr int32_t kSplashHostMark = 403;    // 120 x 20: drawn only in the own host
// The order list and info pages (each bitmap 108's size) and the info page's
// level meter, drawn from its left edge as wide as the level.
constexpr int32_t kOrderListSkin = 109;
constexpr int32_t kInfoPageSkin = 198;
constexpr int32_t kLevelMeter = 393;        // 100 x 8

// The help panel: the panel (723 x 64), the same while the editor window is
// inactive, the two-faced buttons (upper face up, lower face pressed, each
// the size of its place below) and the mark of the toggle (12 x 12, at
// 322, 9 while the panel shows at start).
constexpr int32_t kHelpPanel = 261;
constexpr int32_t kHelpPanelInactive = 267;
constexpr int32_t kHelpGettingStarted = 263;
constexpr int32_t kHelpFurther = 264;
constexpr int32_t kHelpSearch = 265;
constexpr int32_t kHelpContents = 266;
constexpr int32_t kHelpShownMark = 400;

// The sample list page (resources/sample_page_layout.h places them): the
// vibrato waveform icons (20 x 9, on key green), the name cursor block
// (8 x 8), the fields panel (412 x 184), the page (705 x 432), the normalise
// popup (200 x 64) with its two-faced buttons (53 x 36), the six file
// buttons up and pressed (90 x 58 each), the browser frame (418 x 408) and
// the waveform's background (412 x 206).
constexpr int32_t kVibratoRandom = 134;
constexpr int32_t kVibratoRampDown = 136;
constexpr int32_t kVibratoSine = 138;
constexpr int32_t kVibratoSquare = 140;
constexpr int32_t kSampleNameCursor = 152;
constexpr int32_t kSampleFieldsPanel = 199;
constexpr int32_t kSamplePagePanel = 200;
constexpr int32_t kNormalisePopup = 214;
constexpr int32_t kNormaliseCancel = 215;
constexpr int32_t kNormaliseOk = 217;
constexpr int32_t kSampleFileButtonsUp = 259;
constexpr int32_t kSampleFileButtonsDown = 298;
constexpr int32_t kSampleBrowserFrame = 383;
constexpr int32_t kSampleWaveform = 417;
// The preferences page (page 8) and its keyboard shortcuts sub-page. Button
// labels have two faces of 18 rows: up, then pressed.
constexpr int32_t kPreferencesPanel = 110;     // 586 x 317, the resolution slider's label at its left
constexpr int32_t kSettingsButton = 431;       // 84 x 36
constexpr int32_t kKeyboardButton = 345;       // 84 x 36
constexpr int32_t kSaveDefaultButton = 213;    // 84 x 36
constexpr int32_t kSettingsPanel = 430;        // 586 x 170
constexpr int32_t kSettingsHeading = 432;      // 561 x 11: behind a section's heading, at x 15
constexpr int32_t kKeyboardPanel = 349;        // 586 x 280
constexpr int32_t kLoadSchemeButton = 350;     // 68 x 36
constexpr int32_t kSaveSchemeButton = 351;     // 69 x 36
constexpr int32_t kDefaultSchemeButton = 354;  // 69 x 36
constexpr int32_t kCapturePanel = 352;         // 306 x 38
constexpr int32_t kKeyboardKeyCap = 353;       // 16 x 16: loaded with the page, never drawn

struct SkinPlace {
    int32_t left, top, right, bottom;
};
// The panel's buttons: 0 contents, 1 search, 2 getting started, 3 going
// further, 4 the show-at-start toggle (no bitmap of its own) around the mark.
constexpr SkinPlace kHelpPanelButtons[5] = {
    {158, 8, 234, 56}, {238, 8, 314, 56}, {474, 8, 594, 56}, {598, 8, 718, 56}, {318, 5, 470, 25}};
constexpr SkinPlace kHelpShownMarkPlace = {322, 9, 334, 21};

// The pattern editor page: the title strip's tile (16 x 12); the window
// buttons, two faces of n x n above each other (up, pressed): always on top,
// maximise, hide and manual key mode 7 x 7, feedback and linked windows 12 x
// 12; the status strip's toggles (12 x 12, off and lit); the info bar
// (480 x 30) and the amplify prompt (260 x 48, its slider at 10, 22 to
// 250, 32).
constexpr int32_t kTitleStrip = 356;
constexpr int32_t kButtonAlwaysOnTop = 250;
constexpr int32_t kButtonMaximise = 390;
constexpr int32_t kButtonHide = 246;
constexpr int32_t kButtonKeyMode = 247;
constexpr int32_t kButtonFeedback = 251;
constexpr int32_t kButtonLink = 302;
constexpr int32_t kHelpToggleOff = 336;
constexpr int32_t kHelpToggleOn = 337;
constexpr int32_t kInfoToggleOff = 381;
constexpr int32_t kInfoToggleOn = 380;
constexpr int32_t kInfoPanel = 377;
constexpr int32_t kAmplifyPrompt = 124;
// The instrument list page. File buttons (43 x 36: the upper face up, the
// lower pressed): New, Load, Save, Swap.
constexpr int32_t kInstrumentLoadButton = 320;
constexpr int32_t kInstrumentNewButton = 321;
constexpr int32_t kInstrumentSaveButton = 322;
constexpr int32_t kInstrumentSwapButton = 323;
// The swap popup (200 x 60): swap in the list only, and in the patterns too.
constexpr int32_t kSwapInList = 325;
constexpr int32_t kSwapInPatterns = 326;
// Button icons on key green: new-note actions (cut, continue, note off,
// fade) and duplicate checks (off, note, sample, instrument).
constexpr int32_t kActionNoteOff = 153;
constexpr int32_t kActionContinue = 155;
constexpr int32_t kActionCut = 157;
constexpr int32_t kActionFade = 159;
constexpr int32_t kCheckNote = 162;
constexpr int32_t kCheckSample = 164;
constexpr int32_t kCheckOff = 166;
constexpr int32_t kCheckInstrument = 168;
// The MIDI panel's background (330 x 240): a title strip and 13 labelled
// rows 17 pixels apart from y 20.
constexpr int32_t kMidiPanel = 219;
// The key map: the velocity scale over the region area (261 x 11), the
// region cursor (5 x 12, on key green) and the region area's button (19 x 11).
constexpr int32_t kKeyMapVelocityScale = 404;
constexpr int32_t kKeyMapRegionCursor = 405;
constexpr int32_t kKeyMapRegionButton = 406;
// The pattern overview panel (403 x 286): a title strip under the close box
// and room for the 384 x 256 map at (9, 20) inside its frame's lines.
constexpr int32_t kOverviewPanel = 271;

// The toolbar in the host's window: the file menu and page buttons (17 x 15
// faces) and the transport buttons (22 high), two faces above each other
// (up, pressed), and the logo at its right end (28 x 28).
constexpr int32_t kToolbarFileMenu = 242;
constexpr int32_t kToolbarPatternEditor = 239;
constexpr int32_t kToolbarSampleList = 245;
constexpr int32_t kToolbarInstrumentList = 244;
constexpr int32_t kToolbarInfoPage = 243;
constexpr int32_t kToolbarOrderList = 238;
constexpr int32_t kToolbarPreferences = 240;
constexpr int32_t kToolbarPlaySong = 206;         // 65 wide
constexpr int32_t kToolbarPlayPattern = 204;      // 62 wide
constexpr int32_t kToolbarPlayFromCursor = 202;   // 70 wide
constexpr int32_t kToolbarStop = 208;             // 60 wide
constexpr int32_t kToolbarLogo = 402;
// The pattern options panel (408 x 103): its title strip, and the labels of
// the pattern label (text box at 107, 24) and of the three sliders (107, 38,
// 52 and 66).
constexpr int32_t kPatternOptionsPanel = 233;

// Data: the product font, a TrueType file whose family is "Quorbel".
constexpr int32_t kProductFont = 275;

} // namespace resources
