#include "engine_fixture.h"
#include "song_lock_holder.h"

#include "engine/engine_globals.h"
#include "engine/timing/position_table.h"
#include "engine/vector/vector.h"
#include "engine/vector/vector_cpu.h"
#include "platform/system/library_handle.h"
#include "platform/system/mutex.h"
#include "platform/system/version.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

struct FakePlugin : TesselPluginLink {
    intptr_t canHostDo(const char* what) override
    {
        asked = what;
        return answer;
    }
    const char* hostVendor() const override { return "Emagic"; }
    std::string asked;
    intptr_t answer = 1;
};

struct FakeEditor : TesselEditorLink {};

} // namespace

TEST_F(EngineTest, ConstructionSetsUpSongPoolsAndMembers)
{
    const int previousLevel = vec::forceLevel(0);
    engine = std::make_unique<TesselEngine>();
    ASSERT_TRUE(engine->usable());
    TesselEngine& e = *engine;

    // the order list holds patterns 0..31 and nothing else
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(e.song.orderList.entries[static_cast<size_t>(i)].pattern, i);
    EXPECT_EQ(e.song.orderList.entries[32].pattern, -1);
    EXPECT_EQ(e.song.orderList.length, 32);

    EXPECT_EQ(e.transport, kStoppedCut);
    EXPECT_EQ(e.blockFrames, 0);
    EXPECT_EQ(e.currentOrder, 0);
    ASSERT_EQ(e.positions.size(), 1u);
    EXPECT_EQ(e.position().pattern, nullptr);
    EXPECT_EQ(e.position().entry, -1);
    EXPECT_EQ(e.position().pendingRow, -1);
    EXPECT_EQ(e.position().loops[64].state, 1);
    EXPECT_EQ(e.tempo, 120.0);
    EXPECT_EQ(e.speed, 6.0);
    EXPECT_EQ(e.sampleRate, 0.0f);
    EXPECT_EQ(e.hostSendsTime, 1);
    EXPECT_EQ(e.editor, nullptr);
    EXPECT_EQ(e.nextTempoChange, 0);

    // one idle voice in each channel voice list, numbered 0..64
    for (int c = 0; c < kVoiceLists; ++c) {
        const TesselChannelVoiceList& list = e.voiceLists[static_cast<size_t>(c)];
        EXPECT_EQ(list.channel, c);
        ASSERT_NE(list.head, nullptr);
        EXPECT_EQ(list.head->next, nullptr);
        EXPECT_EQ(list.head->delay, -1);
        ASSERT_NE(list.head->voice, nullptr);
        EXPECT_EQ(list.head->voice->state(), 0);
        EXPECT_EQ(list.head->voice->positionTable, TesselPools::positions);
        EXPECT_EQ(e.midiInSlots[static_cast<size_t>(c)].count, 0);
        EXPECT_EQ(e.midiInSlots[static_cast<size_t>(c)].unused2, -1);
        EXPECT_EQ(e.midiInSlots[static_cast<size_t>(c)].unused6, -1);
    }
    EXPECT_EQ(TesselPools::voices->inUse(), kVoiceLists);   // the template went back
    EXPECT_EQ(TesselPools::nodes->inUse(), kVoiceLists);
    EXPECT_EQ(TesselPools::events->inUse(), 0);
    EXPECT_EQ(TesselPools::positions->msPerTick, 1.0);

    for (const auto& row : e.heldNotes)
        for (int32_t held : row)
            ASSERT_EQ(held, 0);

    EXPECT_EQ(e.output.bus, &e.song.outputBus);
    EXPECT_EQ(e.output.requestedChannels, 2);
    EXPECT_EQ(e.output.maxChannels, 2);
    EXPECT_EQ(e.output.channels, 2);
    EXPECT_EQ(e.output.pending, 0);
    EXPECT_EQ(e.output.ready, 1);

    EXPECT_EQ(e.songTiming.capacity, kSongTimingCapacity);
    for (const auto& list : e.patternTiming) {
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->capacity, kPatternTimingCapacity);
        EXPECT_EQ(list->tempoMap.at(0).tempo, 120.0);
    }

    EXPECT_EQ(engineGlobals().programVersion, platform::programVersion());
    EXPECT_EQ(engineGlobals().reportVersion, platform::programVersion());
    EXPECT_EQ(vecCpuLevel(), vec::levelForFeatures(vec::cpuFeatures()).level);
    EXPECT_FALSE(engineGlobals().libraryFileName.empty());
    EXPECT_EQ(engineGlobals().libraryFileName.find('/'), std::string::npos);
    EXPECT_EQ(e.song.channels[5].midiOut, e.midiOut);
    EXPECT_EQ(liveChannels()[64].midiOut, e.midiOut);
    EXPECT_EQ(e.song.owner(), &e);

    engine.reset();
    EXPECT_EQ(TesselPools::nodes, nullptr);
    EXPECT_EQ(TesselPools::voices, nullptr);
    EXPECT_EQ(TesselPools::events, nullptr);
    EXPECT_EQ(TesselPools::positions, nullptr);
    vec::forceLevel(previousLevel);
}

