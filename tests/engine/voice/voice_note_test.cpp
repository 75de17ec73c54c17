// Note start, release and event recording of voices.
#include "engine/engine_fixture.h"

#include "engine/voice/voice.h"
#include "engine/voice/voice_list.h"

#include <cstring>

namespace {

// Voices without an engine; the fixture restores what the module's reset changes.
class VoiceNoteTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        song = std::make_unique<TesselModule>();
        instrument = &song->instruments[0];
        sample = &song->samples[0];
        ASSERT_TRUE(sample->audio.allocate(1, 100));
        voice.instrument = instrument;
        voice.sample = sample;
        voice.setState(voice_state::kActive | voice_state::kSample);
        voice.setVolume(40);
    }

    std::unique_ptr<TesselModule> song;
    TesselInstrument* instrument = nullptr;
    TesselSample* sample = nullptr;
    TesselVoice voice;
};

} // namespace

TEST_F(VoiceNoteTest, ReleasesLeaveAnIdleVoiceAlone)
{
    voice.setState(voice_state::kIdle);
    voice.newNoteAction = 1;
    instrument->fadeOut = 100;
    voice.cut();
    voice.startFade();
    voice.noteOff();
    EXPECT_EQ(voice.state(), voice_state::kIdle);
    EXPECT_EQ(voice.newNoteAction, 1);
    EXPECT_EQ(voice.volume, 40);
    EXPECT_EQ(voice.fade, -1);
    EXPECT_EQ(voice.sustainState, 1);
}

TEST_F(VoiceNoteTest, NoteOffWithoutEnvelopeOrFadeOutCuts)
{
    voice.newNoteAction = 1;
    voice.noteOff();
    EXPECT_TRUE(voice.state() & voice_state::kReleased);
    EXPECT_EQ(voice.volume, 0);
    EXPECT_EQ(voice.effectiveVolume, 0);
    EXPECT_EQ(voice.newNoteAction, 0);
    EXPECT_EQ(voice.sustainState, 3);
    for (const TesselEnvelopeState& e : voice.envelopes)
        EXPECT_EQ(e.phase, 3);
}

TEST_F(VoiceNoteTest, NoteOffWithALoopingVolumeEnvelopeAndNoFadeOutCuts)
{
    instrument->volumeEnvelope().enabled = 1;
    instrument->volumeEnvelope().loop.type = 1;
    voice.envelopes[kVolumeEnvelope].enabled = 1;
    voice.noteOff();
    EXPECT_EQ(voice.volume, 0);
    EXPECT_EQ(voice.newNoteAction, 0);
}

TEST_F(VoiceNoteTest, NoteOffLeavesAnEndingVolumeEnvelopeToFade)
{
    instrument->volumeEnvelope().enabled = 1;
    voice.envelopes[kVolumeEnvelope].enabled = 1;
    instrument->fadeOut = 200;
    voice.noteOff();
    EXPECT_TRUE(voice.state() & voice_state::kReleased);
    EXPECT_EQ(voice.newNoteAction, 2);
    EXPECT_EQ(voice.volume, 40);
    EXPECT_EQ(voice.fade, -1) << "the envelope's end starts the fade";
}

TEST_F(VoiceNoteTest, NoteOffWithFadeOutFades)
{
    instrument->fadeOut = 200;
    voice.noteOff();
    EXPECT_EQ(voice.newNoteAction, 3);
    EXPECT_EQ(voice.fade, 1024);
    EXPECT_EQ(voice.volume, 40);
}

TEST_F(VoiceNoteTest, FadeDoesNotRestartARunningFade)
{
    instrument->fadeOut = 200;
    voice.fade = 500;
    voice.startFade();
    EXPECT_EQ(voice.fade, 500);
    EXPECT_EQ(voice.newNoteAction, 3);

    instrument->fadeOut = 0;
    voice.fade = -1;
    voice.startFade();
    EXPECT_EQ(voice.fade, -1) << "no fade-out: only the released bit";
    EXPECT_TRUE(voice.state() & voice_state::kReleased);
}

TEST_F(VoiceNoteTest, MidiVoiceKeepsItsVolumeWhenCut)
{
    voice.setState(voice_state::kActive | voice_state::kMidi);
    instrument->fadeOut = 200;
    voice.startFade();
    EXPECT_EQ(voice.fade, -1);
    voice.cut();
    EXPECT_EQ(voice.volume, 40);
    EXPECT_EQ(voice.newNoteAction, 0);
}

