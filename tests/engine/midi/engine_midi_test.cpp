// The engine's own MIDI output: built with the engine on the machine's ports
// (fakes here), instrument ports resolved by name after every load, and an
// instrument's notes reaching a machine port or the host as the song plays.
#include "engine/block_fixture.h"
#include "fake_midi.h"

#include "engine/engine_globals.h"
#include "engine/voice/voice_midi.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Sent = std::pair<int, MidiBytes>;   // device, message

MidiBytes bytesOf(uint32_t message)
{
    return {static_cast<int>(message & 0xFF), static_cast<int>((message >> 8) & 0x7F),
            static_cast<int>((message >> 16) & 0x7F)};
}

MidiBytes bytesOf(const VstMidiEvent& e)
{
    return {static_cast<uint8_t>(e.midiData[0]), static_cast<uint8_t>(e.midiData[1]),
            static_cast<uint8_t>(e.midiData[2])};
}

class EngineMidiTest : public BlockTest {
protected:
    void SetUp() override
    {
        gMidiSuppressed = 0;
        disableMidi = 0;
        TesselEngine::makeMidiOut = [this] {
            auto fake = std::make_unique<FakeMidiPorts>(portNames);
            ports = fake.get();
            return std::make_unique<TesselMidiOut>(std::move(fake), [this] {
                auto t = std::make_unique<FakeTimerQueue>();
                timers = t.get();
                ports->timers = timers;
                return t;
            });
        };
        BlockTest::SetUp();
    }
    void TearDown() override
    {
        BlockTest::TearDown();
        TesselEngine::makeMidiOut = nullptr;
    }

    // A new engine on the current port names and disableMidi.
    void rebuildEngine()
    {
        engine.reset();
        TesselEngineHooks::loadPreferences = [](TesselEngine& e) { e.preferences.disableMidi = disableMidi; };
        engine = std::make_unique<TesselEngine>();
        engine->attachPlugin(&plugin);
        engine->editor = &editor;
        configure(125.0, 6.0, TesselModule::Resolution);
    }

    // Instrument 1 plays through MIDI channel 3 of the port called `port`.
    void midiInstrument(const char* port)
    {
        TesselInstrument& ins = engine->song.instruments[0];
        ins.midiOut = 1;
        ins.midiChannel = 3;
        ins.setMidiOutPort(port);
        engine->applyLoadedSong();
    }

    // Plays the song for `blocks` blocks of 512 frames, the fake clock
    // keeping pace, then stops and plays one more block.
    void playThenStop(int blocks)
    {
        startSong();
        for (int b = 0; b < blocks; ++b) {
            render(512, 512);
            timers->advance(12);
        }
        engine->stop();
        render(512, 512);
        timers->advance(12);
    }

    std::vector<Sent> sentToPorts()
    {
        std::vector<Sent> out;
        for (const SentMessage& m : ports->sentSoFar())
            out.push_back({m.port, bytesOf(m.message)});
        return out;
    }

    static inline uint8_t disableMidi = 0;
    std::vector<std::string> portNames{"Synth A", "Synth B"};
    FakeMidiPorts* ports = nullptr;
    FakeTimerQueue* timers = nullptr;
};

TEST_F(EngineMidiTest, MachinePortsOpenUnlessMidiIsDisabledAndTheHostHearsEitherWay)
{
    for (const uint8_t disabled : {0, 1}) {
        disableMidi = disabled;
        rebuildEngine();
        TesselMidiOut& out = *engine->midiOut;
        ASSERT_EQ(out.portCount(), 3);
        EXPECT_STREQ(out.portName(0), "(VST host)");
        EXPECT_STREQ(out.portName(2), "Synth B");
        EXPECT_EQ(out.portOpen(1), !disabled);
        EXPECT_EQ(out.portOpen(2), !disabled);
        EXPECT_EQ(liveChannels()[64].midiOut, &out);
        EXPECT_EQ(engine->song.instruments[0].midiPortNumber, 0) << "a new song's \"(VST Host)\" is the host";

        midiInstrument("(VST Host)");
        addNote(0, 0, 60);
        plugin.sentToHost.clear();
        startSong();
        render(512, 512);
        ASSERT_FALSE(plugin.sentToHost.empty());
        EXPECT_EQ(bytesOf(plugin.sentToHost[0]), (MidiBytes{0x92, 60, 127}));
    }
}

TEST_F(EngineMidiTest, EveryLoadResolvesThePortNamesWithoutCase)
{
    // The host's entry is not written: it reads back as the default name.
    const struct {
        const char* name;
        int32_t number;
        const char* reloaded;
    } cases[] = {{"(vst HOST)", 0, "(VST Host)"},
                 {"synth b", 2, "synth b"},
                 {"Synth A", 1, "Synth A"},
                 {"Gone Synth", -1, "Gone Synth"},
                 {"", -1, ""}};
    for (size_t i = 0; i < std::size(cases); ++i)
        engine->song.instruments[i].setMidiOutPort(cases[i].name);
    engine->applyLoadedSong();
    ScratchFolder folder;
    std::string path = folder.file("ports.zip");
    ASSERT_TRUE(engine->saveModule(path));

    for (TesselInstrument& ins : engine->song.instruments)
        ins.midiPortNumber = 77;
    ASSERT_EQ(engine->loadModule(path), 2);
    auto preview = std::make_unique<TesselModule>();
    ASSERT_EQ(engine->loadModule(path, preview.get()), 2);
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(engine->song.instruments[i].midiPortNumber, cases[i].number) << cases[i].name;
        EXPECT_EQ(preview->instruments[i].midiPortNumber, cases[i].number) << cases[i].name;
        EXPECT_STREQ(engine->song.instruments[i].midiOutPort, cases[i].reloaded);
    }
    EXPECT_EQ(engine->song.instruments[50].midiPortNumber, 0);
}

TEST_F(EngineMidiTest, AnInstrumentOnAMachinePortPlaysThereAndNotToTheHost)
{
    midiInstrument("SYNTH B");
    addNote(0, 0, 60);
    addNote(1, 2, 64);
    addNote(1, 3, 254);   // a cut
    playThenStop(34);     // past row 3 at frame 15876

    const std::vector<Sent> sent = sentToPorts();
    const std::vector<Sent> notes = [&] {
        std::vector<Sent> n;
        for (const Sent& s : sent)
            if ((s.second[0] & 0xE0) == 0x80)
                n.push_back(s);
        return n;
    }();
    const std::vector<Sent> expected = {
        {1, {0x92, 60, 127}}, {1, {0x92, 64, 127}}, {1, {0x82, 64, 0}}, {1, {0x82, 60, 0}}};
    EXPECT_EQ(notes, expected);
    for (const Sent& s : sent)
        EXPECT_EQ(s.first, 1) << "Synth B is the machine's second port";
    EXPECT_TRUE(plugin.sentToHost.empty());
}

TEST_F(EngineMidiTest, APortThatIsNotThereSendsNothing)
{
    portNames.clear();
    rebuildEngine();
    ASSERT_EQ(engine->midiOut->portCount(), 1) << "only the host without a sequencer";

    midiInstrument("Synth B");
    EXPECT_EQ(engine->song.instruments[0].midiPortNumber, -1);
    addNote(0, 0, 60);
    playThenStop(4);
    EXPECT_TRUE(ports->sentSoFar().empty());
    EXPECT_TRUE(plugin.sentToHost.empty());
}

} // namespace