TEST_F(EngineTest, PreferencesAndCommandTreeComeThroughTheHooks)
{
    static int treesBuilt = 0;
    treesBuilt = 0;
    TesselEngineHooks::buildCommandTree = [] { ++treesBuilt; };
    TesselEngineHooks::loadPreferences = [](TesselEngine& e) {
        e.preferences.defaultTempo = 140.0;
        e.preferences.defaultResolution = 3;
        e.preferences.defaultRowsPerBeat = 6;
    };
    engine = std::make_unique<TesselEngine>();
    EXPECT_EQ(treesBuilt, 1);
    EXPECT_EQ(engine->tempo, 140.0);
    EXPECT_EQ(engine->speed, 3.0);
    EXPECT_EQ(engine->song.tempo, 140.0);
    EXPECT_EQ(engine->song.resolution, 3.0);
    EXPECT_EQ(engine->song.rowsPerQuarter, 6);
    EXPECT_EQ(engine->song.patterns[0].length(), 96);
    EXPECT_EQ(engine->songTiming.tempoMap.at(0).tempo, 140.0);
    // no sample rate yet: no time per sample, and nothing divided by zero
    EXPECT_EQ(TesselPools::positions->ticksPerSample, 0.0f);
    EXPECT_EQ(TesselPools::positions->rowsPerSample, 0.0);
    EXPECT_DOUBLE_EQ(TesselPools::positions->msPerTick, 60000.0 / (140.0 * 6 * 3));
}

TEST_F(EngineTest, RowTimingFollowsTempoSpeedAndRate)
{
    engine = std::make_unique<TesselEngine>();
    TesselEngine& e = *engine;
    e.sampleRate = 48000.0f;
    e.tempo = 125.0;
    e.computeTiming();
    const TesselPositionTable& t = *TesselPools::positions;
    EXPECT_DOUBLE_EQ(t.msPerTick, 60000.0 / (125.0 * 4 * 6));
    EXPECT_FLOAT_EQ(t.ticksPerSample, static_cast<float>(125.0 * 4 * 6 / (48000.0 * 60)));
    EXPECT_DOUBLE_EQ(t.rowsPerSample, 125.0 * 4 / (48000.0 * 60));
    e.song.timingMode = TesselModule::Speed;
    e.speed = 3.0;
    e.computeTiming();
    EXPECT_DOUBLE_EQ(t.rowsPerSample, 125.0 * 4 / (48000.0 * 60) * 2.0);
}

TEST_F(EngineTest, PluginLinkAnswersHostQuestions)
{
    engine = std::make_unique<TesselEngine>();
    FakePlugin plugin;
    plugin.answer = 0;
    engine->attachPlugin(&plugin);
    EXPECT_EQ(plugin.asked, "sendVstTimeInfo");
    EXPECT_EQ(engine->hostSendsTime, 0);
    plugin.answer = -1;
    engine->attachPlugin(&plugin);
    EXPECT_EQ(engine->hostSendsTime, 1);
    EXPECT_TRUE(engine->hostVendorIs("emagic"));
    EXPECT_TRUE(engine->hostVendorIs("EMAGIC"));
    EXPECT_FALSE(engine->hostVendorIs("emagi"));
    EXPECT_FALSE(engine->hostVendorIs(nullptr));
    engine->attachPlugin(nullptr);
    EXPECT_FALSE(engine->hostVendorIs("emagic"));
}

