// The pattern editor's three key pages.
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

// Several commands of one kind as one row: their keys in turn.
KeyRow combinedRow(const char* context, std::initializer_list<int32_t> ids, const char* action)
{
    KeyRow row{{}, action};
    for (const int32_t id : ids)
        for (const std::string& key : reachableKeys(context, id))
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
        commandRow(pattern::kContext, pattern::kSelectionStart, "Start of the selection"),
        commandRow(pattern::kContext, pattern::kSelectionEnd, "End of the selection"),
        commandRow(pattern::kContext, pattern::kSelectChannel, "Select the channel (again: the pattern)"),
        commandRow(pattern::kContext, pattern::kSelectBlock, "Select a highlight's rows (again: more)"),
        commandRow(pattern::kContext, pattern::kSelectNone, "Select nothing"),
    }));
    page.sections.push_back(section("Clipboard", {
        commandRow(root::kContext, root::kCopy),
        commandRow(root::kContext, root::kCut),
        commandRow(root::kContext, root::kPaste, "Paste (inserting)"),
        commandRow(pattern::kContext, pattern::kOverwite, "Overwrite (again: lengthen the pattern)"),
        commandRow(pattern::kContext, pattern::kMix, "Mix into empty fields (again: every gap)"),
        commandRow(pattern::kContext, pattern::kOverwiteHighlights, "Take the clipboard's highlights"),
        commandRow(pattern::kContext, pattern::kSelectionSwap),
        commandRow(pattern::kContext, pattern::kClear, "Clear the selection"),
    }));
    page.sections.push_back(section("Changing the selection", {
        commandRow(pattern::kContext, pattern::kTransposeUp),
        commandRow(pattern::kContext, pattern::kTransposeDown),
        commandRow(pattern::kContext, pattern::kTransposeUpOctave),
        commandRow(pattern::kContext, pattern::kTransposeDownOctave),
        commandRow(pattern::kContext, pattern::kSetInstrument),
        commandRow(pattern::kContext, pattern::kSetVolumePan, "Set the last volume or panning"),
        commandRow(pattern::kContext, pattern::kInterpolateVolumePan, "Interpolate volume or panning"),
        commandRow(pattern::kContext, pattern::kClearVolumePan, "Clear volume or panning"),
        commandRow(pattern::kContext, pattern::kClearOrphanedVolumePan, "Clear volumes without notes"),
        commandRow(pattern::kContext, pattern::kAmplifyVolume, "Amplify volumes..."),
        commandRow(pattern::kContext, pattern::kRepeatAmplifyVolume, "Amplify again by the last amount"),
        commandRow(pattern::kContext, pattern::kInterpolateEffects),
        commandRow(pattern::kContext, pattern::kClearEffects),
        commandRow(pattern::kContext, pattern::kDoubleSelection, "Double the length"),
        commandRow(pattern::kContext, pattern::kHalveSelection, "Halve the length"),
    }));
    page.sections.push_back(section("At the cursor", {
        commandRow(pattern::kContext, pattern::kPickUpNote, "Pick up the cell as the last entry"),
        commandRow(pattern::kContext, pattern::kGoToInstrument, "Show the cell's instrument"),
        commandRow(pattern::kContext, pattern::kCycleEditMode, "Volume or panning in the volume column"),
    }));
    return page;
}

KeyPage patternsChannelsViews()
{
    KeyPage page{"Keys_PE_3.htm", "Pattern Editor Keys (3 of 3): Patterns, Channels and Views", {}};
    page.sections.push_back(section("Patterns", {
        commandRow(pattern_editor::kContext, pattern_editor::kNextPattern, "Next pattern"),
        commandRow(pattern_editor::kContext, pattern_editor::kPreviousPattern, "Previous pattern"),
        commandRow(pattern_editor::kContext, pattern_editor::kNextOrder, "Next pattern of the order list"),
        commandRow(pattern_editor::kContext, pattern_editor::kPreviousOrder, "Previous pattern of the order list"),
        commandRow(pattern_editor::kContext, pattern_editor::kNextEmptyPattern, "Next empty pattern"),
        commandRow(pattern_editor::kContext, pattern_editor::kPatternOptions, "Pattern options"),
        commandRow(pattern_editor::kContext, pattern_editor::kPatternOptionsApply, "Apply the pattern options again"),
        commandRow(pattern_editor::kContext, pattern_editor::kPatternOverview, "Pattern overview"),
        commandRow(pattern_editor::kContext, pattern_editor::kUndo, "Undo list"),
        commandRow(pattern_editor::kContext, pattern_editor::kUndoCheckpoint),
    }));
    page.sections.push_back(section("Channels", {
        commandRow(pattern_editor::kContext, pattern_editor::kMute, "Mute the channel"),
        commandRow(pattern_editor::kContext, pattern_editor::kSolo, "Solo the channel"),
        combinedRow(pattern_editor::kContext,
                    {pattern_editor::kMuteChannel1, pattern_editor::kMuteChannel2, pattern_editor::kMuteChannel3,
                     pattern_editor::kMuteChannel4, pattern_editor::kMuteChannel5, pattern_editor::kMuteChannel6,
                     pattern_editor::kMuteChannel7, pattern_editor::kMuteChannel8},
                    "Mute channel 1 to 8, in turn"),
    }));
    page.sections.push_back(section("Instrument and octave", {
        commandRow(pattern_editor::kContext, pattern_editor::kInstrumentUp, "Next instrument"),
        commandRow(pattern_editor::kContext, pattern_editor::kInstrumentDown, "Previous instrument"),
        commandRow(pattern_editor::kContext, pattern_editor::kInstrumentMenu, "Choose the instrument"),
        commandRow(pattern_editor::kContext, pattern_editor::kPickUpInstrumentNote,
                   "Pick up the cell's instrument and note"),
        commandRow(root::kContext, root::kBaseOctaveUp, "Octave up"),
        commandRow(root::kContext, root::kBaseOctaveDown, "Octave down"),
        commandRow(pattern_editor::kContext, pattern_editor::kBaseOctaveMenu, "Choose the octave"),
    }));
    page.sections.push_back(section("Views and modes", {
        commandRow(pattern_editor::kContext, pattern_editor::kToggleInfoBar, "Effect information bar"),
        commandRow(pattern_editor::kContext, pattern_editor::kCentraliseCursor),
        commandRow(pattern_editor::kContext, pattern_editor::kFollowPattern, "Follow playback"),
        commandRow(pattern_editor::kContext, pattern_editor::kCursorGuide),
        commandRow(pattern_editor::kContext, pattern_editor::kMidiInMode, "MIDI in: off, mono, poly"),
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
