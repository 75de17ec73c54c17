#include "engine/midi/fake_midi.h"
#include "engine/voice/voice_midi.h"
#include "model/instrument/instrument.h"
#include "model/song/channel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class VoiceMidi : public ::testing::Test {
protected:
    void SetUp() override
    {
        gMidiSuppressed = 0;
        instrument.midiOut = true;
        channel.midiOut = rig.out.get();
    }
    void TearDown() override { gMidiSuppressed = 0; }

    // A voice at the row step of a new MIDI note.
    TesselMidiVoice newNote(int note, uint8_t velocity = 100)
    {
        TesselMidiVoice v;
        v.state = 0x11;
        v.flags = voice_midi::kNewNote | voice_midi::kSetup;
        v.note = static_cast<int8_t>(note);
        v.velocity = velocity;
        v.effectiveVolume = 64;
        v.effectivePanning = 32;
        return v;
    }
    // The row step followed by the end of the row step (flags cleared).
    void startNote(TesselMidiVoice& v, int32_t offset = 0)
    {
        sendVoiceMidi(v, &instrument, channel, offset);
        v.flags = 0;
    }
    std::vector<HostEvent> flush()
    {
        rig.host.blocks.clear();
        rig.out->processBlock(false);
        return rig.host.blocks.empty() ? std::vector<HostEvent>{} : rig.host.blocks[0];
    }

    MidiRig rig;
    TesselMidiInstrument instrument;
    TesselMidiChannel channel;
};

} // namespace

TEST_F(VoiceMidi, ChannelZeroFollowsTheLiveChannelModuloSixteen)
{
    instrument.channel = 0;
    channel.index = 17;
    TesselMidiVoice v = newNote(60);
    startNote(v);
    auto events = flush();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].status, 0x91);
    EXPECT_EQ(v.midi.channel, 1);
    EXPECT_EQ(rig.out->portState(0).noteOn[1][60], 1);

    instrument.channel = 3;
    TesselMidiVoice w = newNote(61);
    startNote(w);
    EXPECT_EQ(flush().at(0).status, 0x92);

    instrument.channel = 40; // from a hostile file: stays a channel message
    TesselMidiVoice x = newNote(62);
    startNote(x);
    EXPECT_EQ(flush().at(0).status, 0x9F);
}

TEST_F(VoiceMidi, VelocityMapsToTheMidiRange)
{
    const std::pair<int, int> cases[] = {{0, 1}, {1, 2}, {40, 80}, {63, 126}, {64, 127}, {127, 127}};
    for (auto [velocity, sent] : cases) {
        TesselMidiVoice v = newNote(60, static_cast<uint8_t>(velocity));
        startNote(v);
        auto events = flush();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].data2, sent) << "velocity " << velocity;
    }
}

TEST_F(VoiceMidi, PitchBendAtTheStartPitchIsSentOnce)
{
    TesselMidiVoice v = newNote(60);
    startNote(v);
    flush();
    sendVoiceMidi(v, &instrument, channel, 0);
    auto first = flush();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].status, 0xE0);
    EXPECT_EQ(first[0].data1, 0);
    EXPECT_EQ(first[0].data2, 64) << "8192 >> 7";
    EXPECT_EQ(first[1].status, 0xB0);
    EXPECT_EQ(first[1].data1, 7);
    EXPECT_EQ(first[1].data2, 127);
    EXPECT_EQ(first[2].data1, 10);
    EXPECT_EQ(first[2].data2, 64);
    EXPECT_EQ(v.midi.bend, 8192);

    sendVoiceMidi(v, &instrument, channel, 0);
    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_TRUE(flush().empty()) << "nothing changed, nothing sent";
    EXPECT_EQ(v.previousMidi.bend, 8192);
}

