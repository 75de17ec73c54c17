// MIDI notes from the host into the pattern being edited: a note-on enters
// the note into the cell under the cursor (or the next free channel) and
// sounds it, a note-off releases it. The audio thread only reads the song:
// the cell it would write goes to the editor's thread through
// midiInputRequests, with what the page itself must do (step its cursor,
// redraw a channel), and that thread writes it under the song lock.
#include "engine/engine.h"
#include "engine/engine_actions.h"
#include "engine/engine_status.h"

#include "model/model_globals.h"

#include "platform/vst2_records.h"

#include <algorithm>

namespace {

constexpr uint32_t kMidiInputLockWaitMs = 100;

int byteOf(char c)
{
    return static_cast<unsigned char>(c);
}

} // namespace

void TesselEngine::processMidiInput(const VstEvents* events)
{
    const int32_t mode = preferences.midiInMode;
    if (!events || !editor || mode == kMidiInOff)
        return;
    TesselNoteEntry entry;
    if (!editor->noteEntry(entry))
        return;
    const bool following = preferences.followPattern && transport >= kPlayingSong;
    TesselAudioThreadScope audioThread;
    platform::MutexLock lock(song.songLock(), kMidiInputLockWaitMs);
    if (!lock)
        return;   // the notes are dropped rather than written beside the editor

    bool entered = false;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        if (!event || event->type != kVstMidiType || !entry.isCurrentPage || entry.wantsKeys)
            continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        const int status = byteOf(midi->midiData[0]);
        const int note = byteOf(midi->midiData[1]) & 0x7F;
        const int velocity = byteOf(midi->midiData[2]) & 0x7F;
        logEngineAction(kActMidiInput, status | (byteOf(midi->midiData[1]) << 8) | (byteOf(midi->midiData[2]) << 16));
        if ((status & 0xF0) == 0x90 && velocity > 0)
            enterMidiNote(entry, note, velocity, entered);
        else if (status < 0x90 || (status & 0xF0) == 0x90)
            releaseMidiNote(note, entry.instrument);
    }
    if (!following && mode == kMidiInSpread && entered && entry.stepAfterChord)
        midiInputRequests.stepCursor();
}

void TesselEngine::enterMidiNote(TesselNoteEntry& entry, int note, int velocity, bool& entered)
{
    const int32_t p = editor->currentPattern();
    if (p < 0 || p >= kPatterns || note >= kHeldNotes)
        return;   // the pattern holds notes C-0..B-9 only
    TesselPattern& pattern = song.patterns[static_cast<size_t>(p)];
    const int row = entry.row;
    int c = std::clamp(entry.channel, 0, kChannels - 1);
    if (row < 0 || row >= pattern.length())
        return;
    if (preferences.midiInMode == kMidiInSpread)
        for (int k = c; k < kChannels; ++k)
            if (midiInSlots[static_cast<size_t>(k)].count == 0) {
                c = k;
                break;
            }

    // The cell as it will be once the editor's thread has written the note.
    const TesselTrack* track = pattern.tracks.trackAt(c);
    const TesselRow* stored = track ? track->rowAt(row) : nullptr;
    TesselSubrow cell(static_cast<int16_t>(row));
    if (stored)
        cell = *stored;
    TesselMidiCellWrite write;
    write.song = songCounter().load();
    write.pattern = static_cast<int16_t>(p);
    write.channel = static_cast<int16_t>(c);
    write.row = static_cast<int16_t>(row);
    TesselMidiInSlot& slot = midiInSlots[static_cast<size_t>(c)];
    cell.pitch = static_cast<int16_t>(note);
    midiInputRequests.enteredNote(note);
    slot.lastNote = note;
    midiNoteChannel[note] = c;
    ++slot.count;
    if (entry.enterInstrument) {
        cell.instrument = static_cast<int16_t>(entry.instrument);
        write.fields |= TesselMidiCellWrite::kInstrument;
    }
    if (entry.enterVolume) {
        cell.volume = static_cast<int16_t>((velocity + 1) / 2);
        slot.lastVolume = cell.volume;
        cell.panning = static_cast<int16_t>(entry.panning);
        cell.depth = static_cast<int16_t>(entry.depth);
        write.fields |= TesselMidiCellWrite::kVolume;
    }
    if (entry.enterLetter) {
        cell.effect.command = entry.letter;
        write.fields |= TesselMidiCellWrite::kLetter;
    }
    if (entry.enterParameter) {
        cell.effect.parameter = static_cast<int16_t>(entry.parameter);
        write.fields |= TesselMidiCellWrite::kParameter;
    }

    const bool playing = transport == kPlayingSong || transport == kPlayingPattern;
    if (preferences.followPattern && playing && entry.enterLetter && entry.enterParameter) {
        const auto t = static_cast<int>(position().ticks);
        if (t >= 1 && t <= 15) {
            cell.effect.command = 'S';
            cell.effect.parameter = static_cast<int16_t>(0xD0 + t);
        }
    } else if (preferences.midiInMode == kMidiInOneChannel) {
        // The page steps later, on its own thread; the next note of this
        // list already goes where the step will take the cursor.
        midiInputRequests.stepCursor();
        if (entry.row + entry.rowStep < pattern.length())
            entry.row += entry.rowStep;
    }
    entered = true;
    write.pitch = cell.pitch;
    write.instrument = cell.instrument;
    write.volume = cell.volume;
    write.panning = cell.panning;
    write.depth = cell.depth;
    write.letter = cell.effect.command;
    write.parameter = cell.effect.parameter;
    midiInputRequests.cells.push(write);
    playNote(cell, c);
    midiInputRequests.redraw(c);
}

bool TesselEngine::enterMidiCells()
{
    if (midiInputRequests.cells.empty())
        return true;
    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    const int32_t songNow = songCounter().load();
    midiInputRequests.cells.drain([this, songNow](const TesselMidiCellWrite& write) {
        if (write.song != songNow || write.pattern < 0 || write.pattern >= kPatterns || write.channel < 0 ||
            write.channel >= kChannels)
            return;
        TesselPattern& pattern = song.patterns[static_cast<size_t>(write.pattern)];
        if (write.row < 0 || write.row >= pattern.length())
            return;
        TesselRow& cell = pattern.tracks.getTrack(write.channel).getRow(write.row);
        cell.pitch = write.pitch;
        if (write.fields & TesselMidiCellWrite::kInstrument)
            cell.instrument = write.instrument;
        if (write.fields & TesselMidiCellWrite::kVolume) {
            cell.volume = write.volume;
            cell.panning = write.panning;
            cell.depth = write.depth;
        }
        if (write.fields & TesselMidiCellWrite::kLetter)
            cell.effect.command = write.letter;
        if (write.fields & TesselMidiCellWrite::kParameter)
            cell.effect.parameter = write.parameter;
    });
    return true;
}

void TesselEngine::releaseMidiNote(int note, int instrument)
{
    TesselMidiInSlot& slot = midiInSlots[static_cast<size_t>(std::clamp(midiNoteChannel[note], 0, kChannels - 1))];
    if (slot.count > 0)
        --slot.count;
    if (note < kHeldNotes && instrument >= 0 && instrument < kHeldInstruments)
        stopNote(instrument, note, true);
}