TEST_F(VoiceNoteTest, SettersClamp)
{
    voice.setVolume(-5);
    EXPECT_EQ(voice.volume, 0);
    voice.setVolume(64);
    EXPECT_EQ(voice.volume, 64);
    voice.setVolume(200);
    EXPECT_EQ(voice.effectiveVolume, 64);
    voice.setVolume(63);
    EXPECT_EQ(voice.volume, 63);

    voice.setCutoff(127);
    EXPECT_EQ(voice.cutoff, 127);
    voice.setCutoff(-1);
    EXPECT_EQ(voice.effectiveCutoff, 0);
    voice.setResonance(300);
    EXPECT_EQ(voice.resonance, 127);

    voice.depth = 0x80 | 20;
    voice.setPanning(90);
    EXPECT_EQ(voice.panning, 64);
    EXPECT_EQ(voice.effectivePanning, 64);
    EXPECT_EQ(voice.depth, 20);
    EXPECT_EQ(voice.effectiveDepth, 20);
    voice.setPanning(-3);
    EXPECT_EQ(voice.panning, 0);
}

TEST_F(VoiceNoteTest, StartNoteTakesTheInstrumentsEnvelopesAndRestartsTheLoops)
{
    instrument->newNoteAction = 3;
    instrument->volumeEnvelope().enabled = 1;
    instrument->filterEnvelope().enabled = 1;
    sample->loop.begin = 10;
    sample->loop.end = 90;
    sample->loop.workingEnd = {50, 0.5f};
    sample->sustain.begin = 5;
    sample->sustain.workingBegin = {7, 0.25f};
    voice.position = 77;
    voice.fade = 300;
    voice.sustainState = 3;
    voice.cutoff = 30;
    voice.resonance = 40;
    voice.envelopes[kVolumeEnvelope].position = 12;
    voice.autoVibratoPhase = 9;

    voice.startNote();
    EXPECT_EQ(voice.newNoteAction, 3);
    EXPECT_EQ(sample->loop.workingEnd, (TesselSamplePos{90, 0.0f}));
    EXPECT_EQ(sample->loop.workingBegin, (TesselSamplePos{10, 0.0f}));
    EXPECT_EQ(sample->sustain.workingBegin, (TesselSamplePos{5, 0.0f}));
    EXPECT_EQ(voice.position, 0);
    EXPECT_EQ(voice.fade, -1);
    EXPECT_EQ(voice.sustainState, 1);
    EXPECT_EQ(voice.cutoff, 127);
    EXPECT_EQ(voice.lastCutoff, 127);
    EXPECT_EQ(voice.resonance, 0);
    EXPECT_EQ(voice.autoVibratoPhase, 9) << "the auto-vibrato phase persists";

    const TesselEnvelopeState& volume = voice.envelopes[kVolumeEnvelope];
    EXPECT_EQ(volume.enabled, 1);
    EXPECT_EQ(volume.running, 1);
    EXPECT_EQ(volume.position, 0);
    EXPECT_EQ(volume.value, 64.0f);
    EXPECT_EQ(voice.envelopes[kPanningEnvelope].running, 0) << "a disabled envelope does not run";
    EXPECT_EQ(voice.envelopes[kPanningEnvelope].secondValue, 32.0f);
    EXPECT_EQ(voice.envelopes[kPitchEnvelope].value, 32.0f);
    EXPECT_EQ(voice.envelopes[kFilterEnvelope].running, 2);
    EXPECT_EQ(voice.envelopes[kFilterEnvelope].secondValue, 64.0f);
}

TEST_F(VoiceNoteTest, NewNoteStateFollowsWhatTheVoicePlays)
{
    EXPECT_EQ(voice.noteState(), 9);
    instrument->midiOut = 1;
    EXPECT_EQ(voice.noteState(), 0x11);
    instrument->midiOut = 0;
    sample->audio.free();
    EXPECT_EQ(voice.noteState(), 0);
    voice.sample = nullptr;
    voice.instrument = nullptr;
    EXPECT_EQ(voice.noteState(), 0);
}

TEST_F(VoiceNoteTest, KeyMapEntryNeedsInstrumentAndKey)
{
    voice.key = -1;
    EXPECT_EQ(voice.keyMapEntry(), nullptr);
    voice.key = 30;
    instrument->keymap.freeRow(30);
    ASSERT_NE(voice.keyMapEntry(), nullptr);
    EXPECT_TRUE(voice.keyMapEntry()->isEmpty());
    instrument->keymap.getRow(30).pitch = 42;
    EXPECT_EQ(voice.keyMapEntry()->pitch, 42);
    voice.instrument = nullptr;
    EXPECT_EQ(voice.keyMapEntry(), nullptr);
}

