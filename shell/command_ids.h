#pragma once
// The ids of the built-in commands, one namespace per context of the command
// tree, with the context's dotted path. The definition tables are written
// with these constants and take each command's name from its constant (the
// constant kPlaySong makes the command "PlaySong"), so a page, the help
// builder and the tests that use a constant name exactly the command the
// table defines. Ids are unique within a context only (Delete and Mute
// repeat). Never change a value or a name: key schemes store commands by
// path and the usage log records ids.

#include <cstdint>

namespace cmd {

// The scheme's own root node, and the commands a failed lookup or an
// ignored key gives.
inline constexpr int32_t kIgnored = -1;
inline constexpr int32_t kNone = 0;
inline constexpr int32_t kGlobal = 1;

namespace root {
inline constexpr const char* kContext = "";
inline constexpr int32_t kHelpContext = 15;
inline constexpr int32_t kHelpKeyboard = 16;
inline constexpr int32_t kCopy = 17;
inline constexpr int32_t kCut = 18;
inline constexpr int32_t kPaste = 19;
inline constexpr int32_t kPatternEditor = 25;
inline constexpr int32_t kSampleList = 26;
inline constexpr int32_t kInstrumentList = 27;
inline constexpr int32_t kInfoPage = 28;
inline constexpr int32_t kOrderList = 29;
inline constexpr int32_t kPreferences = 30;
inline constexpr int32_t kNewModule = 2;
inline constexpr int32_t kLoadModule = 3;
inline constexpr int32_t kSaveModule = 4;
inline constexpr int32_t kSaveModuleAs = 5;
inline constexpr int32_t kPlaySong = 6;
inline constexpr int32_t kRebuildSync = 12;
inline constexpr int32_t kPlayPattern = 7;
inline constexpr int32_t kPlayPatternFromCursor = 11;
inline constexpr int32_t kPlayFromCursor = 8;
inline constexpr int32_t kStop = 9;
inline constexpr int32_t kReset = 10;
inline constexpr int32_t kBaseOctaveDown = 13;
inline constexpr int32_t kBaseOctaveUp = 14;
} // namespace root

namespace pattern_editor {
inline constexpr const char* kContext = "PatternEditor";
inline constexpr int32_t kPattern = 32;
inline constexpr int32_t kPatternOptions = 33;
inline constexpr int32_t kPatternOptionsApply = 34;
inline constexpr int32_t kMute = 35;
inline constexpr int32_t kSolo = 36;
inline constexpr int32_t kMuteChannel1 = 124;
inline constexpr int32_t kMuteChannel2 = 125;
inline constexpr int32_t kMuteChannel3 = 126;
inline constexpr int32_t kMuteChannel4 = 127;
inline constexpr int32_t kMuteChannel5 = 128;
inline constexpr int32_t kMuteChannel6 = 129;
inline constexpr int32_t kMuteChannel7 = 130;
inline constexpr int32_t kMuteChannel8 = 131;
inline constexpr int32_t kUndo = 37;
inline constexpr int32_t kUndoCheckpoint = 38;
inline constexpr int32_t kPatternOverview = 39;
inline constexpr int32_t kToggleInfoBar = 122;
inline constexpr int32_t kAlternateZoomMode = 121;
inline constexpr int32_t kInstrumentUp = 40;
inline constexpr int32_t kInstrumentDown = 41;
inline constexpr int32_t kPickUpInstrumentNote = 42;
inline constexpr int32_t kCentraliseCursor = 43;
inline constexpr int32_t kFollowPattern = 44;
inline constexpr int32_t kCursorGuide = 45;
inline constexpr int32_t kNextEmptyPattern = 46;
inline constexpr int32_t kNextPattern = 47;
inline constexpr int32_t kPreviousPattern = 48;
inline constexpr int32_t kNextOrder = 49;
inline constexpr int32_t kPreviousOrder = 50;
inline constexpr int32_t kInstrumentMenu = 51;
inline constexpr int32_t kBaseOctaveMenu = 52;
inline constexpr int32_t kMidiInMode = 53;
inline constexpr int32_t kMergeWithHost = 282;
inline constexpr int32_t kInsertInSong = 291;
inline constexpr int32_t kDeleteFromSong = 292;
} // namespace pattern_editor

// "PatternEditor.Pattern": the grid's edits. "Overwite" is the command's
// stored name, misspelt as schemes have always held it.
namespace pattern {
inline constexpr const char* kContext = "PatternEditor.Pattern";
inline constexpr int32_t kNoteEntry = 78;
inline constexpr int32_t kMix = 22;
inline constexpr int32_t kOverwite = 20;
inline constexpr int32_t kOverwiteHighlights = 21;
inline constexpr int32_t kClear = 23;
inline constexpr int32_t kPickUpNote = 64;
inline constexpr int32_t kTransposeUp = 54;
inline constexpr int32_t kTransposeDown = 55;
inline constexpr int32_t kTransposeUpOctave = 56;
inline constexpr int32_t kTransposeDownOctave = 57;
inline constexpr int32_t kSelectChannel = 58;
inline constexpr int32_t kSelectAll = 123;
inline constexpr int32_t kSelectionStart = 59;
inline constexpr int32_t kSelectionEnd = 60;
inline constexpr int32_t kSelectBlock = 61;
inline constexpr int32_t kSelectNone = 62;
inline constexpr int32_t kSelectionSwap = 63;
inline constexpr int32_t kSetInstrument = 65;
inline constexpr int32_t kSetVolumePan = 67;
inline constexpr int32_t kClearOrphanedVolumePan = 70;
inline constexpr int32_t kAmplifyVolume = 71;
inline constexpr int32_t kRepeatAmplifyVolume = 72;
inline constexpr int32_t kInterpolateVolumePan = 68;
inline constexpr int32_t kClearVolumePan = 69;
inline constexpr int32_t kInterpolateEffects = 73;
inline constexpr int32_t kClearEffects = 74;
inline constexpr int32_t kDoubleSelection = 75;
inline constexpr int32_t kHalveSelection = 76;
inline constexpr int32_t kCycleEditMode = 77;
inline constexpr int32_t kGoToInstrument = 66;
inline constexpr int32_t kEditAnnotation = 281;
inline constexpr int32_t kApplyFormula = 287;
inline constexpr int32_t kClearFormula = 289;
} // namespace pattern

// "PatternEditor.Pattern.NoteEntry": 29 note commands from C-0 up to E-2,
// one id per semitone above the base octave's C, then the column keys.
namespace note_entry {
inline constexpr const char* kContext = "PatternEditor.Pattern.NoteEntry";
inline constexpr int32_t kFirstNote = 86;   // C-0
inline constexpr int32_t kLastOctaveNote = kFirstNote + 23;   // B-1: the end of the two full octaves
inline constexpr int32_t kLastNoteKey = kFirstNote + 28;   // E-2
inline constexpr int32_t kNoteClear = 115;
inline constexpr int32_t kNoteMask = 116;
inline constexpr int32_t kNoteOff = 117;
inline constexpr int32_t kNoteCut = 118;
inline constexpr int32_t kNoteAudition = 119;
inline constexpr int32_t kRowAudition = 120;

// The top base octave: there the keys above the two full octaves play
// nothing, as they would pass the last note.
inline constexpr int32_t kTopOctave = 8;

// The pitch (0..119) a note command plays from base octave `octave` (0..8):
// its semitone above C-0 plus 12 per octave; -1 for any other command.
constexpr int32_t notePitch(int32_t id, int32_t octave)
{
    const bool plays = id >= kFirstNote && (id <= kLastOctaveNote || (id <= kLastNoteKey && octave < kTopOctave));
    return plays ? id - kFirstNote + 12 * octave : -1;
}
} // namespace note_entry

namespace sample_list {
inline constexpr const char* kContext = "SampleList";
inline constexpr int32_t kDelete = 24;
inline constexpr int32_t kNormalise = 80;
} // namespace sample_list

namespace info_page {
inline constexpr const char* kContext = "InfoPage";
inline constexpr int32_t kGoToPattern = 83;
inline constexpr int32_t kMute = 35;
inline constexpr int32_t kSkipBackward = 84;
inline constexpr int32_t kSkipForward = 85;
} // namespace info_page

namespace instrument_list {
inline constexpr const char* kContext = "InstrumentList";
inline constexpr int32_t kDelete = 24;
inline constexpr int32_t kSwapInList = 81;
inline constexpr int32_t kSwapInPatterns = 82;
} // namespace instrument_list

// Contexts without commands of their own: their keys reach the root's.
namespace order_list {
inline constexpr const char* kContext = "OrderList";
}
namespace preferences {
inline constexpr const char* kContext = "Preferences";
}

} // namespace cmd