TEST_F(VoiceMidi, PitchBendFollowsThePitchAndStaysInRange)
{
    instrument.pitchBend = 12;
    instrument.pitchBendScale = 8192 / std::log(2.0);
    instrument.pitchBendHiRes = true;
    TesselMidiVoice v = newNote(60);
    startNote(v);
    v.pitchFactor = 1.5f;
    sendVoiceMidi(v, &instrument, channel, 0);
    auto events = flush();
    const int bend = static_cast<int>(std::trunc(std::log(1.5) * instrument.pitchBendScale)) + 8192;
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(bytesOf(events[1]), (MidiBytes{0xE0, bend & 127, bend >> 7}));

    v.pitchFactor = 100.0f;
    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_EQ(v.midi.bend, 16383);
    v.pitchFactor = 0.0f; // log of 0: the lowest bend, not undefined behaviour
    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_EQ(v.midi.bend, 0);
    v.startPitchFactor = 0.0f;
    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_EQ(v.midi.bend, 8192) << "0 / 0 gives no bend";
}

TEST_F(VoiceMidi, AReleaseSendsItsNoteOffAndGoesIdle)
{
    TesselMidiVoice v = newNote(64);
    startNote(v);
    sendVoiceMidi(v, &instrument, channel, 0);
    flush();
    ASSERT_EQ(rig.out->portState(0).noteOn[0][64], 1);

    v.state |= voice_state::kReleased;
    sendVoiceMidi(v, &instrument, channel, 1);
    EXPECT_EQ(v.state, 0);
    EXPECT_EQ(rig.out->portState(0).noteOn[0][64], 0);
    auto events = flush();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].status, 0x80);
    EXPECT_EQ(events[0].data1, 64);
    EXPECT_EQ(events[0].deltaFrames, 1);

    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_TRUE(flush().empty()) << "an idle voice sends nothing";
}

TEST_F(VoiceMidi, AReleaseBeforeAnyNoteOnSendsNothing)
{
    TesselMidiVoice v;
    v.state = 0x15;
    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_EQ(v.state, 0);
    EXPECT_TRUE(flush().empty());
}

TEST_F(VoiceMidi, TheOldNotesOffPrecedesTheNewNoteAtTheSameFrame)
{
    TesselMidiVoice old = newNote(60);
    startNote(old, 0);
    sendVoiceMidi(old, &instrument, channel, 0);
    flush();

    // A new row at frame 100 starts the same note; the old voice, now a
    // past note, is released by the tick update at the same frame.
    TesselMidiVoice fresh = newNote(60);
    startNote(fresh, 100);
    sendVoiceMidi(fresh, &instrument, channel, 100);
    old.state |= voice_state::kReleased;
    sendVoiceMidi(old, &instrument, channel, 100);
    auto events = flush();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].status, 0x80) << "the old note ends first";
    EXPECT_EQ(events[0].deltaFrames, 100);
    EXPECT_EQ(events[1].status, 0x90);
    EXPECT_EQ(events[2].status, 0xE0) << "the bend reset goes at the tick's frame, after the old note";
    EXPECT_EQ(events[2].deltaFrames, 100);
    EXPECT_EQ(rig.out->portState(0).noteOn[0][60], 1);
}

TEST_F(VoiceMidi, BankAndProgramGoOutOnlyWhenTheyChange)
{
    instrument.bankMsb = 1;
    instrument.bankLsb = 2;
    instrument.program = 5;
    TesselMidiVoice v = newNote(60);
    startNote(v);
    auto events = flush();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(bytesOf(events[0]), (MidiBytes{0xB0, 0, 1}));
    EXPECT_EQ(bytesOf(events[1]), (MidiBytes{0xB0, 32, 2}));
    EXPECT_EQ(events[2].status, 0xC0);
    EXPECT_EQ(events[2].data1, 5);
    EXPECT_EQ(events[3].status, 0x90);

    TesselMidiVoice again = newNote(62);
    startNote(again);
    EXPECT_EQ(flush().size(), 1u) << "same bank and program: only the note";

    instrument.program = 6;
    TesselMidiVoice other = newNote(63);
    startNote(other);
    events = flush();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].status, 0xC0);
    EXPECT_EQ(events[0].data1, 6);
}