TEST_F(VoiceNoteTest, NodesReleaseTheirVoiceByItsNewNoteAction)
{
    TesselVoiceListNode node;
    node.voice = &voice;
    instrument->fadeOut = 100;

    voice.newNoteAction = 1;
    node.applyNewNoteAction();
    EXPECT_FALSE(voice.state() & voice_state::kReleased) << "continue";

    voice.newNoteAction = 3;
    node.applyNewNoteAction();
    EXPECT_EQ(voice.fade, 1024);

    node.cutAll();
    EXPECT_STREQ(voice.noteText, "^^^");
    EXPECT_EQ(voice.volume, 0);
    node.noteOffAll();
    EXPECT_STREQ(voice.noteText, "===");

    TesselVoiceListNode empty;
    empty.cutAll();
    empty.applyNewNoteAction();
    empty.setInstrument(*song, 1);
    node.voice = nullptr;
}

TEST_F(VoiceNoteTest, NodeSettersReachTheVoice)
{
    TesselVoiceListNode node;
    node.voice = &voice;
    node.setInstrument(*song, 3);
    EXPECT_EQ(voice.instrument, &song->instruments[2]);
    EXPECT_EQ(voice.instrumentNumber, 3);
    node.setInstrument(*song, 100);
    EXPECT_EQ(voice.instrument, nullptr);
    EXPECT_EQ(voice.instrumentNumber, 0);
    node.addFlags(0x10);
    node.addFlags(0x02);
    node.setStateOnly(0x21);
    EXPECT_EQ(voice.flags, 0x12);
    EXPECT_EQ(voice.state(), 0x21);
    node.voice = nullptr;
}

TEST_F(VoiceNoteTest, CarriedEnvelopesComeFromThePastNote)
{
    TesselVoice past;
    past.envelopes[kVolumeEnvelope].position = 33;
    past.envelopes[kVolumeEnvelope].value = 12.0f;
    past.envelopes[kPitchEnvelope].position = 44;
    instrument->volumeEnvelope().carry = 1;
    TesselVoiceListNode node;
    TesselVoiceListNode pastNode;
    node.voice = &voice;
    pastNode.voice = &past;
    node.carryEnvelopes(pastNode);
    EXPECT_EQ(voice.envelopes[kVolumeEnvelope].position, 33);
    EXPECT_EQ(voice.envelopes[kVolumeEnvelope].value, 12.0f);
    EXPECT_EQ(voice.envelopes[kPitchEnvelope].position, 0);
    node.voice = nullptr;
    pastNode.voice = nullptr;
}

// Event recording draws on the engine's event pool.
class VoiceEventTest : public EngineTest {};

TEST_F(VoiceEventTest, ChangesAreRecordedOncePerDifference)
{
    engine = std::make_unique<TesselEngine>();
    ASSERT_TRUE(engine->usable());
    TesselVoice voice;
    voice.setState(voice_state::kActive | voice_state::kSample);
    voice.current.gain0 = 0.5f;
    voice.recordEvent(256);
    ASSERT_NE(voice.events, nullptr);
    EXPECT_EQ(voice.events->chainLength(), 1);
    EXPECT_EQ(voice.events->end, 256);

    voice.recordEvent(256);
    EXPECT_EQ(voice.events->chainLength(), 1) << "nothing changed";

    voice.current.pitch = 2.0f;
    voice.recordEvent(256);
    EXPECT_EQ(voice.events->chainLength(), 1) << "a last event at frame 0 takes the values";
    EXPECT_EQ(voice.events->pitch, 2.0f);

    // A tick at frame 100 split the block: a change now adds an event.
    voice.events->end = 100;
    ASSERT_TRUE(voice.events->append(*voice.events));
    voice.events->last()->start = 100;
    voice.current.gain1 = 0.25f;
    voice.recordEvent(256);
    EXPECT_EQ(voice.events->chainLength(), 3);
    EXPECT_EQ(voice.events->last()->gain1, 0.25f);

    TesselVoiceListNode node;
    node.voice = &voice;
    node.setState(voice_state::kActive | voice_state::kReleased);
    for (TesselVoiceEvent* e = voice.events; e; e = e->following())
        EXPECT_EQ(e->state, voice_state::kActive | voice_state::kReleased);
    voice.freeEvents();
    node.voice = nullptr;
}
