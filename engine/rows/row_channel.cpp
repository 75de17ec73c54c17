// The channel row step: past-note actions, the node row step, what becomes
// of the voice a new note displaced, envelope carry and the duplicate check.
#include "engine/engine.h"
#include "engine/engine_globals.h"
#include "engine/rows/row_steps.h"
#include "engine/voice/voice_flags.h"
#include "engine/voice/voice_midi.h"

#include "model/instrument/instrument.h"

namespace {

constexpr uint8_t kSounding = voice_state::kActive | voice_state::kReleased;

// S70 cut, S71 note off, S72 fade on every node after `node`; false for
// any other row.
bool applyPastNoteAction(const TesselSubrow& row, TesselVoiceListNode& node)
{
    for (int action = 0; action <= 2; ++action) {
        if (!row.matchesEffect('S', 7, action))
            continue;
        for (TesselVoiceListNode* n = node.next; n; n = n->next) {
            if (action == 0 && n->voice)
                n->voice->cut();
            else if (action == 1)
                n->noteOffAll();
            else if (action == 2)
                n->fadeAll();
        }
        return true;
    }
    return false;
}

// The sample number the instrument's key map gives a note.
int mappedSample(const TesselInstrument& instrument, int note)
{
    return instrument.keymap.keyRow(note).instrument;
}

bool isDuplicate(const TesselVoice& current, const TesselVoice& other)
{
    switch (current.instrument->duplicateCheckType) {
    case 1:
        return other.note == current.note;
    case 2:
        return mappedSample(*current.instrument, other.note) == mappedSample(*current.instrument, current.note);
    case 3:
        return true;
    default:
        return false;
    }
}

void checkDuplicates(TesselChannelVoiceList& list, TesselVoiceListNode& currentNode)
{
    const TesselVoice& current = *currentNode.voice;
    for (TesselVoiceListNode* n = list.head; n; n = n->next) {
        if (n == &currentNode || !n->voice || n->voice->instrument != current.instrument)
            continue;
        if (!isDuplicate(current, *n->voice))
            continue;
        switch (current.instrument->duplicateAction) {
        case 0:
            n->cutAll();
            break;
        case 1:
            n->noteOffAll();
            break;
        case 2:
            n->fadeAll();
            break;
        default:
            break;
        }
    }
}

// A new note displaces a released voice too: a note off or the end of the
// volume envelope changes how the voice fades, not what its instrument asks
// of it when the channel plays on. Without this a held note whose envelope
// has ended (and which has no fade-out) would sound for ever beside every
// later note of its channel.
void displaceReleased(TesselVoice& voice)
{
    if (voice.instrument && voice.instrument->newNoteAction == 0)
        voice.cut();
}

// A MIDI voice left to continue is dropped, but its note must still end.
void endMidiVoice(TesselVoiceListNode& node, const TesselChannel& live, int blockOffset)
{
    TesselVoice& v = *node.voice;
    v.setState(v.state() | voice_state::kReleased);
    sendVoiceMidi(v, live, blockOffset);
    node.setState(voice_state::kIdle);
}

void linkAsSecond(TesselChannelVoiceList& list, TesselVoiceListNode& node)
{
    TesselVoiceListNode* first = list.head;
    node.previous = first;
    node.next = first->next;
    if (first->next)
        first->next->previous = &node;
    first->next = &node;
}

} // namespace

void TesselChannelVoiceList::processRow(TesselEngine& engine, TesselModule& module, int blockOffset, int position,
                                        const TesselSubrow* subrow, int subrowIndex)
{
    TesselVoiceListNode* node = nodeAt(position);
    if (!node || channel < 0 || channel >= kLiveChannels)
        return;
    TesselChannel& live = liveChannels()[static_cast<size_t>(channel)];
    // Whatever calls the row step, its list has work and is no longer settled.
    engine.busyLists.mark(channel);

    const bool pastNoteAction = subrow && applyPastNoteAction(*subrow, *node);
    TesselVoiceListNode* old = node->processRow(engine, module, live, blockOffset, subrow, subrowIndex);
    if (!old)
        return;

    bool linked = false;
    const bool released = old->voice && (old->voice->state() & voice_state::kReleased);
    if (old->voice && (old->voice->state() & kSounding)) {
        if (!released && !pastNoteAction)
            old->applyNewNoteAction();
        else if (!pastNoteAction)
            displaceReleased(*old->voice);
        const TesselVoice& ov = *old->voice;
        if (ov.instrument && ov.instrument->midiOut && ov.newNoteAction == 1) {
            endMidiVoice(*old, live, blockOffset);
        } else {
            linkAsSecond(*this, *old);
            linked = true;
        }
    }

    if (!released && !pastNoteAction && node->voice) {
        TesselVoice& current = *node->voice;
        if (old->voice && current.instrumentNumber == old->voice->instrumentNumber)
            node->carryEnvelopes(*old);
        if ((current.state() & voice_state::kActive) && current.instrument)
            checkDuplicates(*this, *node);
    }

    if (!linked)
        returnNodeToPool(old);
}

// What the channel row step does with the blank cell when the current voice
// has no instrument: its delay and delayed state cleared, the cell taken as
// the voice's row without an index, the live record and the song's channel
// settings, the block's tick flags, and the row slot set up for no effect.
// The rest (key-map slot, row values, MIDI) needs an instrument.
bool TesselEngine::blankCellSettled(int channel) const
{
    const TesselChannelVoiceList& list = voiceLists[static_cast<size_t>(channel)];
    const TesselVoiceListNode* node = list.head;
    if (!node || !node->voice || list.channel < 0 || list.channel >= kChannels)
        return node == nullptr || node->voice == nullptr;
    const TesselVoice& v = *node->voice;
    if (v.instrument || node->delay != -1 || (v.state() & voice_state::kDelayed))
        return false;
    const TesselChannel& live = liveChannels()[static_cast<size_t>(list.channel)];
    if (v.liveChannel != &live || v.channelSettings != &song.channels[static_cast<size_t>(list.channel)])
        return false;
    const TesselRow& blank = TesselRow::blank();
    if (!v.row.sameData(blank) || v.row.effect.cellIndex != blank.effect.cellIndex || v.row.index != -1 ||
        v.subrowIndex != 255)
        return false;
    constexpr uint16_t kRowStarts = voice_flag::kNewNote | voice_flag::kNewPitch | voice_flag::kNewInstrument;
    if ((tickFlags & kRowStarts) || v.flags != (tickFlags & ~(voice_flag::kNewNote | voice_flag::kSetup)))
        return false;
    const TesselEffectSlot& slot = live.effectSlots[1];
    return slot.command == '.' && slot.count == 0 && slot.tremorOff == 0 && slot.slideFactor == 1.0f &&
           slot.volumeSlideStep == 0 && slot.panSlideStep == 0 && !(slot.loopMark != 0 && slot.loopMark == slot.loopPasses);
}

bool TesselEngine::passesBlankCell(int channel)
{
    if (settledTickFlags_ != tickFlags) {
        busyLists.forgetSettled();
        settledTickFlags_ = tickFlags;
    }
    if (busyLists.settled(channel))
        return true;
    if (!blankCellSettled(channel))
        return false;
    busyLists.settle(channel);
    return true;
}
