// Small modules written here, each built round one way an imported song
// used to play other than its author heard it, played by the engine and by
// libopenmpt: the two must agree where the fault made them part.

#include "model/import/it_file_builder.h"
#include "model/import/xm_file_builder.h"
#include "model/scratch_folder.h"
#include "offline/loudness.h"
#include "offline/offline_render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Noise, so that voices sounding together add up in power and not by chance.
std::vector<int> noise(size_t n)
{
    std::vector<int> out;
    uint32_t seed = 99;
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out.push_back(static_cast<int>(seed >> 24) - 128);
    }
    return out;
}

xmtest::Sample loopedNoise()
{
    xmtest::Sample s{xmtest::deltas8(noise(4000))};
    s.type = 1;
    s.loopLength = 4000;
    return s;
}

// One channel of 64 rows; `every` rows a C-4 of the instrument.
xmtest::Pattern notesEvery(int every, uint8_t instrument = 1)
{
    xmtest::Bytes data;
    for (int row = 0; row < 64; ++row)
        data = xmtest::join({data, row % every == 0 ? xmtest::cell(49, instrument) : xmtest::empty()});
    return {64, data};
}

// An instrument whose every key plays looped noise.
xmtest::Instrument noiseInstrument()
{
    xmtest::Instrument instrument;
    instrument.keymap.fill(0);
    instrument.samples = {loopedNoise()};
    return instrument;
}

struct Renders {
    offline::LoudnessCurve ours{44100}, reference{44100};
    offline::RenderResult oursResult, referenceResult;

    bool rendered() const { return oursResult.rendered && referenceResult.rendered; }
};

// The song's file written under `name` and played by both players.
Renders renderBoth(const std::string& name, const std::string& bytes)
{
    ScratchFolder folder;
    const std::string path = folder.write(name, bytes);
    Renders r;
    offline::RenderSettings settings;
    r.oursResult = offline::renderWithEngine(
        path, settings, [&r](const float* left, const float* right, size_t n) { r.ours.add(left, right, n); });
    r.referenceResult = offline::renderWithOpenmpt(
        path, settings, [&r](const float* left, const float* right, size_t n) { r.reference.add(left, right, n); });
    return r;
}

// The loudness of the window that ends near `seconds`.
double levelAt(const offline::LoudnessCurve& curve, double seconds)
{
    const auto i = static_cast<size_t>(seconds / curve.stepSeconds());
    return i < curve.decibels().size() ? curve.decibels()[i] : offline::kSilenceDb;
}

} // namespace

// A held note whose volume envelope ends (no sustain, no fade-out) keeps
// sounding at the envelope's last level, until the channel's next note
// displaces it: it must not go on beside every later note.
TEST(ImportedSongPlayback, ANoteWhoseEnvelopeHasEndedGivesWayToTheNextNote)
{
    xmtest::Module m;
    m.channels = 1;
    m.patterns.push_back(notesEvery(8));   // a note every 0.96 s
    xmtest::Instrument instrument = noiseInstrument();
    instrument.volume.nodes = {{0, 64}, {4, 40}};
    instrument.volume.type = 1;   // on, no sustain, no loop
    m.instruments = {instrument};
    const Renders r = renderBoth("envelope_end.xm", m.build());
    ASSERT_TRUE(r.rendered());

    // Halfway through the first note and through the eighth, long after the
    // envelope ended: one voice at the envelope's last level both times.
    const double first = levelAt(r.ours, 0.5), eighth = levelAt(r.ours, 7 * 0.96 + 0.5);
    EXPECT_GT(first, -40.0) << "the note sounds";
    EXPECT_NEAR(eighth, first, 1.0) << "eight notes would be 9 dB louder than one";
    EXPECT_NEAR(levelAt(r.reference, 7 * 0.96 + 0.5), levelAt(r.reference, 0.5), 1.0);
}

