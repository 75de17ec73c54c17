// The volume, panning and depth columns of a row on a voice.
#include "engine/voice/voice.h"
#include "engine/voice/voice_flags.h"

#include <gtest/gtest.h>

namespace {

struct Columns {
    int volume = -1;
    int panning = -1;
    int depth = -1;
};

// A sounding sample voice at panning 40 and depth 20 with both bit 7 set,
// after the mix columns of one row.
struct ColumnVoice {
    explicit ColumnVoice(Columns c, uint8_t state = voice_state::kActive | voice_state::kSample)
    {
        voice.setState(state);
        voice.volume = 30;
        voice.panning = 40 | 0x80;
        voice.depth = 20 | 0x80;
        voice.row.volume = static_cast<int16_t>(c.volume);
        voice.row.panning = static_cast<int16_t>(c.panning);
        voice.row.depth = static_cast<int16_t>(c.depth);
        voice.applyMixColumns();
    }
    bool flagged(uint16_t f) const { return (voice.flags & f) != 0; }
    TesselVoice voice;
};

} // namespace

TEST(MixColumns, PanningColumn)
{
    ColumnVoice set({.panning = 10});
    EXPECT_EQ(set.voice.panning, 10);
    EXPECT_EQ(set.voice.effectivePanning, 10);
    EXPECT_EQ(set.voice.depth, 20) << "depth bit 7 cleared";
    EXPECT_TRUE(set.flagged(voice_flag::kPanningSet));

    ColumnVoice clear({.panning = 8192});
    EXPECT_EQ(clear.voice.panning, 40) << "position kept, bit 7 cleared";
    EXPECT_EQ(clear.voice.depth, 20);
    EXPECT_FALSE(clear.flagged(voice_flag::kPanningSet));

    ColumnVoice high({.panning = 0x100});
    EXPECT_EQ(high.voice.panning, 40 | 0x100) << "position bits kept, value ored in, bit 7 gone";
    EXPECT_TRUE(high.flagged(voice_flag::kPanningSet));

    for (int nothing : {-1, 65, 100, 127}) {
        ColumnVoice v({.panning = nothing});
        EXPECT_EQ(v.voice.panning, 40 | 0x80) << nothing;
        EXPECT_EQ(v.voice.depth, 20 | 0x80) << nothing;
        EXPECT_EQ(v.voice.flags, 0) << nothing;
    }
}

TEST(MixColumns, DepthColumn)
{
    ColumnVoice set({.depth = 64});
    EXPECT_EQ(set.voice.depth, 64);
    EXPECT_EQ(set.voice.effectiveDepth, 64);
    EXPECT_EQ(set.voice.panning, 40) << "panning bit 7 cleared";
    EXPECT_TRUE(set.flagged(voice_flag::kPanningSet));

    ColumnVoice clear({.depth = 8192});
    EXPECT_EQ(clear.voice.depth, 20);
    EXPECT_EQ(clear.voice.panning, 40);
    EXPECT_FALSE(clear.flagged(voice_flag::kPanningSet));

    ColumnVoice high({.depth = 0xC0});
    EXPECT_EQ(high.voice.depth, 20 | 0xC0);
    EXPECT_TRUE(high.flagged(voice_flag::kPanningSet));

    ColumnVoice nothing({.depth = 100});
    EXPECT_EQ(nothing.voice.depth, 20 | 0x80);
    EXPECT_EQ(nothing.voice.flags, 0);
}

TEST(MixColumns, VolumeColumn)
{
    ColumnVoice set({.volume = 50});
    EXPECT_EQ(set.voice.volume, 50);
    EXPECT_TRUE(set.flagged(voice_flag::kVolumeSet));

    ColumnVoice outside({.volume = 65});
    EXPECT_EQ(outside.voice.volume, 30);
    EXPECT_FALSE(outside.flagged(voice_flag::kVolumeSet));

    // A voice cut by its release keeps silent; one released otherwise takes it.
    const uint8_t releasedState = voice_state::kActive | voice_state::kSample | voice_state::kReleased;
    ColumnVoice cut({.volume = 50}, releasedState);
    EXPECT_EQ(cut.voice.volume, 30);
    TesselVoice fading;
    fading.setState(releasedState);
    fading.newNoteAction = 3;
    fading.row.volume = 50;
    fading.applyMixColumns();
    EXPECT_EQ(fading.volume, 50);

    // A new MIDI note takes the column as its velocity.
    TesselVoice midi;
    midi.setState(voice_state::kActive | voice_state::kMidi);
    midi.flags = voice_flag::kNewNote;
    midi.volume = 64;
    midi.row.volume = 40;
    midi.applyMixColumns();
    EXPECT_EQ(midi.velocity, 40);
    EXPECT_EQ(midi.volume, 64);
}
