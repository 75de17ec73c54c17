#pragma once
// Command ids of the pattern editor's contexts, as the default scheme
// numbers them: the page's ("PatternEditor"), the grid's
// ("PatternEditor.Pattern"), note entry's ("...NoteEntry") and the root
// commands that reach the page.

#include <cstdint>

namespace edit_commands {

enum : int32_t {
    // Root commands the editor leaves to the page.
    kHelpContext = 15,
    kCopy = 17,
    kCut = 18,
    kPaste = 19,
    // "PatternEditor"
    kPatternOptions = 33,
    kPatternOptionsApply = 34,
    kMute = 35,
    kSolo = 36,
    kUndo = 37,
    kUndoCheckpoint = 38,
    kPatternOverview = 39,
    kInstrumentUp = 40,
    kInstrumentDown = 41,
    kPickUpInstrumentNote = 42,
    kCentraliseCursor = 43,
    kFollowPattern = 44,
    kCursorGuide = 45,
    kNextEmptyPattern = 46,
    kNextPattern = 47,
    kPreviousPattern = 48,
    kNextOrder = 49,
    kPreviousOrder = 50,
    kInstrumentMenu = 51,
    kBaseOctaveMenu = 52,
    kMidiInMode = 53,
    kToggleInfoBar = 122,
    kTimedCommand = 288,
    kInsertInSong = 291,
    kDeleteFromSong = 292,
    // "PatternEditor.Pattern"
    kOverwrite = 20,
    kOverwriteHighlights = 21,
    kMix = 22,
    kClear = 23,
    kTransposeUp = 54,
    kTransposeDown = 55,
    kTransposeUpOctave = 56,
    kTransposeDownOctave = 57,
    kSelectChannel = 58,
    kSelectionStart = 59,
    kSelectionEnd = 60,
    kSelectBlock = 61,
    kSelectNone = 62,
    kSelectionSwap = 63,
    kPickUpNote = 64,
    kSetInstrument = 65,
    kGoToInstrument = 66,
    kSetVolumePan = 67,
    kInterpolateVolumePan = 68,
    kClearVolumePan = 69,
    kClearOrphanedVolumePan = 70,
    kAmplifyVolume = 71,
    kRepeatAmplifyVolume = 72,
    kInterpolateEffects = 73,
    kClearEffects = 74,
    kDoubleSelection = 75,
    kHalveSelection = 76,
    kCycleEditMode = 77,
    kSelectAll = 123,
    // "PatternEditor.Pattern.NoteEntry"
    kFirstNote = 86,
    kLastOctaveNote = 109,   // B-1: the keys of the two octaves
    kLastNoteKey = 114,      // E-2: while the octave is below 8
    kNoteClear = 115,
    kNoteMask = 116,
    kNoteOff = 117,
    kNoteCut = 118,
    kNoteAudition = 119,
};

constexpr const char* kPageContext = "PatternEditor";
constexpr const char* kGridContext = "PatternEditor.Pattern";
constexpr const char* kNoteEntryContext = "PatternEditor.Pattern.NoteEntry";

} // namespace edit_commands
