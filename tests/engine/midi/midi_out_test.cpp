#include "fake_midi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

uint32_t noteOn(int channel, int note, int velocity)
{
    return midiMessage(0x90 + channel, note, velocity);
}

} // namespace

TEST(MidiOutDelay, MinusOneIsOneBlockInWholeMilliseconds)
{
    MidiRig rig;
    EXPECT_EQ(rig.out->setDelay(-1), 485);
    EXPECT_EQ(rig.out->delay(), 11);
    EXPECT_EQ(rig.out->delayFrames(), 485);
    EXPECT_EQ(rig.out->setDelay(20), 882);
}

TEST(MidiOutDelay, NoRateOrNegativeDelayGivesZero)
{
    MidiRig rig;
    rig.host.rate = 0.0;
    EXPECT_EQ(rig.out->setDelay(-1), 0);
    EXPECT_EQ(rig.out->delay(), 0);
    EXPECT_EQ(rig.out->setDelay(30), 0);
    rig.host.rate = 44100.0;
    EXPECT_EQ(rig.out->setDelay(-5), 0);
    EXPECT_EQ(rig.out->delay(), 0);

    TesselMidiOut alone(nullptr, nullptr);
    EXPECT_EQ(alone.setDelay(-1), 0) << "no engine attached yet";
}

TEST(MidiOutPorts, HostFirstThenTheMachinesPortsFoundWithoutCase)
{
    MidiRig rig({"Synth A", "broken", std::string(300, 'x')});
    ASSERT_EQ(rig.out->portCount(), 4);
    EXPECT_STREQ(rig.out->portName(0), "(VST host)");
    EXPECT_STREQ(rig.out->portName(1), "Synth A");
    EXPECT_EQ(std::string(rig.out->portName(3)).size(), 255u);
    EXPECT_EQ(rig.out->portIndex("(VST Host)"), 0) << "the preference's spelling names entry 0";
    EXPECT_EQ(rig.out->portIndex("synth a"), 1);
    EXPECT_EQ(rig.out->portIndex("Synth"), -1);
    EXPECT_EQ(rig.out->portIndex(nullptr), -1);

    rig.out->open();
    EXPECT_TRUE(rig.out->portOpen(1));
    EXPECT_FALSE(rig.out->portOpen(2)) << "a port that does not open stays closed";
    rig.out->close();
    EXPECT_FALSE(rig.out->portOpen(1));
    EXPECT_EQ(rig.ports->closed, std::vector<int>({0, 2}));
}

TEST(MidiOutPorts, WithoutAnyMachinePortOnlyTheHostIsListed)
{
    TesselMidiOut out(std::make_unique<FakeMidiPorts>(std::vector<std::string>{}), nullptr);
    EXPECT_EQ(out.portCount(), 1);
    out.open();
    EXPECT_FALSE(out.queueMessage(noteOn(0, 60, 100), 1, 0));
    EXPECT_TRUE(out.queueMessage(noteOn(0, 60, 100), 0, 0));
    EXPECT_FALSE(out.queueMessage(noteOn(0, 60, 100), -1, 0));
}

TEST(MidiOutHost, EventsAreSentInTimeOrderWithTheDelayAdded)
{
    MidiRig rig;
    rig.out->setDelay(1); // 44 frames
    rig.out->queueMessage(noteOn(0, 62, 1), 0, 100);
    rig.out->queueMessage(noteOn(0, 60, 1), 0, 10);
    rig.out->queueMessage(noteOn(0, 61, 1), 0, 10);
    rig.out->queueMessage(noteOn(0, 59, 1), 0, 10, true);
    EXPECT_EQ(rig.out->processBlock(false), 4);
    ASSERT_EQ(rig.host.blocks.size(), 1u);
    const auto& events = rig.host.blocks[0];
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].data1, 59) << "before-equal goes in front of the same time";
    EXPECT_EQ(events[1].data1, 60);
    EXPECT_EQ(events[2].data1, 61);
    EXPECT_EQ(events[3].data1, 62);
    EXPECT_EQ(events[0].deltaFrames, 54);
    EXPECT_EQ(events[3].deltaFrames, 144);
    EXPECT_EQ(events[0].status, 0x90);

    EXPECT_EQ(rig.out->processBlock(false), 0);
    EXPECT_EQ(rig.host.blocks.size(), 1u) << "nothing due, nothing sent";
}

