#pragma once
// The names of our help pages, as the pages, the pattern editor and the help
// popup ask for them. Names compare without regard to case.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace help {

// The page the viewer opens first, and the contents page beside it.
constexpr const char* kDefaultTopic = "Welcome.htm";
constexpr const char* kContents = "Contents.htm";

// The help page's buttons.
constexpr const char* kWelcome = "Welcome.htm";
constexpr const char* kGettingStarted = "GettingStarted.htm";
constexpr const char* kFurther = "Further.htm";

// Context help (F1) of the pages.
constexpr const char* kPatternEditor = "PE.htm";
constexpr const char* kPatternPitch = "PE_Pitch.htm";
constexpr const char* kPatternInstrument = "PE_Instrument.htm";
constexpr const char* kPatternVolume = "PE_Volume.htm";
constexpr const char* kPatternModes = "PE_Modes.htm";
constexpr const char* kSampleList = "SL.htm";
constexpr const char* kInstrumentList = "IL.htm";
constexpr const char* kInstrumentGeneral = "IL_General.htm";
constexpr const char* kInstrumentVolume = "IL_Volume.htm";
constexpr const char* kInstrumentPanning = "IL_Panning.htm";
constexpr const char* kInstrumentPitch = "IL_Pitch.htm";
constexpr const char* kInstrumentFilter = "IL_Filter.htm";
constexpr const char* kInstrumentMidi = "IL_MIDI.htm";
constexpr const char* kOrderList = "OL.htm";
constexpr const char* kOrderListChannels = "OL_Channel.htm";
constexpr const char* kInfoPage = "IP.htm";
constexpr const char* kPreferences = "PR.htm";
constexpr const char* kPreferencesKeyboard = "PR_Keyboard.htm";
constexpr const char* kEffectList = "FX_list.htm";

// The help page of an effect command: its letter (as stored, so a lower-case
// letter is no command) and, for 'S', its parameter.
const char* effectHelpPage(unsigned char letter, int32_t parameter);

// F1 in the pattern grid: by cursor column (0..8) and the cell's effect.
const char* cellHelpPage(int column, unsigned char effectLetter, int32_t effectParameter);

// F1 on the instrument list: the tab's page (0 General .. 4 Filter) while a
// field has the focus, the list's page while the list has it.
const char* instrumentHelpPage(int tab, bool listFocused);

// The key reference that "HelpKeyboard" shows over an editor page (page
// numbers 1, 2, 4, 6, 7, 8; anything else gets the pattern editor's).
const char* keyboardHelpPage(int pageNumber);

// The key-reference pages the popup steps through with the arrow keys.
struct ChainRow {
    int previous;    // row, -1 none
    const char* page;
    int next;
};
std::span<const ChainRow> keyReferenceChain();
// The row of a page name (any case), -1 when it is not in the chain.
int chainRowOf(std::string_view page);
// The page before or after one in the chain; null when there is none.
const char* chainNeighbour(std::string_view page, bool forward);

// Every place in the program that opens a help page by name, with the name.
struct Topic {
    const char* where;
    const char* page;
};
std::span<const Topic> helpTopics();

// True when two page names are the same page.
bool samePage(std::string_view a, std::string_view b);

} // namespace help