TEST_F(VoiceMidi, ProgramZeroIsSentOnAFreshPort)
{
    instrument.program = 0;
    TesselMidiVoice v = newNote(60);
    startNote(v);
    auto events = flush();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].status, 0xC0);
    EXPECT_EQ(events[0].data1, 0);
}

TEST_F(VoiceMidi, DigitEffectsBecomeMidiMessages)
{
    TesselMidiVoice v = newNote(60);
    startNote(v);
    flush();
    instrument.effect[5] = 9;
    instrument.effect[1] = 1;
    instrument.effect[0] = 0;
    instrument.effect[2] = 130;
    channel.digitMemory[5] = 100;
    channel.digitMemory[1] = 200; // at most 127
    channel.digitMemory[0] = 3;
    channel.digitMemory[2] = 72;
    v.flags = voice_midi::kSetup;
    for (char letter : {'5', '1', '0', '2', 'A'}) {
        channel.effectLetter = letter;
        sendVoiceMidi(v, &instrument, channel, 10);
    }
    auto events = flush();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(bytesOf(events[0]), (MidiBytes{0xB0, 7, 100}));
    EXPECT_EQ(bytesOf(events[1]), (MidiBytes{0xA0, 60, 127}));
    EXPECT_EQ(events[2].status, 0xD0);
    EXPECT_EQ(events[2].data1, 3);
    EXPECT_EQ(events[3].status, 0x80);
    EXPECT_EQ(events[3].data1, 72);
    EXPECT_EQ(bytesOf(events[4]), (MidiBytes{0x90, 72, 127}));
    EXPECT_EQ(events[4].deltaFrames, 10);
}

TEST_F(VoiceMidi, CutRowsAndRestartsEndTheSoundingNote)
{
    TesselMidiVoice v = newNote(60);
    startNote(v);
    flush();
    v.rowPitch = 255;
    sendVoiceMidi(v, &instrument, channel, 0);
    auto events = flush();
    ASSERT_GE(events.size(), 1u);
    EXPECT_EQ(events[0].status, 0x80);
    EXPECT_EQ(rig.out->portState(0).noteOn[0][60], 0);

    // The send stage restarting on a note that still sounds ends it first.
    rig.out->portState(0).noteOn[0][60] = 1;
    v.rowPitch = -1;
    v.midi.stage = 0;
    sendVoiceMidi(v, &instrument, channel, 0);
    events = flush();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].status, 0x80);
    EXPECT_EQ(events.back().status, 0x90);
    EXPECT_EQ(rig.out->portState(0).noteOn[0][60], 1);
}

TEST_F(VoiceMidi, VolumeAndPanningFollowTheirScalesAndResendFlags)
{
    TesselMidiVoice v = newNote(60);
    startNote(v);
    flush();
    v.effectiveVolume = 32;
    channel.volume = 32;
    instrument.globalVolume = 64;
    v.effectivePanning = 70;
    sendVoiceMidi(v, &instrument, channel, 0);
    auto events = flush();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].data2, (32 * 64 * 32) >> 11);
    EXPECT_EQ(events[2].data2, 127);

    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_TRUE(flush().empty());
    rig.out->portState(0).lastVolume[0] = 1; // another voice changed it
    v.flags = voice_midi::kVolumeSet;
    sendVoiceMidi(v, &instrument, channel, 0);
    events = flush();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data1, 7);
}

TEST_F(VoiceMidi, NothingIsSentWhenTheStepDoesNotApply)
{
    TesselMidiVoice v = newNote(60);
    gMidiSuppressed = 1;
    sendVoiceMidi(v, &instrument, channel, 0);
    gMidiSuppressed = 0;
    sendVoiceMidi(v, nullptr, channel, 0);
    TesselMidiChannel noOutput = channel;
    noOutput.midiOut = nullptr;
    sendVoiceMidi(v, &instrument, noOutput, 0);
    TesselMidiChannel muted = channel;
    muted.muted = true;
    sendVoiceMidi(v, &instrument, muted, 0);
    instrument.portNumber = -1;
    sendVoiceMidi(v, &instrument, channel, 0);
    instrument.portNumber = 9;
    sendVoiceMidi(v, &instrument, channel, 0);
    instrument.portNumber = 0;
    instrument.midiOut = false;
    sendVoiceMidi(v, &instrument, channel, 0);
    EXPECT_TRUE(flush().empty());
    EXPECT_EQ(v.midi.stage, 0);
}