TEST(MidiOutHost, AMessageAfterTheBlockEndGoesInTheNextBlock)
{
    MidiRig rig;
    rig.host.block = 256;
    rig.out->queueMessage(noteOn(0, 60, 1), 0, 300);
    EXPECT_EQ(rig.out->processBlock(false), 0);
    EXPECT_TRUE(rig.host.blocks.empty());
    EXPECT_EQ(rig.out->processBlock(false), 1);
    ASSERT_EQ(rig.host.blocks.size(), 1u);
    EXPECT_EQ(rig.host.blocks[0][0].deltaFrames, 44);
}

TEST(MidiOutHost, EventsPastThe256CapKeepTheirTimesInTheNextBlock)
{
    MidiRig rig;
    for (int i = 0; i < 300; ++i)
        rig.out->queueMessage(noteOn(i % 16, i % 128, 1), 0, 400);
    rig.out->queueMessage(noteOn(0, 1, 1), 0, 600); // due in the next block at 88
    rig.out->queueMessage(noteOn(0, 2, 1), 0, 1100); // two blocks on, at 76

    EXPECT_EQ(rig.out->processBlock(false), 256);
    EXPECT_EQ(rig.out->processBlock(false), 45);
    ASSERT_EQ(rig.host.blocks.size(), 2u);
    ASSERT_EQ(rig.host.blocks[1].size(), 45u);
    EXPECT_EQ(rig.host.blocks[1][0].deltaFrames, 0) << "late events go at the start, never at a negative frame";
    EXPECT_EQ(rig.host.blocks[1][44].deltaFrames, 88);
    EXPECT_EQ(rig.out->processBlock(false), 1);
    EXPECT_EQ(rig.host.blocks[2][0].deltaFrames, 76);
}

TEST(MidiOutHost, NegativeTimesStartTheBlock)
{
    MidiRig rig;
    rig.out->queueMessage(noteOn(0, 60, 1), 0, -40);
    rig.out->processBlock(false);
    ASSERT_EQ(rig.host.blocks.size(), 1u);
    EXPECT_EQ(rig.host.blocks[0][0].deltaFrames, 0);
}

TEST(MidiOutNotes, NotesOffEndsEveryCountedNoteBeforeLaterMessages)
{
    MidiRig rig;
    rig.out->queueMessage(noteOn(3, 60, 100), 0, 0);
    rig.out->queueMessage(noteOn(3, 64, 100), 0, 50);
    rig.out->portState(0).noteOn[3][60] = 3;
    rig.out->portState(2).noteOn[15][127] = 1;
    rig.out->open();
    rig.out->notesOff();
    EXPECT_EQ(rig.host.idled, 1) << "the MIDI voices go idle";
    EXPECT_EQ(rig.out->portState(0).noteOn[3][60], 0);

    rig.out->processBlock(false);
    const auto& events = rig.host.blocks.at(0);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].status, 0x93);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(events[i].status, 0x83);
        EXPECT_EQ(events[i].data1, 60);
        EXPECT_EQ(events[i].data2, 0);
        EXPECT_EQ(events[i].deltaFrames, 0);
    }
    EXPECT_EQ(events[4].deltaFrames, 50);
    ASSERT_EQ(rig.ports->sent.size(), 1u);
    EXPECT_EQ(rig.ports->sent[0].port, 1);
    EXPECT_EQ(rig.ports->sent[0].message, midiMessage(0x8F, 127, 0));
}

