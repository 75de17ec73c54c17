// The node row step: a subrow becomes the node's voice's row, through the
// note delay, the past-note copy, the key map and the velocity regions.
#include "engine/engine.h"
#include "engine/engine_globals.h"
#include "engine/pool.h"
#include "engine/rows/row_steps.h"
#include "engine/voice/voice_flags.h"

#include <algorithm>

using namespace voice_flag;

bool rowHasNoteDelay(const TesselSubrow& row, const TesselEffectSlot& rowSlot)
{
    if (row.effect.command != 'S')
        return false;
    const int p = row.effect.parameter & 0xFF;
    if (p == 0) {
        const TesselEffectMemory* memory = rowSlot.memoryFor('S');
        return memory && (memory->value >> 4) == 0xD;
    }
    return (p >> 4) == 0xD;
}

bool isPortamento(const TesselSubrow& row)
{
    return row.effect.command == 'G' || row.effect.command == 'L';
}

void returnNodeToPool(TesselVoiceListNode* node)
{
    // A node the pool cannot take back is still emptied and unlinked.
    if (node && !(TesselPools::nodes && TesselPools::nodes->release(node)))
        node->release();
}

namespace {

// A portamento that keeps the voice: G or L without an instrument or with
// the one the voice already plays. With another instrument the voice restarts.
bool keepsVoice(const TesselSubrow& row, const TesselVoice& voice)
{
    return isPortamento(row) && (row.instrument == 0 || row.instrument == voice.instrumentNumber);
}

// The row's own note as a key-map index; -1 for what the key map cannot hold.
int8_t keyOf(int pitch)
{
    return pitch >= 0 && pitch <= 127 ? static_cast<int8_t>(pitch) : -1;
}

// The sample of a new note: the key-map entry's, else the first velocity
// region of the key holding the velocity, else none.
TesselSample* sampleFor(TesselModule& module, const TesselVoice& voice, const TesselSubrow& entry)
{
    int number = entry.instrument;
    if (number < 1) {
        const TesselKeyRegion* region = nullptr;
        if (voice.key >= 0 && voice.key < kKeys)
            region = voice.instrument->keymap.regionsOf(voice.key).find(voice.velocity, 0);
        number = region ? region->value : 0;
    }
    return number >= 1 && number <= kSamples ? &module.samples[static_cast<size_t>(number - 1)] : nullptr;
}

// The song's channel settings behind a live record; the preview record (and
// any record outside the engine's table) stands for itself.
TesselChannel* settingsOf(TesselModule& module, TesselChannel& live)
{
    const std::ptrdiff_t c = &live - liveChannels().data();
    return c >= 0 && c < kChannels ? &module.channels[static_cast<size_t>(c)] : &live;
}

// A node holding a copy of the node's voice, or null when a pool runs dry.
TesselVoiceListNode* copyForPastNote(const TesselVoiceListNode& node)
{
    TesselVoiceListPool* pool = TesselPools::nodes;
    TesselVoiceListNode* copy = pool ? pool->acquire(&node) : nullptr;
    if (copy && !copy->voice) {
        pool->release(copy);
        return nullptr;
    }
    if (copy)
        copy->delay = -1;
    return copy;
}

// Steps 1-2: takes the row and runs the note delay; false while the note waits.
bool takeRow(TesselVoiceListNode& node, TesselEngine& engine, TesselModule& module, TesselChannel& live,
                    const TesselSubrow* subrow, int subrowIndex)
{
    TesselVoice& v = *node.voice;
    if (subrow) {
        // A delay longer than the last row is dropped: the new row plays on time.
        if (node.delay >= 0) {
            node.delay = -1;
            v.setState(static_cast<uint8_t>(v.state() & ~voice_state::kDelayed));
        }
        v.row = *subrow;
        if (subrowIndex != -1) {
            const int index = subrow == &TesselRow::blank() ? -1 : subrowIndex;
            v.subrowIndex = static_cast<uint8_t>(index);
            v.row.index = static_cast<int16_t>(index);
        }
        v.liveChannel = &live;
        v.channelSettings = settingsOf(module, live);
        v.flags = engine.tickFlags;
    } else {
        // A delayed note keeps whether playback or an audition gave its row.
        v.flags = static_cast<uint16_t>(engine.tickFlags | (v.flags & kPlayback));
    }

    TesselEffectSlot& rowSlot = live.effectSlots[1];
    if (node.delay == -1 && subrow && rowHasNoteDelay(v.row, rowSlot)) {
        const uint8_t remembered = rowSlot.memoryFor('S')->apply(static_cast<uint8_t>(v.row.effect.parameter & 0xFF));
        node.delay = static_cast<int8_t>(remembered & 15);
        v.setState(v.state() | voice_state::kDelayed);
        return false;
    }
    if (node.delay < 1) {
        node.delay = -1;
        v.setState(static_cast<uint8_t>(v.state() & ~voice_state::kDelayed));
        return true;
    }
    --node.delay;
    return false;
}

} // namespace

TesselVoiceListNode* TesselVoiceListNode::processRow(TesselEngine& engine, TesselModule& module, TesselChannel& live,
                                                     int blockOffset, const TesselSubrow* subrow, int subrowIndex)
{
    if (!voice || (!subrow && delay < 0))
        return nullptr;
    if (!takeRow(*this, engine, module, live, subrow, subrowIndex))
        return nullptr;

    TesselVoice& v = *voice;
    const TesselSubrow& row = v.row;
    const bool keep = keepsVoice(row, v);

    TesselVoiceListNode* pastNote = nullptr;
    if (row.instrument != 0 && row.pitch != -1 && !keep)
        pastNote = copyForPastNote(*this);

    v.flags |= kSetup;
    if (row.instrument != 0) {
        v.flags |= kNewInstrument;
        setInstrument(module, row.instrument);
        if (!keep)
            v.flags |= kNewNote;
    }

    if (v.instrument && row.pitch != -1) {
        if (row.pitch == 254 || row.pitch == 255) {
            // A cut or off that brings an instrument must neither start its
            // note again nor give a silenced voice its default volume back.
            v.flags &= static_cast<uint16_t>(~(kNewNote | kNewInstrument));
            if (row.pitch == 254)
                cutAll();
            else
                noteOffAll();
        } else if (v.note == -1 || !keep) {
            v.key = keyOf(row.pitch);
            const TesselSubrow* entry = v.keyMapEntry();
            if (!entry)
                entry = &TesselRow::blank();
            if (entry->pitch >= 0 && entry->pitch <= 253 && (v.note == -1 || !isPortamento(*entry))) {
                v.note = static_cast<int8_t>(entry->pitch);
                v.flags |= kNewNote | kNewPitch;
            }
        }
    }

    if (v.flags & kNewNote) {
        if (!v.instrument || v.instrument->midiOut || v.key < 0) {
            v.sample = nullptr;
        } else {
            v.velocity = static_cast<uint8_t>(row.volume == -1 ? 64 : std::clamp<int>(row.volume, 0, 127));
            const TesselSubrow* entry = v.keyMapEntry();
            v.sample = sampleFor(module, v, entry ? *entry : TesselRow::blank());
        }
    }

    v.updateRow(blockOffset, engine.random);

    const bool newNote = v.instrument && (v.flags & kNewNote);
    v.flags &= static_cast<uint16_t>(~(kNewNote | kSetup));
    if (newNote)
        return pastNote;
    returnNodeToPool(pastNote);
    return nullptr;
}
