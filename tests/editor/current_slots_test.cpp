// The current sample and instrument following each other through the
// instruments' key maps.

#include "editor_fixture.h"
#include "engine/engine.h"

#include <functional>

namespace {

// Every key of the instrument plays that sample.
void mapAllKeys(TesselModule& song, int32_t instrument, int16_t sample)
{
    TesselKeymap& keymap = song.instruments[static_cast<size_t>(instrument - 1)].keymap;
    for (int k = 0; k < kKeys; ++k)
        keymap.getRow(k).instrument = sample;
}

TEST_F(EditorTest, ASampleMadeCurrentBringsAnInstrumentThatPlaysIt)
{
    open();
    const struct {
        const char* what;
        int32_t instrumentBefore;
        std::function<void(TesselModule&)> setUp;
        int32_t sample;
        bool follow;
        int32_t instrumentAfter;
    } cases[] = {
        {"the instrument of its number", 1, nullptr, 5, true, 5},
        {"outside 1..99", 4, nullptr, 100, true, 4},
        {"without follow", 1, nullptr, 5, false, 1},
        {"the current one plays it", 2,
         [](TesselModule& song) { song.instruments[1].keymap.getRow(60).instrument = 7; }, 7, true, 2},
        {"else the first that plays it in a region", 1,
         [](TesselModule& song) {
             mapAllKeys(song, 7, 1);
             song.instruments[29].keymap.regionsOf(10).insert({0, 127, 7});
         },
         7, true, 30},
        {"none plays it", 4, [](TesselModule& song) { mapAllKeys(song, 9, 1); }, 9, true, 4},
    };
    for (const auto& c : cases) {
        TesselModule& song = engine().song;
        for (int32_t i = 0; i < kInstruments; ++i)
            song.instruments[static_cast<size_t>(i)].reset();
        if (c.setUp)
            c.setUp(song);
        editor->setCurrentInstrument(c.instrumentBefore, false);
        editor->setCurrentSample(c.sample, c.follow);
        EXPECT_EQ(editor->currentInstrument(), c.instrumentAfter) << c.what;
        EXPECT_EQ(editor->currentSample(), c.sample <= kSamples ? c.sample : 5) << c.what;
    }
}

TEST_F(EditorTest, AnInstrumentMadeCurrentBringsItsFirstSampleUnlessItPlaysTheCurrentOne)
{
    open();
    TesselModule& song = engine().song;
    mapAllKeys(song, 4, 0);
    song.instruments[3].keymap.regionsOf(50).insert({0, 127, 12});
    const struct {
        int32_t sampleBefore;
        int32_t instrument;
        bool follow;
        int32_t sampleAfter;
    } cases[] = {
        {1, 3, true, 3},     // its key rows name sample 3
        {3, 3, true, 3},
        {1, 4, true, 12},    // no key row names one: the first region does
        {1, 5, false, 1},
    };
    for (const auto& c : cases) {
        editor->setCurrentSample(c.sampleBefore, false);
        editor->setCurrentInstrument(c.instrument, c.follow);
        EXPECT_EQ(editor->currentInstrument(), c.instrument);
        EXPECT_EQ(editor->currentSample(), c.sampleAfter) << c.instrument;
    }
}

} // namespace