TEST_F(EngineTest, ProcessRunsOnlyWithAnEditorAndAPlugin)
{
    engine = std::make_unique<TesselEngine>();
    EXPECT_FALSE(engine->process(512));
    FakeEditor editor;
    engine->editor = &editor;
    EXPECT_FALSE(engine->process(512));
    FakePlugin plugin;
    engine->attachPlugin(&plugin);
    engine->output.channel[0][3] = 1.0f;
    engine->output.frames = 512;
    EXPECT_TRUE(engine->process(512));
    EXPECT_EQ(engine->blockFrames, 512);
    EXPECT_EQ(engine->output.channel[0][3], 0.0f);
    EXPECT_FALSE(engine->process(0));
}

TEST_F(EngineTest, StopNowKeepsOnlyTheFirstNodeOfEachList)
{
    engine = std::make_unique<TesselEngine>();
    TesselChannelVoiceList& list = engine->voiceLists[7];
    list.head->voice->note = 40;
    list.head->voice->setState(9);
    ASSERT_TRUE(list.head->append(*list.head));
    ASSERT_TRUE(list.head->append(*list.head));
    EXPECT_EQ(TesselPools::nodes->inUse(), kVoiceLists + 2);
    platform::setStatusText("Playing");
    engine->transport = kPlayingSong;
    engine->stopNow();
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_EQ(platform::statusText(), "");
    EXPECT_EQ(list.head->next, nullptr);
    EXPECT_EQ(list.head->voice->state(), 0);
    EXPECT_EQ(list.head->voice->note, -1);
    EXPECT_EQ(TesselPools::nodes->inUse(), kVoiceLists);
    EXPECT_EQ(TesselPools::voices->inUse(), kVoiceLists);
}

// Mended: without the song lock at construction the engine used to go on
// with null pools; now it says so and refuses the block and the auditions.
TEST_F(EngineTest, WithoutTheSongLockTheEngineRefusesToRun)
{
    TesselEngine::lockWaitMs = 50;
    auto holder = std::make_unique<SongLockHolder>();

    engine = std::make_unique<TesselEngine>();
    EXPECT_FALSE(engine->usable());
    EXPECT_EQ(TesselPools::nodes, nullptr);
    EXPECT_EQ(engine->positions.size(), 0u);
    FakeEditor editor;
    engine->editor = &editor;
    EXPECT_FALSE(engine->process(256));
    TesselSubrow note;
    note.pitch = 48;
    EXPECT_FALSE(engine->playNote(note, 0));
    EXPECT_FALSE(engine->previewNote(note, nullptr));
    EXPECT_FALSE(engine->playSample(48, 0));
    EXPECT_FALSE(engine->playRow(0, 0));

    holder.reset();
    engine.reset();   // the destructor copes with the half-built engine
    EXPECT_EQ(TesselPools::nodes, nullptr);
}

TEST_F(EngineTest, WithoutTheSongLockAtDestructionThePoolsStay)
{
    engine = std::make_unique<TesselEngine>();
    ASSERT_TRUE(engine->usable());
    TesselEngine::lockWaitMs = 50;
    auto holder = std::make_unique<SongLockHolder>();
    engine.reset();   // stopNow waits in vain, then the teardown gives up
    holder.reset();
    ASSERT_NE(TesselPools::nodes, nullptr);
    // the lists went back all the same
    EXPECT_EQ(TesselPools::nodes->inUse(), 0);
    EXPECT_EQ(TesselPools::voices->inUse(), 0);
    TesselPools::users = 0;
    TesselPools::destroy();
}

TEST_F(EngineTest, ASecondEngineDoesNotPullThePoolsFromTheFirst)
{
    engine = std::make_unique<TesselEngine>();
    auto second = std::make_unique<TesselEngine>();
    ASSERT_TRUE(second->usable());
    EXPECT_EQ(TesselPools::nodes->inUse(), 2 * kVoiceLists);
    engine.reset();
    ASSERT_NE(TesselPools::nodes, nullptr);
    EXPECT_EQ(TesselPools::nodes->inUse(), kVoiceLists);
    second->stopNow();
    EXPECT_EQ(second->voiceLists[3].head->voice->state(), 0);
    second.reset();
    EXPECT_EQ(TesselPools::nodes, nullptr);
}

TEST_F(EngineTest, FiftyConstructionCyclesLeaveNothingBehind)
{
    for (int i = 0; i < 50; ++i) {
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        ASSERT_TRUE(engine->voiceLists[64].head->append(*engine->voiceLists[64].head));
        TesselVoiceEvent event;
        ASSERT_TRUE(engine->voiceLists[3].head->voice->appendEvent(event));
        engine.reset();
        ASSERT_EQ(TesselPools::nodes, nullptr);
    }
}