// An XM file may hold more samples than a song has slots, most of them
// empty headers that carry the author's notes in their names. Every sample
// with sound must still get a slot and play, and the file loads without a
// warning.
TEST(ImportedSongPlayback, EmptyXmSamplesLeaveTheirSlotsToSamplesWithSound)
{
    xmtest::Module m;
    m.channels = 1;
    m.patterns.push_back(notesEvery(16, 4));
    for (int i = 0; i < 4; ++i) {
        xmtest::Instrument instrument;
        instrument.keymap.fill(31);   // the instrument's last sample
        for (int s = 0; s < 32; ++s) {
            xmtest::Sample empty;
            empty.name = "notes " + std::to_string(s);
            instrument.samples.push_back(empty);
        }
        instrument.samples[31] = loopedNoise();
        m.instruments.push_back(instrument);
    }
    // Instrument 4 plays file sample 127 of 128; the song has 99 slots.
    const Renders r = renderBoth("many_samples.xm", m.build());
    ASSERT_TRUE(r.rendered());
    EXPECT_EQ(r.oursResult.loadResult, 2) << r.oursResult.warning;
    EXPECT_GT(levelAt(r.reference, 0.5), -40.0);
    EXPECT_NEAR(levelAt(r.ours, 0.5), levelAt(r.reference, 0.5), 8.0) << "the note sounds";
}

// An Impulse Tracker song in sample mode plays cell instrument n with sample
// n; the file may still hold instruments, left over from editing, which play
// no part. Here the leftover instrument 1 would play the silent sample 2.
TEST(ImportedSongPlayback, AnImpulseTrackerSongInSampleModePlaysSamplesByNumber)
{
    ittest::File f;
    f.flags = 0x09;   // stereo, linear slides; instruments off
    ittest::Bytes leftover = ittest::newInstrument("leftover", {});
    for (size_t key = 0; key < 120; ++key)
        ittest::put8(leftover, 65 + 2 * key, 2);
    f.instruments = {leftover};
    ittest::Bytes sound, silence(4000, 0);
    for (int v : noise(4000))
        sound.push_back(static_cast<uint8_t>(v));
    const uint8_t looped = ittest::kHasData | ittest::kLoopOn;
    f.samples = {ittest::makeSample("noise", looped, 1, 4000, sound),
                 ittest::makeSample("silence", looped, 1, 4000, silence)};
    for (ittest::Sample& sample : f.samples)
        ittest::put32(sample.header, 56, 4000);   // loop end
    ittest::Pattern pattern;
    pattern.packed = {0x81, 0x03, 60, 1, 0};   // channel 1: C-5, instrument 1
    pattern.packed.resize(pattern.packed.size() + 63, 0);
    f.patterns = {pattern};
    const ittest::Bytes bytes = f.build();
    const Renders r = renderBoth("sample_mode.it", std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(r.rendered());
    EXPECT_GT(levelAt(r.reference, 0.5), -40.0);
    EXPECT_NEAR(levelAt(r.ours, 0.5), levelAt(r.reference, 0.5), 8.0) << "sample 1 sounds";
}

// The XM volume column also slides: here a fine slide down by 15 on each of
// the first eight rows takes the note to silence, as the author heard it.
TEST(ImportedSongPlayback, XmVolumeColumnSlidesReachTheSong)
{
    xmtest::Module m;
    m.channels = 1;
    xmtest::Bytes data = xmtest::cell(49, 1, 0x8F);
    for (int row = 1; row < 64; ++row)
        data = xmtest::join({data, row < 8 ? xmtest::packed(4, {0x8F}) : xmtest::empty()});
    m.patterns.push_back({64, data});
    m.instruments = {noiseInstrument()};
    const Renders r = renderBoth("volume_column.xm", m.build());
    ASSERT_TRUE(r.rendered());
    EXPECT_GT(levelAt(r.ours, 0.1), -40.0) << "the note sounds before the slides end";
    EXPECT_LT(levelAt(r.reference, 2.0), -70.0);
    EXPECT_LT(levelAt(r.ours, 2.0), -70.0) << "eight slides by 15 leave nothing of volume 64";
}
