#include "shell/commands_tables.h"

#include "shell/command_ids.h"

#include <string_view>

namespace {

constexpr const char* kNoDescription = "No description";

// A command is named after its id constant, less the constant's "k", so the
// names pages use for ids and the names schemes store are one and the same.
constexpr const char* nameOf(const char* constant)
{
    return constant[0] == 'k' ? constant + 1 : throw "an id constant's name starts with k";
}

#define QB_CMD(id, label, flags) TesselCommandDef{id, nameOf(#id), label, kNoDescription, flags}

// Each context's rows see only that context's ids.
namespace root_rows {
using namespace cmd::root;
constexpr TesselCommandDef kRows[] = {
    QB_CMD(kHelpContext, "Context &Help", 0x2),
    QB_CMD(kHelpKeyboard, "Keyboard Reference", 0x2),
    QB_CMD(kCopy, "&Copy", 0x50),
    QB_CMD(kCut, "Cu&t", 0x51),
    QB_CMD(kPaste, "&Paste", 0x51),
    QB_CMD(kPatternEditor, "Pattern Editor", 0x8),
    QB_CMD(kSampleList, "Sample List", 0x8),
    QB_CMD(kInstrumentList, "Instrument List", 0x8),
    QB_CMD(kInfoPage, "Info Page", 0x8),
    QB_CMD(kOrderList, "Order List", 0x8),
    QB_CMD(kPreferences, "Preferences", 0x8),
    QB_CMD(kNewModule, "&New Module", 0x81),
    QB_CMD(kLoadModule, "Open Module...", 0x81),
    QB_CMD(kSaveModule, "&Save Module", 0x80),
    QB_CMD(kSaveModuleAs, "Save Module &As...", 0x80),
    QB_CMD(kPlaySong, "Play &Song", 0x400),
    QB_CMD(kRebuildSync, "Rebuild Sync &Data", 0x100),
    QB_CMD(kPlayPattern, "Play &Pattern", 0x400),
    QB_CMD(kPlayPatternFromCursor, "Play Pattern &from Cursor", 0x400),
    QB_CMD(kPlayFromCursor, "Play from &Cursor", 0x400),
    QB_CMD(kStop, "S&top Playback", 0x400),
    QB_CMD(kReset, "&Reset Playback", 0x100),
    QB_CMD(kBaseOctaveDown, "Decrement Base Octave", 0x20),
    QB_CMD(kBaseOctaveUp, "Increment Base Octave", 0x20),
};
} // namespace root_rows

namespace pattern_editor_rows {
using namespace cmd::pattern_editor;
constexpr TesselCommandDef kRows[] = {
    QB_CMD(kPattern, "Pattern", 0),
    QB_CMD(kPatternOptions, "Open &Pattern Options", 0x8),
    QB_CMD(kPatternOptionsApply, "&Apply Pattern Options", 0x1),
    QB_CMD(kMute, "Toggle Channel Mute", 0x400),
    QB_CMD(kSolo, "Toggle Channel Solo", 0x400),
    QB_CMD(kMuteChannel1, "Toggle Channel 1", 0x400),
    QB_CMD(kMuteChannel2, "Toggle Channel 2", 0x400),
    QB_CMD(kMuteChannel3, "Toggle Channel 3", 0x400),
    QB_CMD(kMuteChannel4, "Toggle Channel 4", 0x400),
    QB_CMD(kMuteChannel5, "Toggle Channel 5", 0x400),
    QB_CMD(kMuteChannel6, "Toggle Channel 6", 0x400),
    QB_CMD(kMuteChannel7, "Toggle Channel 7", 0x400),
    QB_CMD(kMuteChannel8, "Toggle Channel 8", 0x400),
    QB_CMD(kUndo, "Open &Undo Dialog", 0x8),
    QB_CMD(kUndoCheckpoint, "Add Undo &Checkpoint", 0x100),
    QB_CMD(kPatternOverview, "Show Pattern &Overview", 0x8),
    QB_CMD(kToggleInfoBar, "Toggle Information Bar", 0x20),
    QB_CMD(kAlternateZoomMode, "Switch &Zoom/Subrow Mode", 0x20),
    QB_CMD(kInstrumentUp, "&Increment Current Instrument", 0x20),
    QB_CMD(kInstrumentDown, "&Decrement Current Instrument", 0x20),
    QB_CMD(kPickUpInstrumentNote, "&Pick up instrument/note", 0x20),
    QB_CMD(kCentraliseCursor, "Toggle &Centralised Cursor", 0x20),
    QB_CMD(kFollowPattern, "Toggle Pattern &Follow", 0x20),
    QB_CMD(kCursorGuide, "Toggle Cursor &Guide", 0x20),
    QB_CMD(kNextEmptyPattern, "Jump to next &empty pattern", 0x4),
    QB_CMD(kNextPattern, "Jump to &next pattern", 0x4),
    QB_CMD(kPreviousPattern, "Jump to &previous pattern", 0x4),
    QB_CMD(kNextOrder, "Jump to nex&t order", 0x4),
    QB_CMD(kPreviousOrder, "Jump to p&revious order", 0x4),
    QB_CMD(kInstrumentMenu, "Show Instrument &Menu", 0x8),
    QB_CMD(kBaseOctaveMenu, "Show Base Octave &Menu", 0x8),
    QB_CMD(kMidiInMode, "Cycle &MIDI In modes", 0x20),
    QB_CMD(kMergeWithHost, "Merge &editor with host", 0x20),
    QB_CMD(kInsertInSong, "Insert rows in song", 0x11),
    QB_CMD(kDeleteFromSong, "Delete rows from song", 0x11),
};
} // namespace pattern_editor_rows

namespace pattern_rows {
using namespace cmd::pattern;
constexpr TesselCommandDef kRows[] = {
    QB_CMD(kNoteEntry, "Note Entry", 0),
    QB_CMD(kMix, "&Mix", 0x51),
    QB_CMD(kOverwite, "&Overwrite", 0x51),
    QB_CMD(kOverwiteHighlights, "Overwrite (&highlights)", 0x51),
    QB_CMD(kClear, "Cle&ar", 0x11),
    QB_CMD(kPickUpNote, "Pick up &note", 0x20),
    QB_CMD(kTransposeUp, "Transpose &up one semitone", 0x11),
    QB_CMD(kTransposeDown, "Transpose &down one semitone", 0x11),
    QB_CMD(kTransposeUpOctave, "Transpose u&p one octave", 0x11),
    QB_CMD(kTransposeDownOctave, "Transpose d&own one octave", 0x11),
    QB_CMD(kSelectChannel, "Select &channel / pattern", 0x10),
    QB_CMD(kSelectAll, "Select &all", 0x10),
    QB_CMD(kSelectionStart, "Set &beginning of selection", 0x10),
    QB_CMD(kSelectionEnd, "Set &end of selection", 0x10),
    QB_CMD(kSelectBlock, "Select block (minor/major &highlight,etc.)", 0x10),
    QB_CMD(kSelectNone, "Select &none", 0x10),
    QB_CMD(kSelectionSwap, "&Swap selection with data at cursor", 0x11),
    QB_CMD(kSetInstrument, "&Set instrument to current", 0x11),
    QB_CMD(kSetVolumePan, "&Set volume/pan", 0x11),
    QB_CMD(kClearOrphanedVolumePan, "Clear &orphaned volume/pan entries", 0x11),
    QB_CMD(kAmplifyVolume, "&Amplify volume", 0x11),
    QB_CMD(kRepeatAmplifyVolume, "&Repeat last volume amplification", 0x11),
    QB_CMD(kInterpolateVolumePan, "&Interpolate volume/pan", 0x11),
    QB_CMD(kClearVolumePan, "&Clear volume/pan", 0x11),
    QB_CMD(kInterpolateEffects, "&Interpolate effect parameters", 0x11),
    QB_CMD(kClearEffects, "&Clear effects", 0x11),
    QB_CMD(kDoubleSelection, "&Double length", 0x11),
    QB_CMD(kHalveSelection, "&Halve length", 0x11),
    QB_CMD(kCycleEditMode, "Switch edit &mode", 0x20),
    QB_CMD(kGoToInstrument, "&Go to instrument/sample", 0x8),
    QB_CMD(kEditAnnotation, "&Create/edit annotation", 0x11),
    QB_CMD(kApplyFormula, "Apply formula", 0x11),
    QB_CMD(kClearFormula, "Clear formula", 0x11),
};
} // namespace pattern_rows

namespace note_entry_rows {
using namespace cmd::note_entry;
// The notes by semitone from C-0.
#define QB_NOTE(semitone, name) TesselCommandDef{kFirstNote + (semitone), name, name, kNoDescription, 0xa01}
constexpr TesselCommandDef kRows[] = {
    QB_NOTE(0, "C-0"), QB_NOTE(1, "C#0"), QB_NOTE(2, "D-0"), QB_NOTE(3, "D#0"),
    QB_NOTE(4, "E-0"), QB_NOTE(5, "F-0"), QB_NOTE(6, "F#0"), QB_NOTE(7, "G-0"),
    QB_NOTE(8, "G#0"), QB_NOTE(9, "A-0"), QB_NOTE(10, "A#0"), QB_NOTE(11, "B-0"),
    QB_NOTE(12, "C-1"), QB_NOTE(13, "C#1"), QB_NOTE(14, "D-1"), QB_NOTE(15, "D#1"),
    QB_NOTE(16, "E-1"), QB_NOTE(17, "F-1"), QB_NOTE(18, "F#1"), QB_NOTE(19, "G-1"),
    QB_NOTE(20, "G#1"), QB_NOTE(21, "A-1"), QB_NOTE(22, "A#1"), QB_NOTE(23, "B-1"),
    QB_NOTE(24, "C-2"), QB_NOTE(25, "C#2"), QB_NOTE(26, "D-2"), QB_NOTE(27, "D#2"),
    QB_NOTE(28, "E-2"),
    QB_CMD(kNoteClear, "Clear note/column", 0x1),
    QB_CMD(kNoteMask, "Toggle column mark", 0x20),
    QB_CMD(kNoteOff, "Note Off (===)", 0xa01),
    QB_CMD(kNoteCut, "Note Cut (^^^)", 0xa01),
    QB_CMD(kNoteAudition, "Audition Note", 0x800),
    QB_CMD(kRowAudition, "Audition Row", 0x800),
};
static_assert(std::string_view(kRows[kLastOctaveNote - kFirstNote].name) == "B-1");
static_assert(std::string_view(kRows[kLastNoteKey - kFirstNote].name) == "E-2");
} // namespace note_entry_rows

namespace sample_list_rows {
using namespace cmd::sample_list;
constexpr TesselCommandDef kRows[] = {
    QB_CMD(kDelete, "Delete Sample", 0x1),
    QB_CMD(kNormalise, "Normalise Sample", 0x1),
};
} // namespace sample_list_rows

namespace info_page_rows {
using namespace cmd::info_page;
constexpr TesselCommandDef kRows[] = {
    QB_CMD(kGoToPattern, "Go to Pattern", 0xc),
    QB_CMD(kMute, "Toggle Channel Mute", 0x400),
    QB_CMD(kSkipBackward, "Skip Backward", 0x404),
    QB_CMD(kSkipForward, "Skip Forward", 0x404),
};
} // namespace info_page_rows

namespace instrument_list_rows {
using namespace cmd::instrument_list;
constexpr TesselCommandDef kRows[] = {
    QB_CMD(kDelete, "Delete Instrument", 0x1),
    QB_CMD(kSwapInList, "Swap Instruments (list only)", 0x1),
    QB_CMD(kSwapInPatterns, "Swap Instruments (list & patterns)", 0x1),
};
} // namespace instrument_list_rows

#undef QB_NOTE
#undef QB_CMD

constexpr TesselContextTable kContexts[] = {
    {cmd::root::kContext, root_rows::kRows},
    {cmd::pattern_editor::kContext, pattern_editor_rows::kRows},
    {cmd::pattern::kContext, pattern_rows::kRows},
    {cmd::note_entry::kContext, note_entry_rows::kRows},
    {cmd::sample_list::kContext, sample_list_rows::kRows},
    {cmd::info_page::kContext, info_page_rows::kRows},
    {cmd::instrument_list::kContext, instrument_list_rows::kRows},
};

constexpr uint8_t kShift = kModShift;
constexpr uint8_t kAlt = kModAlt;
constexpr uint8_t kCtrl = kModCtrl;
constexpr uint8_t kAltShift = kModAlt | kModShift;
constexpr uint8_t kCtrlShift = kModCtrl | kModShift;

constexpr uint8_t fn(int n) { return static_cast<uint8_t>(kVkF1 + n - 1); }

// Flag 0 marks the plain function keys.
constexpr TesselShortcutDef kDefaultShortcuts[] = {
    {"HelpKeyboard", namedKey(fn(1), kShift), 1},
    {"HelpContext", namedKey(fn(1)), 0},
    {"Copy", charKey('c', kAlt), 1},
    {"Cut", charKey('z', kAlt), 1},
    {"Paste", charKey('p', kAlt), 1},
    {"NewModule", charKey('n', kCtrl), 1},
    {"LoadModule", charKey('o', kCtrl), 1},
    {"LoadModule", charKey('l', kCtrl), 1},
    {"LoadModule", namedKey(fn(9)), 0},
    {"SaveModule", charKey('s', kCtrl), 1},
    {"SaveModuleAs", charKey('s', kCtrlShift), 1},
    {"SaveModuleAs", namedKey(fn(10)), 0},
    {"InfoPage", namedKey(fn(5)), 1},
    {"PlaySong", namedKey(fn(5)), 0},
    {"RebuildSync", namedKey(fn(5), kCtrl), 1},
    {"PlayPattern", namedKey(fn(6)), 0},
    {"PlayPatternFromCursor", namedKey(fn(6), kCtrl), 1},
    {"PlayFromCursor", namedKey(fn(7)), 0},
    {"Reset", namedKey(fn(8), 0, 1), 0},
    {"Reset", charKey('i', kCtrl), 1},
    {"Stop", namedKey(fn(8)), 0},
    {"PatternEditor", namedKey(fn(2)), 0},
    {"SampleList", namedKey(fn(3)), 0},
    {"InstrumentList", namedKey(fn(4)), 0},
    {"OrderList", namedKey(fn(11)), 0},
    {"Preferences", namedKey(fn(12)), 0},
    {"BaseOctaveDown", namedKey(kVkDivide), 1},
    {"BaseOctaveDown", charKey('-', kCtrl), 1},
    {"BaseOctaveUp", namedKey(kVkMultiply), 1},
    {"BaseOctaveUp", charKey('=', kCtrl), 1},

    {"PatternEditor.PatternOptions", namedKey(fn(2)), 1},
    {"PatternEditor.PatternOptionsApply", namedKey(fn(2), kCtrl), 1},
    {"PatternEditor.Mute", namedKey(fn(9), kAlt), 1},
    {"PatternEditor.Solo", namedKey(fn(10), kAlt), 1},
    {"PatternEditor.MuteChannel1", namedKey(fn(1), kAlt), 1},
    {"PatternEditor.MuteChannel2", namedKey(fn(2), kAlt), 1},
    {"PatternEditor.MuteChannel3", namedKey(fn(3), kAlt), 1},
    {"PatternEditor.MuteChannel4", namedKey(fn(4), kAlt), 1},
    {"PatternEditor.MuteChannel5", namedKey(fn(5), kAlt), 1},
    {"PatternEditor.MuteChannel6", namedKey(fn(6), kAlt), 1},
    {"PatternEditor.MuteChannel7", namedKey(fn(7), kAlt), 1},
    {"PatternEditor.MuteChannel8", namedKey(fn(8), kAlt), 1},
    {"PatternEditor.Undo", namedKey(kVkBack, kCtrl), 1},
    {"PatternEditor.UndoCheckpoint", namedKey(kVkBack, kAlt), 1},
    {"PatternEditor.PatternOverview", printableKey('#'), 1},
    {"PatternEditor.InstrumentUp", namedKey(kVkUp, kCtrl), 1},
    {"PatternEditor.InstrumentUp", printableKey('>'), 1},
    {"PatternEditor.InstrumentDown", namedKey(kVkDown, kCtrl), 1},
    {"PatternEditor.InstrumentDown", printableKey('<'), 1},
    {"PatternEditor.PickUpInstrumentNote", namedKey(kVkEnter), 1},
    {"PatternEditor.CentraliseCursor", charKey('c', kCtrl), 1},
    {"PatternEditor.FollowPattern", charKey('f', kCtrl), 1},
    {"PatternEditor.AlternateZoomMode", charKey('#', kCtrl), 1},
    {"PatternEditor.ToggleInfoBar", printableKey('?'), 1},
    {"PatternEditor.CursorGuide", charKey('g', kCtrlShift), 1},
    {"PatternEditor.NextEmptyPattern", charKey('n', kAlt), 1},
    {"PatternEditor.NextPattern", namedKey(kVkAdd), 1},
    {"PatternEditor.NextPattern", printableKey(']'), 1},
    {"PatternEditor.PreviousPattern", namedKey(kVkSubtract), 1},
    {"PatternEditor.PreviousPattern", printableKey('['), 1},
    {"PatternEditor.NextOrder", namedKey(kVkAdd, kCtrl), 1},
    {"PatternEditor.NextOrder", printableKey('}'), 1},
    {"PatternEditor.PreviousOrder", namedKey(kVkSubtract, kCtrl), 1},
    {"PatternEditor.PreviousOrder", printableKey('{'), 1},
    {"PatternEditor.InstrumentMenu", charKey('i', kAlt), 1},
    {"PatternEditor.BaseOctaveMenu", charKey('t', kAlt), 1},
    {"PatternEditor.MidiInMode", charKey('m', kCtrl), 1},

    {"PatternEditor.Pattern.Mix", charKey('m', kAlt), 1},
    {"PatternEditor.Pattern.Overwite", charKey('o', kAlt), 1},
    {"PatternEditor.Pattern.OverwiteHighlights", charKey('o', kAltShift), 1},
    {"PatternEditor.Pattern.Clear", charKey('x', kAlt, 2), 1},
    {"PatternEditor.Pattern.PickUpNote", namedKey(kVkEnter), 1},
    {"PatternEditor.Pattern.TransposeUp", charKey('q', kAlt), 1},
    {"PatternEditor.Pattern.TransposeDown", charKey('a', kAlt), 1},
    {"PatternEditor.Pattern.TransposeUpOctave", charKey('q', kAltShift), 1},
    {"PatternEditor.Pattern.TransposeDownOctave", charKey('a', kAltShift), 1},
    {"PatternEditor.Pattern.SelectChannel", charKey('l', kAlt), 1},
    {"PatternEditor.Pattern.SelectionStart", charKey('b', kAlt), 1},
    {"PatternEditor.Pattern.SelectionEnd", charKey('e', kAlt), 1},
    {"PatternEditor.Pattern.SelectBlock", charKey('d', kAlt), 1},
    {"PatternEditor.Pattern.SelectNone", charKey('u', kAlt), 1},
    {"PatternEditor.Pattern.SelectionSwap", charKey('y', kAlt), 1},
    {"PatternEditor.Pattern.SetInstrument", charKey('s', kAlt), 1},
    {"PatternEditor.Pattern.SetVolumePan", charKey('v', kAlt), 1},
    {"PatternEditor.Pattern.ClearOrphanedVolumePan", charKey('w', kAlt), 1},
    {"PatternEditor.Pattern.AmplifyVolume", charKey('j', kAlt), 1},
    {"PatternEditor.Pattern.RepeatAmplifyVolume", charKey('j', kCtrl), 1},
    {"PatternEditor.Pattern.InterpolateVolumePan", charKey('k', kAlt), 1},
    {"PatternEditor.Pattern.ClearVolumePan", charKey('k', kAlt, 1), 1},
    {"PatternEditor.Pattern.InterpolateEffects", charKey('x', kAlt), 1},
    {"PatternEditor.Pattern.ClearEffects", charKey('x', kAlt, 1), 1},
    {"PatternEditor.Pattern.DoubleSelection", charKey('f', kAlt), 1},
    {"PatternEditor.Pattern.HalveSelection", charKey('g', kAlt), 1},
    {"PatternEditor.Pattern.CycleEditMode", printableKey(96), 1},
    {"PatternEditor.Pattern.CycleEditMode", printableKey(39), 1},
    {"PatternEditor.Pattern.CycleEditMode", printableKey(180), 1},
    {"PatternEditor.Pattern.GoToInstrument", charKey('g', kCtrl), 1},
    {"PatternEditor.Pattern.EditAnnotation", printableKey('@'), 1},
    {"PatternEditor.Pattern.PatternImage", namedKey(fn(5), kCtrlShift), 1},

    {"PatternEditor.Pattern.NoteEntry.C-0", charKey('z'), 1},
    {"PatternEditor.Pattern.NoteEntry.C#0", charKey('s'), 1},
    {"PatternEditor.Pattern.NoteEntry.D-0", charKey('x'), 1},
    {"PatternEditor.Pattern.NoteEntry.D#0", charKey('d'), 1},
    {"PatternEditor.Pattern.NoteEntry.E-0", charKey('c'), 1},
    {"PatternEditor.Pattern.NoteEntry.F-0", charKey('v'), 1},
    {"PatternEditor.Pattern.NoteEntry.F#0", charKey('g'), 1},
    {"PatternEditor.Pattern.NoteEntry.G-0", charKey('b'), 1},
    {"PatternEditor.Pattern.NoteEntry.G#0", charKey('h'), 1},
    {"PatternEditor.Pattern.NoteEntry.A-0", charKey('n'), 1},
    {"PatternEditor.Pattern.NoteEntry.A#0", charKey('j'), 1},
    {"PatternEditor.Pattern.NoteEntry.B-0", charKey('m'), 1},
    {"PatternEditor.Pattern.NoteEntry.C-1", charKey('q'), 1},
    {"PatternEditor.Pattern.NoteEntry.C#1", charKey('2'), 1},
    {"PatternEditor.Pattern.NoteEntry.D-1", charKey('w'), 1},
    {"PatternEditor.Pattern.NoteEntry.D#1", charKey('3'), 1},
    {"PatternEditor.Pattern.NoteEntry.E-1", charKey('e'), 1},
    {"PatternEditor.Pattern.NoteEntry.F-1", charKey('r'), 1},
    {"PatternEditor.Pattern.NoteEntry.F#1", charKey('5'), 1},
    {"PatternEditor.Pattern.NoteEntry.G-1", charKey('t'), 1},
    {"PatternEditor.Pattern.NoteEntry.G#1", charKey('6'), 1},
    {"PatternEditor.Pattern.NoteEntry.A-1", charKey('y'), 1},
    {"PatternEditor.Pattern.NoteEntry.A#1", charKey('7'), 1},
    {"PatternEditor.Pattern.NoteEntry.B-1", charKey('u'), 1},
    {"PatternEditor.Pattern.NoteEntry.C-2", charKey('i'), 1},
    {"PatternEditor.Pattern.NoteEntry.C#2", charKey('9'), 1},
    {"PatternEditor.Pattern.NoteEntry.D-2", charKey('o'), 1},
    {"PatternEditor.Pattern.NoteEntry.D#2", charKey('0'), 1},
    {"PatternEditor.Pattern.NoteEntry.E-2", charKey('p'), 1},
    {"PatternEditor.Pattern.NoteEntry.NoteClear", printableKey('.'), 1},
    {"PatternEditor.Pattern.NoteEntry.NoteMask", printableKey(','), 1},
    {"PatternEditor.Pattern.NoteEntry.NoteOff", printableKey(96), 1},
    {"PatternEditor.Pattern.NoteEntry.NoteCut", charKey('1'), 1},
    {"PatternEditor.Pattern.NoteEntry.NoteAudition", charKey('4'), 1},

    {"SampleList.Delete", namedKey(kVkDelete, kAlt), 1},
    {"SampleList.Normalise", charKey('m', kAlt), 1},
    {"InstrumentList.Delete", namedKey(kVkDelete, kAlt), 1},
    {"InstrumentList.SwapInList", charKey('x', kAlt), 1},
    {"InstrumentList.SwapInPatterns", charKey('s', kAlt), 1},
    {"InfoPage.GoToPattern", charKey('g'), 1},
    {"InfoPage.Mute", namedKey(kVkSpace), 1},
    {"InfoPage.SkipBackward", printableKey('['), 1},
    {"InfoPage.SkipBackward", namedKey(kVkSubtract), 1},
    {"InfoPage.SkipForward", printableKey(']'), 1},
    {"InfoPage.SkipForward", namedKey(kVkAdd), 1},
};

} // namespace

std::span<const TesselContextTable> commandContextTables()
{
    return kContexts;
}

std::span<const TesselShortcutDef> defaultShortcutTable()
{
    return kDefaultShortcuts;
}
