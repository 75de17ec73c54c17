#pragma once
// A voice on a live channel with an instrument and a sample, and the steps
// row processing runs on it: the row set-up, then tick steps.

#include "engine/tables.h"
#include "engine/timing/position_table.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_flags.h"
#include "engine/voice/voice_update_tables.h"

#include "model/instrument/instrument.h"
#include "model/sample/sample.h"
#include "model/song/channel.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

// Nodes (tick, value) in tick mode; both values of each node alike.
inline void setEnvelopeNodes(TesselEnvelope& env, std::initializer_list<std::pair<int, int>> nodes)
{
    env.enabled = TesselEnvelope::Ticks;
    env.nodeCount = 0;
    for (auto [tick, value] : nodes) {
        TesselEnvelopeNode& n = env.node(static_cast<int>(env.nodeCount++));
        n.tick = static_cast<uint16_t>(tick);
        n.value = static_cast<uint16_t>(value);
        n.value2 = static_cast<uint16_t>(value);
    }
    env.computeSlopes();
}

struct VoiceRig {
    VoiceRig()
    {
        static const bool filled = [] {
            fillTesselTables();
            return true;
        }();
        (void)filled;
        fillRateTables(44100.0);
        positions = std::make_unique<TesselPositionTable>();
        voice = std::make_unique<TesselVoice>(positions.get());
        sample.speed = 44100;
        sample.pitch = 60;
        sample.channels = 1;
        sample.length = 100000;
        voice->instrument = &instrument;
        voice->sample = &sample;
        voice->liveChannel = &live;
        voice->channelSettings = &live;
        voice->setState(voice_state::kActive | voice_state::kSample);
        voice->note = 60;
        voice->pitchFactor = 1.0f;
        voice->setVolume(64);
        voice->envelopes[kVolumeEnvelope].value = 64.0f;
        voice->envelopes[kPanningEnvelope].value = 32.0f;
        voice->envelopes[kPanningEnvelope].secondValue = 32.0f;
        voice->envelopes[kPitchEnvelope].value = 32.0f;
        voice->envelopes[kFilterEnvelope].value = 64.0f;
        voice->envelopes[kFilterEnvelope].secondValue = 64.0f;
    }

    // The row set-up of an effect cell followed by tick 0, as row processing does.
    void row(char letter, int parameter, uint16_t flags = voice_flag::kPlayback)
    {
        voice->row.effect.command = letter;
        voice->row.effect.parameter = static_cast<int16_t>(parameter);
        rowFlags = flags;
        voice->flags = static_cast<uint16_t>(flags | voice_flag::kSetup);
        voice->runEffectSlots();
        voice->flags = static_cast<uint16_t>(flags & ~voice_flag::kNewNote);
        tick();
    }
    void tick()
    {
        voice->flags = static_cast<uint16_t>(rowFlags & ~(voice_flag::kNewNote | voice_flag::kSetup));
        voice->runEffectSlots();
    }
    TesselEffectSlot& slot(int i = 1) { return live.effectSlots[static_cast<size_t>(i)]; }

    TesselChannel live;
    TesselInstrument instrument;
    TesselSample sample;
    std::unique_ptr<TesselPositionTable> positions;
    std::unique_ptr<TesselVoice> voice;
    uint16_t rowFlags = voice_flag::kPlayback;
};
