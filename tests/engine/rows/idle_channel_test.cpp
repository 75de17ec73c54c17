// Channels with nothing to do: playback passes a blank cell only where the
// row step would leave the channel exactly as it is, and a tick passes only
// lists with nothing to update.
#include "row_fixture.h"

#include <string>
#include <vector>

namespace {

constexpr uint16_t kRowFlags = 2 | 8 | voice_flag::kPlayback;
constexpr int kAny = -1;

// What the channel row step of a blank cell may write on channel 0.
struct ChannelState {
    TesselSubrowData row;
    uint8_t subrowIndex;
    uint16_t flags;
    uint8_t state;
    int8_t delay;
    const TesselChannel* live;
    const TesselChannel* settings;
    const TesselInstrument* instrument;
    TesselEffectSlot slot;
    int nodes;
};

bool sameCell(const TesselSubrowData& a, const TesselSubrowData& b)
{
    return a.pitch == b.pitch && a.instrument == b.instrument && a.volume == b.volume && a.panning == b.panning &&
           a.depth == b.depth && a.effect.cellIndex == b.effect.cellIndex && a.effect.command == b.effect.command &&
           a.effect.parameter == b.effect.parameter && a.index == b.index;
}

bool sameSlot(const TesselEffectSlot& a, const TesselEffectSlot& b)
{
    for (size_t m = 0; m < a.memory.size(); ++m)
        if (a.memory[m].value != b.memory[m].value || a.memory[m].nibbleMode != b.memory[m].nibbleMode)
            return false;
    return a.command == b.command && a.count == b.count && a.hold == b.hold && a.tremorOff == b.tremorOff &&
           a.slideFactor == b.slideFactor && a.volumeSlideStep == b.volumeSlideStep &&
           a.panSlideStep == b.panSlideStep && a.loopMark == b.loopMark && a.loopPasses == b.loopPasses;
}

bool operator==(const ChannelState& a, const ChannelState& b)
{
    return sameCell(a.row, b.row) && a.subrowIndex == b.subrowIndex && a.flags == b.flags && a.state == b.state &&
           a.delay == b.delay && a.live == b.live && a.settings == b.settings && a.instrument == b.instrument &&
           sameSlot(a.slot, b.slot) && a.nodes == b.nodes;
}

class IdleChannelTest : public RowEngineTest {
protected:
    ChannelState capture()
    {
        const TesselVoice& v = voice(0);
        return {v.row,          v.subrowIndex,     v.flags,      v.state(),
                list(0).head->delay, v.liveChannel, v.channelSettings, v.instrument,
                liveChannels()[0].effectSlots[1], chainLength(0)};
    }
    // The blank cell of row `at` as playback hands it to the channel.
    void blankRow(int at)
    {
        engine->tickFlags = kRowFlags;
        engine->processChannelRow(0, &TesselRow::blank(), at, 0);
    }
    void expectSettled(int expected)
    {
        engine->tickFlags = kRowFlags;
        if (expected != kAny) {
            EXPECT_EQ(engine->blankCellSettled(0), expected != 0);
        }
    }
};

} // namespace

TEST_F(IdleChannelTest, ABlankCellIsPassedOnlyWhereItsRowStepWritesNothingNew)
{
    struct Case {
        std::string what;
        std::vector<TesselSubrow> rows;   // played on channel 0 first
        int settledBefore;                // 1 or 0; kAny: not checked
        int settledAfter;                 // after one blank row
    };
    const Case cases[] = {
        {"a channel that never played", {}, 1, 1},
        {"an effect without a note or instrument", {note(-1, 0, 'D', 0x04)}, 0, 1},
        {"a note that was played", {note(60, 1)}, 0, 0},
        {"a note that was cut", {note(60, 1), note(254, 0)}, 0, 0},
        {"a delayed note waiting", {note(60, 1, 'S', 0xD3)}, 0, kAny},
        {"a pattern loop", {note(-1, 0, 'S', 0xB0)}, 0, kAny},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        blankRow(0);
        for (const TesselSubrow& cell : c.rows)
            row(0, cell);
        expectSettled(c.settledBefore);
        blankRow(1);
        expectSettled(c.settledAfter);
        // Whatever the check says, a settled channel comes out of the row
        // step as it went in.
        for (int at = 2; at < 6; ++at) {
            engine->tickFlags = kRowFlags;
            const bool settled = engine->blankCellSettled(0);
            const ChannelState was = capture();
            blankRow(at);
            if (settled) {
                EXPECT_TRUE(capture() == was) << "row " << at;
            }
        }
    }
}

TEST_F(IdleChannelTest, OtherTickFlagsOrAnotherLiveRecordAreNotSettled)
{
    blankRow(1);
    ASSERT_TRUE(engine->blankCellSettled(0));
    engine->tickFlags = 2 | 8;   // an audition's row: the voice's flags differ
    EXPECT_FALSE(engine->blankCellSettled(0));
    engine->tickFlags = kRowFlags | voice_flag::kNewNote;
    EXPECT_FALSE(engine->blankCellSettled(0));
    engine->tickFlags = kRowFlags;
    EXPECT_TRUE(engine->blankCellSettled(0));
    voice(0).liveChannel = &liveChannels()[1];
    EXPECT_FALSE(engine->blankCellSettled(0));
    blankRow(2);
    EXPECT_TRUE(engine->blankCellSettled(0));
    liveChannels()[0].effectSlots[1].count = 1;
    EXPECT_FALSE(engine->blankCellSettled(0));
}

TEST_F(IdleChannelTest, AListIsIdleUntilANoteWaitsOrSounds)
{
    EXPECT_TRUE(TesselEngine::idleList(list(0)));
    row(0, note(60, 1, 'S', 0xD2));
    EXPECT_FALSE(TesselEngine::idleList(list(0))) << "the delayed note waits";
    tick(0);
    tick(0);
    ASSERT_TRUE(voice(0).state() & voice_state::kActive);
    EXPECT_FALSE(TesselEngine::idleList(list(0))) << "the note sounds";
    voice(0).setState(0);
    EXPECT_TRUE(TesselEngine::idleList(list(0)));
}
