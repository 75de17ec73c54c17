// The offline render and the loudness comparison that the real-module
// checks rest on: a song ends where it first returns to an order position,
// XM speed and tempo effects set its length, a song that loads with a
// warning still plays, and the comparison finds a curve shifted in time.

#include "model/import/xm_file_builder.h"
#include "model/scratch_folder.h"
#include "offline/loudness.h"
#include "offline/offline_render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace xmtest;

namespace {

// Two 8-row patterns played as orders 0, 1, the second jumping back to the
// first: 16 rows, then the song returns to order 0. The instrument's first
// sample is 4-bit (a load warning), its second a looped square wave.
Module loopingSong(const std::vector<Bytes>& firstRowEffects)
{
    Module m;
    m.channels = 4;
    m.orders = {0, 1};
    Bytes first = cell(49, 1);
    for (const Bytes& effect : firstRowEffects)
        first = join({first, effect});
    for (size_t c = 1 + firstRowEffects.size(); c < m.channels; ++c)
        first = join({first, empty()});
    Bytes rest;
    for (int i = 0; i < 7 * m.channels; ++i)
        rest = join({rest, empty()});
    m.patterns.push_back({8, join({first, rest})});
    Bytes jump = rest;
    jump.resize(jump.size() - 1);
    jump = join({empty(), jump, packed(8 | 16, {0xB, 0x00})});
    m.patterns.push_back({8, jump});

    Sample fourBit{Bytes(16, 3)};
    fourBit.packedMark = 0xAD;
    std::vector<int> square;
    for (int i = 0; i < 64; ++i)
        square.push_back(i % 16 < 8 ? 100 : -100);
    Sample tone{deltas8(square)};
    tone.type = 1;
    tone.loopLength = 64;
    Instrument instrument;
    instrument.keymap.fill(1);
    instrument.samples = {fourBit, tone};
    m.instruments = {instrument};
    return m;
}

struct TimingCase {
    const char* what;
    std::vector<Bytes> effects;
    size_t rowFrames;   // at 44100 Hz: a tick lasts 110250 / BPM frames
};

} // namespace

TEST(OfflineRender, XmSpeedAndTempoSetTheSongLengthAndALoopEndsIt)
{
    const TimingCase cases[] = {
        {"header speed 6 at 125 BPM", {}, 6 * 882},
        {"F03 speed 3", {packed(8 | 16, {0xF, 0x03})}, 3 * 882},
        {"F96 tempo 150", {packed(8 | 16, {0xF, 0x96})}, 6 * 735},
        {"both", {packed(8 | 16, {0xF, 0x03}), packed(8 | 16, {0xF, 0x96})}, 3 * 735},
    };
    ScratchFolder folder;
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.write("loop.xm", loopingSong(c.effects).build());
        offline::RenderSettings settings;
        settings.block = 64;
        double energy = 0.0;
        size_t received = 0;
        int stretches = 0;
        const auto result = offline::renderWithEngine(path, settings, [&](const float* l, const float* r, size_t n) {
            for (size_t i = 0; i < n; ++i)
                energy += static_cast<double>(l[i]) * l[i] + static_cast<double>(r[i]) * r[i];
            received += n;
            ++stretches;
        });
        // The sink gets every frame, a stretch of blocks at a time, the last one too.
        EXPECT_EQ(received, result.frames);
        EXPECT_GE(stretches, 1);
        EXPECT_LT(stretches, static_cast<int>(result.frames / 64));
        EXPECT_EQ(result.loadResult, 1) << "the 4-bit sample is a warning";
        EXPECT_NE(result.warning.find("4-bit"), std::string::npos) << result.warning;
        ASSERT_TRUE(result.rendered);
        EXPECT_GE(result.frames, 16 * c.rowFrames);
        EXPECT_LE(result.frames, 16 * c.rowFrames + 64) << "one block past the return to order 0 at most";
        EXPECT_GT(energy, 1.0) << "the note sounds";
    }
}

namespace {

// Bursts switched on and off by a fixed pseudo-random sequence, 50 ms each,
// after `delayFrames` of silence.
std::vector<float> bursts(size_t delayFrames, int rate)
{
    std::vector<float> out(delayFrames, 0.0f);
    uint32_t seed = 12345;
    for (int burst = 0; burst < 640; ++burst) {
        seed = seed * 1103515245u + 12345u;
        const float level = (seed >> 16) % 3 == 0 ? 0.02f : 0.5f;
        for (int i = 0; i < rate / 20; ++i)
            out.push_back(level * static_cast<float>(std::sin(i * 0.05)));
    }
    return out;
}

offline::LoudnessCurve curveOf(const std::vector<float>& audio, int rate)
{
    offline::LoudnessCurve curve(rate);
    curve.add(audio.data(), audio.data(), audio.size());
    return curve;
}

} // namespace

TEST(Loudness, CurveLevelsAndCorrelations)
{
    const int rate = 8000;
    const auto half = curveOf(std::vector<float>(rate, 0.5f), rate);
    const auto quiet = curveOf(std::vector<float>(rate, 0.0f), rate);
    for (double db : half.decibels())
        EXPECT_NEAR(db, 20.0 * std::log10(0.5), 1e-9);
    for (double db : quiet.decibels())
        EXPECT_EQ(db, offline::kSilenceDb);
    EXPECT_EQ(half.decibels().size(), static_cast<size_t>(96)) << "50 ms windows every 10 ms";

    const std::vector<double> rising{1, 2, 3, 4}, falling{4, 3, 2, 1}, flat{2, 2, 2, 2}, other{7, 7, 7, 7};
    const struct {
        const std::vector<double>& a;
        const std::vector<double>& b;
        double expected;
    } pairs[] = {{rising, rising, 1.0}, {rising, falling, -1.0}, {flat, flat, 1.0}, {flat, rising, 0.0},
                 {flat, other, 0.0}};
    for (const auto& p : pairs)
        EXPECT_NEAR(offline::correlation(p.a.data(), p.b.data(), 4), p.expected, 1e-12);
}

TEST(Loudness, StretchesFindTheirAlignmentWithinTheShiftAllowed)
{
    const int rate = 8000;
    const auto reference = curveOf(bursts(0, rate), rate);
    const struct {
        size_t delayFrames;
        bool aligned;
    } cases[] = {{0, true}, {rate * 12 / 100, true}, {rate * 28 / 100, true}, {rate * 60 / 100, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delayFrames);
        const auto agreement = offline::compareLoudness(curveOf(bursts(c.delayFrames, rate), rate), reference);
        EXPECT_EQ(agreement.stretches, 3u);
        if (c.aligned) {
            EXPECT_GT(agreement.stretchMin, 0.99);
        } else {
            EXPECT_LT(agreement.stretchMean, 0.5);
        }
        if (c.delayFrames > 0) {
            EXPECT_LT(agreement.whole, 0.5) << "the whole song is compared as it lies";
        }
    }
}
