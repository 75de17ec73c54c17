// The pattern editor's three key pages.
#include "key_pages.h"

namespace helpgen {

namespace {

constexpr const char* kPattern = "PatternEditor.Pattern";
constexpr const char* kPage = "PatternEditor";

KeySection section(std::string title, std::vector<KeyRow> rows)
{
    KeySection s{std::move(title), {}};
    addRows(s, rows);
    return s;
}

// Several commands of one kind as one row: their keys in turn.
KeyRow combinedRow(const char* context, std::initializer_list<const char*> names, const char* action)
{
    KeyRow row{{}, action};
    for (const char* name : names)
        for (const std::string& key : reachableKeys(context, name))
            row.keys += (row.keys.empty() ? "" : ", ") + key;
    return row;
}

KeyPage movingAndEntering()
{
    KeyPage page{"Keys_PE_1.htm", "Pattern Editor Keys (1 of 3): Moving and Entering", {}};
    page.sections.push_back(section("Moving the cursor", {
        {"Up, Down", "Move by the cursor increment"},
        {"Alt-Up, Alt-Down", "Move one row"},
        {"Page Up, Page Down", "Move by the major highlight"},
        {"Alt-Page Up, Alt-Page Down", "Scroll one row; the cursor stays"},
        {"Left, Right", "Previous or next column"},
        {"Alt-Left, Alt-Right", "Previous or next channel"},
        {"Tab", "Next channel"},
        {"Shift-Tab", "Note column, then the previous channel"},
        {"Home", "Note column, first channel, first row"},
        {"End", "Last column, last channel, last row"},
        {"Ctrl-Home, Ctrl-End", "One row up or down"},
        {"Alt-0 to Alt-9", "Cursor increment (0: on to the next channel)"},
    }));
    KeySection notes = section("Entering notes", noteEntryRows());
    addRows(notes, {
        {"0 to 9 (octave column)", "Octave of the note"},
        {"Space", "Repeat the last entry of the column"},
        {"8 (note column)", "Play the row"},
    });
    page.sections.push_back(notes);
    page.sections.push_back(section("Other columns", {
        {"0 to 9", "Instrument (up to 99), volume or panning (up to 64)"},
        {"A to Z, 0 to 9, @", "Effect command"},
        {"0 to 9, A to F", "Effect parameter (hexadecimal)"},
    }));
    page.sections.push_back(section("Rows", {
        {"Insert", "Insert a row in this channel"},
        {"Alt-Insert", "Insert a row in every channel"},
        {"Delete", "Delete the row of this channel"},
        {"Alt-Delete", "Delete the row in every channel"},
        {"Back", "Delete the row above the cursor"},
    }));
    return page;
}

KeyPage selectionsAndBlocks()
{
    KeyPage page{"Keys_PE_2.htm", "Pattern Editor Keys (2 of 3): Selections and Blocks", {}};
    page.sections.push_back(section("Selecting", {
        {"Shift-arrows, Shift-Page Up/Down, Shift-Home/End", "Select while moving"},
        commandRow(kPattern, "SelectionStart", "Start of the selection"),
        commandRow(kPattern, "SelectionEnd", "End of the selection"),
        commandRow(kPattern, "SelectChannel", "Select the channel (again: the pattern)"),
        commandRow(kPattern, "SelectBlock", "Select a highlight's rows (again: more)"),
        commandRow(kPattern, "SelectNone", "Select nothing"),
    }));
    page.sections.push_back(section("Clipboard", {
        commandRow("", "Copy"),
        commandRow("", "Cut"),
        commandRow("", "Paste", "Paste (inserting)"),
        commandRow(kPattern, "Overwite", "Overwrite (again: lengthen the pattern)"),
        commandRow(kPattern, "Mix", "Mix into empty fields (again: every gap)"),
        commandRow(kPattern, "OverwiteHighlights", "Take the clipboard's highlights"),
        commandRow(kPattern, "SelectionSwap"),
        commandRow(kPattern, "Clear", "Clear the selection"),
    }));
    page.sections.push_back(section("Changing the selection", {
        commandRow(kPattern, "TransposeUp"),
        commandRow(kPattern, "TransposeDown"),
        commandRow(kPattern, "TransposeUpOctave"),
        commandRow(kPattern, "TransposeDownOctave"),
        commandRow(kPattern, "SetInstrument"),
        commandRow(kPattern, "SetVolumePan", "Set the last volume or panning"),
        commandRow(kPattern, "InterpolateVolumePan", "Interpolate volume or panning"),
        commandRow(kPattern, "ClearVolumePan", "Clear volume or panning"),
        commandRow(kPattern, "ClearOrphanedVolumePan", "Clear volumes without notes"),
        commandRow(kPattern, "AmplifyVolume", "Amplify volumes..."),
        commandRow(kPattern, "RepeatAmplifyVolume", "Amplify again by the last amount"),
        commandRow(kPattern, "InterpolateEffects"),
        commandRow(kPattern, "ClearEffects"),
        commandRow(kPattern, "DoubleSelection", "Double the length"),
        commandRow(kPattern, "HalveSelection", "Halve the length"),
    }));
    page.sections.push_back(section("At the cursor", {
        commandRow(kPattern, "PickUpNote", "Pick up the cell as the last entry"),
        commandRow(kPattern, "GoToInstrument", "Show the cell's instrument"),
        commandRow(kPattern, "CycleEditMode", "Volume or panning in the volume column"),
    }));
    return page;
}

KeyPage patternsChannelsViews()
{
    KeyPage page{"Keys_PE_3.htm", "Pattern Editor Keys (3 of 3): Patterns, Channels and Views", {}};
    page.sections.push_back(section("Patterns", {
        commandRow(kPage, "NextPattern", "Next pattern"),
        commandRow(kPage, "PreviousPattern", "Previous pattern"),
        commandRow(kPage, "NextOrder", "Next pattern of the order list"),
        commandRow(kPage, "PreviousOrder", "Previous pattern of the order list"),
        commandRow(kPage, "NextEmptyPattern", "Next empty pattern"),
        commandRow(kPage, "PatternOptions", "Pattern options"),
        commandRow(kPage, "PatternOptionsApply", "Apply the pattern options again"),
        commandRow(kPage, "PatternOverview", "Pattern overview"),
        commandRow(kPage, "Undo", "Undo list"),
        commandRow(kPage, "UndoCheckpoint"),
    }));
    page.sections.push_back(section("Channels", {
        commandRow(kPage, "Mute", "Mute the channel"),
        commandRow(kPage, "Solo", "Solo the channel"),
        combinedRow(kPage, {"MuteChannel1", "MuteChannel2", "MuteChannel3", "MuteChannel4", "MuteChannel5",
                            "MuteChannel6", "MuteChannel7", "MuteChannel8"},
                    "Mute channel 1 to 8, in turn"),
    }));
    page.sections.push_back(section("Instrument and octave", {
        commandRow(kPage, "InstrumentUp", "Next instrument"),
        commandRow(kPage, "InstrumentDown", "Previous instrument"),
        commandRow(kPage, "InstrumentMenu", "Choose the instrument"),
        commandRow(kPage, "PickUpInstrumentNote", "Pick up the cell's instrument and note"),
        commandRow("", "BaseOctaveUp", "Octave up"),
        commandRow("", "BaseOctaveDown", "Octave down"),
        commandRow(kPage, "BaseOctaveMenu", "Choose the octave"),
    }));
    page.sections.push_back(section("Views and modes", {
        commandRow(kPage, "ToggleInfoBar", "Effect information bar"),
        commandRow(kPage, "CentraliseCursor"),
        commandRow(kPage, "FollowPattern", "Follow playback"),
        commandRow(kPage, "CursorGuide"),
        commandRow(kPage, "MidiInMode", "MIDI in: off, mono, poly"),
        {"` (instrument column)", "Instrument labels or numbers"},
        {";", "Menu at the cursor"},
        {"Caps Lock", "Live play: the keys play notes"},
    }));
    return page;
}

} // namespace

std::vector<KeyPage> patternEditorKeyPages()
{
    return {movingAndEntering(), selectionsAndBlocks(), patternsChannelsViews()};
}

} // namespace helpgen