TEST_F(VoiceMidi, AMachinePortGetsItsOwnState)
{
    rig.out->open();
    instrument.portNumber = 2;
    TesselMidiVoice v = newNote(60);
    startNote(v);
    EXPECT_EQ(v.midi.port, 2);
    EXPECT_EQ(rig.out->portState(2).noteOn[0][60], 1);
    EXPECT_EQ(rig.out->portState(0).noteOn[0][60], 0);
    rig.out->processBlock(false);
    ASSERT_EQ(rig.ports->sent.size(), 1u);
    EXPECT_EQ(rig.ports->sent[0].port, 1);
}

TEST(VoiceMidiOnEngineVoice, ReadsTheVoiceInstrumentAndLiveChannel)
{
    gMidiSuppressed = 0;
    MidiRig rig;
    auto instrument = std::make_unique<TesselInstrument>();
    instrument->midiOut = 1;
    instrument->midiChannel = 0;
    instrument->midiEffects[5] = 9;
    auto live = std::make_unique<TesselChannel>();
    live->index = 17;
    live->midiOut = rig.out.get();
    live->effectSlots[1].command = '5';
    live->effectSlots[1].memoryFor('5')->value = 100;

    TesselVoice voice;
    voice.instrument = instrument.get();
    voice.setState(0x11);
    voice.flags = voice_midi::kNewNote | voice_midi::kSetup;
    voice.note = 60;
    voice.velocity = 40;
    sendVoiceMidi(voice, *live, 7);
    EXPECT_EQ(voice.midi.stage, 2);
    EXPECT_EQ(voice.midi.channel, 1);

    voice.flags = 0;
    voice.setState(0x15);
    sendVoiceMidi(voice, *live, 9);
    EXPECT_EQ(voice.state(), 0);
    EXPECT_EQ(voice.previousMidi.stage, 2);

    rig.out->processBlock(false);
    const auto& events = rig.host.blocks.at(0);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(bytesOf(events[0]), (MidiBytes{0xB1, 7, 100}));
    EXPECT_EQ(events[1].status, 0x91);
    EXPECT_EQ(events[1].data2, 80);
    EXPECT_EQ(events[2].status, 0x81);
    EXPECT_EQ(events[2].deltaFrames, 9);
}

// A sample instrument's voice, sounding or released, sends nothing; its MIDI
// state only becomes the last block's, and not while MIDI is suppressed or
// the channel has no output.
TEST(VoiceMidiOnEngineVoice, ASampleVoiceSendsNothing)
{
    MidiRig rig;
    auto instrument = std::make_unique<TesselInstrument>();
    instrument->midiOut = 0;
    auto live = std::make_unique<TesselChannel>();
    struct Case {
        uint8_t state;
        uint8_t suppressed;
        bool output;
        bool carried;
    };
    const Case cases[] = {{0x09, 0, true, true}, {0x0D, 0, true, true}, {0x09, 1, true, false}, {0x09, 0, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << int{c.state} << " suppressed " << int{c.suppressed});
        gMidiSuppressed = c.suppressed;
        live->midiOut = c.output ? rig.out.get() : nullptr;
        TesselVoice voice;
        voice.instrument = instrument.get();
        voice.setState(c.state);
        voice.flags = voice_midi::kNewNote | voice_midi::kSetup;
        voice.midi.stage = 2;
        voice.midi.volume = 90;
        sendVoiceMidi(voice, *live, 3);
        EXPECT_EQ(voice.state(), c.state);
        EXPECT_EQ(voice.previousMidi.volume, c.carried ? 90 : -1);
        rig.host.blocks.clear();
        rig.out->processBlock(false);
        EXPECT_TRUE(rig.host.blocks.empty());
    }
    gMidiSuppressed = 0;
}