TEST(MidiOutNotes, ResetControllersClearsStateAndResetsEveryChannel)
{
    MidiRig rig;
    rig.out->open();
    TesselMidiPortState& state = rig.out->portState(1);
    state.noteOn[0][1] = 5;
    state.lastProgram[4] = 7;
    rig.out->resetControllers();
    EXPECT_EQ(state.noteOn[0][1], 0);
    EXPECT_EQ(state.lastProgram[4], kMidiNoneSent);
    EXPECT_EQ(rig.host.idled, 1);

    rig.out->processBlock(false);
    ASSERT_EQ(rig.host.blocks.at(0).size(), 48u);
    EXPECT_EQ(rig.host.blocks[0][0].status, 0xB0);
    EXPECT_EQ(rig.host.blocks[0][0].data1, 123);
    EXPECT_EQ(rig.host.blocks[0][1].data1, 121);
    EXPECT_EQ(rig.host.blocks[0][2].data1, 120);
    EXPECT_EQ(rig.host.blocks[0][47].status, 0xBF);
    EXPECT_EQ(rig.ports->sent.size(), 96u) << "two machine ports";
}

TEST(MidiOutHardware, TwoMessagesFiveMillisecondsApartAreSpacedByATimer)
{
    MidiRig rig;
    rig.out->open();
    const uint32_t start = rig.timers->clock;
    rig.out->queueMessage(noteOn(0, 60, 100), 1, 0);
    rig.out->queueMessage(noteOn(0, 62, 100), 1, 221); // 5.01 ms at 44.1 kHz
    EXPECT_EQ(rig.out->processBlock(false), 2);
    ASSERT_EQ(rig.ports->sent.size(), 1u);
    EXPECT_EQ(rig.ports->sent[0].at, start);
    EXPECT_EQ(rig.ports->sent[0].port, 0) << "table entry 1 is the machine's port 0";
    EXPECT_EQ(rig.timers->scheduledDelays, std::vector<uint32_t>({5}));

    rig.timers->advance(4);
    EXPECT_EQ(rig.ports->sent.size(), 1u);
    rig.timers->advance(1);
    ASSERT_EQ(rig.ports->sent.size(), 2u);
    EXPECT_EQ(rig.ports->sent[1].at, start + 5);
    EXPECT_EQ(rig.ports->sent[1].message, noteOn(0, 62, 100));
    EXPECT_TRUE(rig.timers->timers.empty());
}

TEST(MidiOutHardware, TheDelayAndTheTimeOffsetMoveEveryMessage)
{
    MidiRig rig;
    rig.out->open();
    rig.out->setDelay(11);
    rig.out->setHardwareTimeOffset(2.0);
    const uint32_t start = rig.timers->clock;
    rig.out->queueMessage(noteOn(0, 60, 100), 2, 0);
    rig.out->queueMessage(noteOn(0, 62, 100), 2, 221);
    rig.out->processBlock(false);
    EXPECT_TRUE(rig.ports->sent.empty());
    rig.timers->advance(30);
    ASSERT_EQ(rig.ports->sent.size(), 2u);
    EXPECT_EQ(rig.ports->sent[0].at, start + 13);
    EXPECT_EQ(rig.ports->sent[1].at, start + 18);
}

TEST(MidiOutHardware, ImmediateSendsTheFirstMessagesAtOnce)
{
    MidiRig rig;
    rig.out->open();
    rig.out->setDelay(50);
    rig.out->queueMessage(noteOn(0, 60, 100), 1, 0);
    rig.out->queueMessage(noteOn(0, 61, 100), 1, 0);
    rig.out->queueMessage(noteOn(0, 62, 100), 1, 441);
    rig.out->processBlock(true);
    EXPECT_EQ(rig.ports->sent.size(), 2u);
    rig.timers->advance(60);
    EXPECT_EQ(rig.ports->sent.size(), 3u);
}

TEST(MidiOutHardware, WithoutARateTheMessagesGoAtOnce)
{
    MidiRig rig;
    rig.out->open();
    rig.host.rate = 0.0;
    rig.out->queueMessage(noteOn(0, 60, 100), 1, 3000);
    rig.out->processBlock(false);
    EXPECT_EQ(rig.ports->sent.size(), 1u);
}

TEST(MidiOutHardware, CloseDropsPendingMessagesAndTheirTimer)
{
    MidiRig rig;
    rig.out->open();
    rig.out->queueMessage(noteOn(0, 60, 100), 1, 4410);
    rig.out->processBlock(false);
    EXPECT_EQ(rig.timers->timers.size(), 1u);
    rig.out->close(); // the fake timer queue goes with it
    rig.ports->timers = nullptr;
    rig.out->processBlock(true);
    EXPECT_TRUE(rig.ports->sent.empty()) << "the scheduled message was dropped";
}

