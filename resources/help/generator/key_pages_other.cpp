// The global keys and the key pages of the sample list, instrument list,
// info page, order list and preferences.
#include "key_pages.h"

#include "shell/command_ids.h"

namespace helpgen {

namespace {

using namespace cmd;

KeySection section(std::string title, std::vector<KeyRow> rows)
{
    KeySection s{std::move(title), {}};
    addRows(s, rows);
    return s;
}

KeyPage globalKeys()
{
    KeyPage page{"Keys_PB_1.htm", "Global Keys: Files, Playback and Pages", {}};
    page.sections.push_back(section("Files", {
        commandRow(root::kContext, root::kNewModule, "New module"),
        commandRow(root::kContext, root::kLoadModule, "Open a module"),
        commandRow(root::kContext, root::kSaveModule, "Save the module"),
        commandRow(root::kContext, root::kSaveModuleAs, "Save the module as..."),
    }));
    page.sections.push_back(section("Playback", {
        commandRow(root::kContext, root::kPlaySong, "Play the song"),
        commandRow(root::kContext, root::kPlayPattern, "Play the pattern"),
        commandRow(root::kContext, root::kPlayFromCursor, "Play from the cursor"),
        commandRow(root::kContext, root::kPlayPatternFromCursor, "Play the pattern from the cursor"),
        commandRow(root::kContext, root::kStop, "Stop"),
        commandRow(root::kContext, root::kReset, "Stop and reset the channels"),
        commandRow(root::kContext, root::kRebuildSync, "Rebuild the timing of the song"),
    }));
    page.sections.push_back(section("Pages", {
        commandRow(root::kContext, root::kPatternEditor),
        commandRow(root::kContext, root::kSampleList),
        commandRow(root::kContext, root::kInstrumentList),
        commandRow(root::kContext, root::kInfoPage),
        commandRow(root::kContext, root::kOrderList),
        commandRow(root::kContext, root::kPreferences),
        {"Escape", "Back to the pattern editor"},
        {"Ctrl-F4", "Hide the editor window"},
    }));
    page.sections.push_back(section("Help", {
        commandRow(root::kContext, root::kHelpContext, "Help on this page"),
        commandRow(root::kContext, root::kHelpKeyboard, "This key reference"),
        {"Ctrl-F1", "Help panel"},
    }));
    page.sections.push_back(section("Everywhere", {
        commandRow(root::kContext, root::kBaseOctaveUp, "Octave up"),
        commandRow(root::kContext, root::kBaseOctaveDown, "Octave down"),
        {"Alt-F1 to Alt-F8", "Mute channel 1 to 8"},
        {"Shift-F2 to Shift-F12", "The host's own F2 to F12"},
        {"Caps Lock", "Live play: the keys play notes"},
        {"Ctrl-Alt-r, Ctrl-Alt-F2", "Editor window to the front and back (from any program)"},
        {"Ctrl-Alt-t", "Keep the editor window on top"},
        {"Ctrl-Alt-k", "Leave manual key mode"},
    }));
    return page;
}

KeyPage sampleListKeys()
{
    KeyPage page{"Keys_SL_1.htm", "Sample List Keys", {}};
    page.sections.push_back(section("Choosing a sample", {
        {"Up, Down", "Previous or next sample"},
        {"Page Up, Page Down", "16 samples back or on (in a field: one)"},
        {"Home", "Start of the name, then sample 1"},
        {"End", "End of the name, then sample 99"},
    }));
    page.sections.push_back(section("Name and fields", {
        {"Left, Right", "Move in the name"},
        {"Letters, digits", "Type into the name"},
        {"Back, Insert, Delete", "Edit the name"},
        {"Tab, Shift-Tab", "Next or previous field"},
        {"Left, Right (a slider)", "Change the value (with Shift: by 5)"},
        {"Digits (a number)", "Type the value"},
    }));
    page.sections.push_back(section("Samples", {
        commandRow(root::kContext, root::kCopy, "Copy the sample"),
        commandRow(root::kContext, root::kCut, "Cut the sample"),
        commandRow(root::kContext, root::kPaste, "Paste (over a used sample: press again)"),
        commandRow(sample_list::kContext, sample_list::kDelete, "Delete the sample (press again)"),
        commandRow(sample_list::kContext, sample_list::kNormalise, "Normalise..."),
        commandRow(root::kContext, root::kSampleList, "File browser, or back to the list"),
        {"Enter", "File browser"},
        {"Escape", "Back to the list, then the pattern editor"},
        {"Note keys", "Play the sample at that note"},
    }));
    return page;
}

KeyPage instrumentListKeys()
{
    KeyPage page{"Keys_IL_1.htm", "Instrument List Keys", {}};
    page.sections.push_back(section("Choosing an instrument", {
        {"Up, Down", "Previous or next instrument"},
        {"Page Up, Page Down", "16 back or on (in a field: one)"},
        {"Home, End", "Start or end of the name, then the first or last"},
    }));
    page.sections.push_back(section("Name and label", {
        {"Left, Right", "Move in the name and its two-letter label"},
        {"Letters, digits", "Type the name or the label"},
        {"Back, Insert, Delete", "Edit the name"},
        {"` (on the label)", "Instrument labels or numbers in patterns"},
        {"Enter (on the label), Alt-0 to Alt-4", "Choose the colour"},
    }));
    page.sections.push_back(section("Instruments", {
        commandRow(root::kContext, root::kCopy, "Copy the instrument"),
        commandRow(root::kContext, root::kCut, "Cut the instrument"),
        commandRow(root::kContext, root::kPaste, "Paste (over a used one: press again)"),
        commandRow(instrument_list::kContext, instrument_list::kDelete, "Delete the instrument (press again)"),
        commandRow(instrument_list::kContext, instrument_list::kSwapInList, "Swap with another (list only)..."),
        commandRow(instrument_list::kContext, instrument_list::kSwapInPatterns,
                   "Swap with another (list and patterns)..."),
        commandRow(root::kContext, root::kInstrumentList, "Next tab"),
        {"Enter", "File browser"},
        {"Escape", "Back to the list, then the pattern editor"},
        {"Note keys", "Play the instrument"},
    }));
    page.sections.push_back(section("Fields, envelopes, key map", {
        {"Tab, Shift-Tab", "Next or previous field"},
        {"Home, End, Left, Right", "Choose an envelope node"},
        {"Ctrl, Shift, Ctrl-Shift with arrows", "Move the node by 1, 10 or 100"},
        {"Insert, Delete", "Add or remove a node"},
        {"g (key map)", "Go to the key's sample"},
        {"4 (key map)", "Play or stop the key"},
        {"Right (last key map column)", "Velocity regions"},
    }));
    return page;
}

KeyPage infoPageKeys()
{
    KeyPage page{"Keys_IP_1.htm", "Info Page Keys", {}};
    page.sections.push_back(section("Channels and playback", {
        {"Up, Down", "Previous or next channel"},
        commandRow(info_page::kContext, info_page::kMute, "Mute the channel and move on (Shift: back)"),
        commandRow(info_page::kContext, info_page::kGoToPattern, "Edit the playing pattern"),
        commandRow(info_page::kContext, info_page::kSkipBackward, "Play from the previous order"),
        commandRow(info_page::kContext, info_page::kSkipForward, "Play from the next order"),
        commandRow(root::kContext, root::kInfoPage, "Clear the display"),
    }));
    return page;
}

KeyPage orderListKeys()
{
    KeyPage page{"Keys_OL_1.htm", "Order List Keys", {}};
    page.sections.push_back(section("Both lists", {
        {"Tab, Shift-Tab", "Orders, name, colour, volume, panning"},
        {"Up, Down", "One row"},
        {"Page Up, Page Down", "16 rows"},
    }));
    page.sections.push_back(section("Orders", {
        {"Digits, letters", "Pattern by number or label"},
        {"+", "Skip marker (+++)"},
        {"=", "End marker (===)"},
        {"-, .", "Empty entry"},
        {"Left, Right", "Previous or next digit"},
        {"Home, End", "Toward the first or the last entry"},
        {"Back", "Empty the entry"},
        {"Insert", "Insert an empty entry"},
        {"Delete", "Empty the entry; an empty one is removed"},
        {"Ctrl-Delete", "Remove the entry"},
        {"Ctrl-g", "Edit the pattern"},
        {"Alt-n", "Insert the next pattern number"},
        {"Alt-Shift-n", "Insert the pattern above again"},
        {"Ctrl-d", "Copy the pattern above to an empty one"},
        {"Alt-r", "Renumber patterns in order of use"},
    }));
    page.sections.push_back(section("Channels", {
        {"Letters, digits", "Type the channel's name"},
        {"Back, Insert, Delete", "Edit the name"},
        {"Enter (colour)", "Choose the colour"},
        {"Left, Right (a slider)", "Volume or panning (with Shift: by 5)"},
    }));
    return page;
}

KeyPage preferencesKeys()
{
    KeyPage page{"Keys_PR_1.htm", "Preferences Keys", {}};
    page.sections.push_back(section("Preferences and settings", {
        {"Tab, Down", "Next control"},
        {"Shift-Tab, Up", "Previous control"},
        {"Left, Right", "Change a slider (with Shift: by 5)"},
        {"Enter", "Press the button"},
        {"Escape", "Close the settings"},
    }));
    page.sections.push_back(section("Keyboard shortcuts", {
        {"Up, Down", "Choose a command, or a shortcut"},
        {"Enter", "Record a shortcut; again to assign it"},
        {"Escape", "Discard the key; again to close"},
        {"Delete", "Remove the shortcut"},
        {"F1", "Help on keyboard shortcuts"},
    }));
    return page;
}

} // namespace

std::vector<KeyPage> otherKeyPages()
{
    return {globalKeys(), sampleListKeys(), instrumentListKeys(), infoPageKeys(), orderListKeys(), preferencesKeys()};
}

} // namespace helpgen