TEST(MidiOutQueues, CountsAndCapacity)
{
    MidiRig rig;
    rig.out->countQueued();
    EXPECT_EQ(rig.out->hostQueued(), 0);
    rig.out->queueMessage(noteOn(0, 60, 100), 0, 0);
    rig.out->queueMessage(noteOn(0, 60, 100), 1, 0);
    rig.out->queueMessage(noteOn(0, 60, 100), 2, 0);
    rig.out->countQueued();
    EXPECT_EQ(rig.out->hostQueued(), 1);
    EXPECT_EQ(rig.out->hardwareQueued(), 2);

    int accepted = 0;
    for (int i = 0; i < TesselMidiQueue::kCapacity + 10; ++i)
        accepted += rig.out->queueMessage(noteOn(0, 60, 100), 0, i % 300);
    EXPECT_EQ(accepted, TesselMidiQueue::kCapacity - 1) << "a full queue drops, it never grows";
}

TEST(MidiOutHardware, TheTimerThreadKeepsTheSpacing)
{
    auto owned = std::make_unique<FakeMidiPorts>(std::vector<std::string>{"Synth"});
    FakeMidiPorts* ports = owned.get();
    FakeMidiHost host;
    TesselMidiOut out(std::move(owned), [] { return platform::makeTimerThread(); });
    out.attach(&host);
    out.open();
    out.queueMessage(noteOn(0, 60, 100), 1, 0);
    out.queueMessage(noteOn(0, 62, 100), 1, 221);
    out.queueMessage(noteOn(0, 64, 100), 1, 882); // 20 ms
    // A busy machine may wake the thread late and send several at once;
    // what must never happen is a message going out before its time.
    const auto start = std::chrono::steady_clock::now();
    out.processBlock(false);
    for (int i = 0; i < 200 && ports->sentSoFar().size() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    auto sent = ports->sentSoFar();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_GE(sent[1].when - start, std::chrono::milliseconds(4));
    EXPECT_GE(sent[2].when - start, std::chrono::milliseconds(19));
    EXPECT_EQ(sent[2].message, noteOn(0, 64, 100));
}

// The block skips an empty queue without its lock: a message queued from
// another thread while blocks run must still go out once, in order, on the
// host's port and the machine's.
TEST(MidiOutQueues, MessagesQueuedFromAnotherThreadDuringBlocksAllGoOutOnceInOrder)
{
    MidiRig rig;
    constexpr int kMessages = 3000;
    auto numbered = [](int i) { return midiMessage(0x90, i & 0x7F, i >> 7); };
    std::atomic<bool> done{false};
    std::thread editor([&] {
        for (int i = 0; i < kMessages; ++i) {
            EXPECT_TRUE(rig.out->queueMessage(numbered(i), 0, 0));
            EXPECT_TRUE(rig.out->queueMessage(numbered(i), 1, 0));
            if (i % 64 == 0)
                std::this_thread::yield();
        }
        done = true;
    });
    while (!done)
        rig.out->processBlock(false);
    editor.join();
    while (rig.out->processBlock(false) > 0) {
    }

    std::vector<MidiBytes> toHost;
    for (const auto& block : rig.host.blocks)
        for (const HostEvent& e : block)
            toHost.push_back(bytesOf(e));
    const std::vector<SentMessage> toPort = rig.ports->sentSoFar();
    ASSERT_EQ(toHost.size(), size_t{kMessages});
    ASSERT_EQ(toPort.size(), size_t{kMessages});
    for (int i = 0; i < kMessages; ++i) {
        const uint32_t m = numbered(i);
        ASSERT_EQ(toHost[static_cast<size_t>(i)], (MidiBytes{0x90, static_cast<int>(m >> 8 & 0x7F), i >> 7}));
        ASSERT_EQ(toPort[static_cast<size_t>(i)].message, m);
    }
}
