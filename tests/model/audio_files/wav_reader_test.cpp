#include "model/audio_files/memory_file.h"
#include "model/audio_files/wav_loop_info.h"
#include "model/audio_files/wav_reader.h"
#include "model/sample/sample.h"

#include "model/audio_files/sample_audio_support.h"
#include "model/audio_files/wav_test_support.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>

using namespace testfiles;

namespace {

// Four 16-bit mono frames: 1, -2, 3, -4.
Bytes fourFrames()
{
    Bytes data;
    for (uint32_t v : {1u, 0xFFFEu, 3u, 0xFFFCu})
        append16(data, v);
    return data;
}

bool readImage(TesselSample& s, const Bytes& bytes, TesselWavLoopInfo* info = nullptr)
{
    TesselMemoryFile image;
    EXPECT_TRUE(image.assign(bytes.data(), uint32_t(bytes.size())));
    return s.readWav(image, info);
}

void expectFourFrames(const TesselSample& s)
{
    ASSERT_EQ(s.length, 5);
    ASSERT_EQ(s.audio.channels, 1);
    const float expected[] = {1, -2, 3, -4, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(s.audio.buffers[0][i], expected[i]) << i;
}

void expectCleared(const TesselSample& s)
{
    EXPECT_EQ(s.length, 0);
    EXPECT_EQ(s.audio.channels, 0);
    EXPECT_EQ(s.audio.buffers[0], nullptr);
    EXPECT_EQ(s.bits, 0);
    EXPECT_EQ(s.speed, 0);
    EXPECT_EQ(s.pitch, 60);
    EXPECT_TRUE(s.filename.empty());
}

} // namespace

TEST(WavReader, StepsOverFormatExtensionsListsAndPadBytes)
{
    const Bytes info{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 0};
    std::vector<WavLayout> layouts(5);
    layouts[0].formatExtra = {0, 0};                                // 18-byte format chunk
    layouts[1].formatExtra = {2, 0, 0xAB, 0xCD};                    // extension with content
    layouts[2].before = {{"LIST", info}};
    layouts[3].before = {{"junk", {1, 2, 3}}, {"LIST", info}};      // odd size, padded
    layouts[4].after = {{"odd ", {9}}, {"LIST", info}};
    for (size_t i = 0; i < layouts.size(); ++i) {
        TesselSample s;
        ASSERT_TRUE(readImage(s, makeWav(layouts[i], fourFrames()))) << i;
        expectFourFrames(s);
    }

    // An odd-sized data chunk: the pad byte is skipped, the half frame dropped.
    Bytes odd = fourFrames();
    odd.push_back(0x7F);
    TesselSample s;
    ASSERT_TRUE(readImage(s, makeWav(WavLayout{}, odd)));
    expectFourFrames(s);
}

TEST(WavReader, SamplerChunkFillsTheLoopInformation)
{
    WavLayout layout;
    layout.before = {{"smpl", smplChunk(57, 22676, {{1, 100, 2000}, {0, 5, 6}}, {0xDE, 0xAD, 0xBE, 0xEF})}};
    const Bytes file = makeWav(layout, fourFrames());

    TesselWavLoopInfo info;
    info.loops.resize(5);   // replaced, not appended to
    TesselSample s;
    ASSERT_TRUE(readImage(s, file, &info));
    expectFourFrames(s);
    EXPECT_EQ(info.manufacturer, 0x47u);
    EXPECT_EQ(info.samplePeriod, 22676u);
    EXPECT_EQ(info.midiUnityNote, 57u);
    EXPECT_EQ(info.loopCount, 2u);
    EXPECT_EQ(info.samplerDataSize, 4u);
    ASSERT_EQ(info.loops.size(), 2u);
    EXPECT_EQ(info.loops[0].identifier, 0u);
    EXPECT_EQ(info.loops[0].type, 1u);
    EXPECT_EQ(info.loops[0].start, 100u);
    EXPECT_EQ(info.loops[0].end, 2000u);
    EXPECT_EQ(info.loops[1].identifier, 1u);
    EXPECT_EQ(info.loops[1].start, 5u);
    EXPECT_EQ(info.loops[1].end, 6u);

    // Without loop information the chunk is skipped by its size.
    TesselSample plain;
    ASSERT_TRUE(readImage(plain, file));
    expectFourFrames(plain);

    // A file without "smpl" leaves the caller's presets alone.
    TesselWavLoopInfo untouched;
    ASSERT_TRUE(readImage(plain, makeWav(WavLayout{}, fourFrames()), &untouched));
    EXPECT_EQ(untouched.midiUnityNote, 60u);
    EXPECT_TRUE(untouched.loops.empty());
}

TEST(WavReader, RefusesLayoutsASlotCannotHold)
{
    std::vector<std::pair<const char*, WavLayout>> cases;
    auto add = [&](const char* what, auto change) {
        WavLayout layout;
        change(layout);
        cases.emplace_back(what, layout);
    };
    add("no channels", [](WavLayout& s) { s.channels = 0; s.blockAlign = 2; });
    add("three channels", [](WavLayout& s) { s.channels = 3; });
    add("259 channels, low byte 3", [](WavLayout& s) { s.channels = 259; s.blockAlign = 6; });
    add("4 bits", [](WavLayout& s) { s.bits = 4; s.blockAlign = 1; });
    add("12 bits", [](WavLayout& s) { s.bits = 12; s.blockAlign = 2; });
    add("0 bits", [](WavLayout& s) { s.bits = 0; s.blockAlign = 2; });
    add("40 bits", [](WavLayout& s) { s.bits = 40; });
    add("64-bit float", [](WavLayout& s) { s.format = 3; s.bits = 64; });
    add("zero block align", [](WavLayout& s) { s.blockAlign = 0xFFFF; s.channels = 2; s.bits = 24; s.rate = 0; });
    add("ADPCM", [](WavLayout& s) { s.format = 2; });
    add("extensible", [](WavLayout& s) { s.format = 0xFFFE; });
    add("data beyond the file", [](WavLayout& s) { s.dataSizeOverride = 9; });
    add("huge data size", [](WavLayout& s) { s.dataSizeOverride = 0xFFFFFFF0; });
    add("loop count that overflows", [](WavLayout& s) {
        s.before = {{"smpl", smplChunk(60, 0, {{0, 0, 8}}, {}, 0x0AAAAAAB)}};
    });
    add("loop count beyond the file", [](WavLayout& s) {
        s.before = {{"smpl", smplChunk(60, 0, {{0, 0, 8}}, {}, 1000)}};
    });
    for (const auto& [what, layout] : cases) {
        Bytes file = makeWav(layout, fourFrames());
        if (std::string(what) == "zero block align") {
            file[32] = 0;   // the block align field itself
            file[33] = 0;
        }
        TesselSample s;
        ASSERT_TRUE(readImage(s, makeWav(WavLayout{}, fourFrames())));
        TesselWavLoopInfo info;
        EXPECT_FALSE(readImage(s, file, &info)) << what;
        expectCleared(s);
    }
}

TEST(WavReader, RefusesImagesWithoutTheFrameOrAudio)
{
    const Bytes good = makeWav(WavLayout{}, fourFrames());
    Bytes notRiff = good;
    notRiff[0] = 'r';
    Bytes listFirst = good;
    std::copy_n("LIST", 4, listFirst.begin() + 12);
    Bytes noData = good;
    std::copy_n("dat4", 4, noData.begin() + 36);
    for (const Bytes& file : {notRiff, listFirst, noData, makeWav(WavLayout{}, {}), Bytes{}, Bytes(44, 0)}) {
        TesselSample s;
        EXPECT_FALSE(readImage(s, file));
        expectCleared(s);
    }
    TesselSample s;
    EXPECT_FALSE(s.readWavFile("/no/such/file.wav", nullptr));
    expectCleared(s);
}

TEST(WavReader, EveryTruncationIsReadSafely)
{
    WavLayout layout;
    layout.channels = 2;
    layout.bits = 24;
    layout.formatExtra = {0, 0};
    layout.before = {{"smpl", smplChunk(61, 0, {{1, 1, 2}}, {1, 2, 3})}, {"LIST", {'I', 'N', 'F', 'O'}}};
    Bytes data;
    for (int i = 0; i < 30; ++i)
        append24(data, uint32_t(i * 77777));
    const Bytes file = makeWav(layout, data);
    for (size_t n = 0; n <= file.size(); ++n) {
        const Bytes prefix(file.begin(), file.begin() + long(n));
        TesselSample s;
        TesselWavLoopInfo info;
        const bool read = readImage(s, prefix, &info);
        // Audio is only read when the whole data chunk is there.
        EXPECT_EQ(read, n == file.size()) << n;
    }
}

TEST(WavFormatTag, ReadsTheTagOfTheFormatChunk)
{
    const std::string folder = freshFolder();
    WavLayout layout;
    writeFile(folder + "/pcm.wav", makeWav(layout, fourFrames()));
    layout.format = 3;
    layout.bits = 32;
    writeFile(folder + "/float.wav", makeWav(layout, fourFrames()));
    layout.format = 0xFFFE;
    writeFile(folder + "/ext.wav", makeWav(layout, fourFrames()));
    Bytes notWave = makeWav(WavLayout{}, fourFrames());
    notWave[8] = 'w';
    writeFile(folder + "/notwave.wav", notWave);
    writeFile(folder + "/short.wav", Bytes{'R', 'I', 'F', 'F'});

    EXPECT_EQ(wavFormatTag(folder + "/pcm.wav"), 1);
    EXPECT_EQ(wavFormatTag(folder + "/float.wav"), 3);
    EXPECT_EQ(wavFormatTag(folder + "/ext.wav"), 0xFFFE);
    EXPECT_EQ(wavFormatTag(folder + "/notwave.wav"), 0);
    EXPECT_EQ(wavFormatTag(folder + "/short.wav"), 0);
    EXPECT_EQ(wavFormatTag(folder + "/missing.wav"), 0);
}

// A header's rate past 2^31 would read as a negative playback rate.
TEST(WavReader, RatesPastTheSignedRangeStayPositive)
{
    WavLayout layout;
    layout.rate = 0xFFFFFFF0u;
    TesselSample s;
    ASSERT_TRUE(readImage(s, makeWav(layout, fourFrames())));
    EXPECT_EQ(s.fileRate, INT32_MAX);
    EXPECT_EQ(s.speed, INT32_MAX);
    expectFourFrames(s);
}

TEST(WavLoopInfo, SetsRatePitchAndTheFirstLoopInFrames)
{
    const std::string folder = freshFolder();
    WavLayout layout;
    layout.channels = 2;
    Bytes data(4 * 2000, 0);
    // 1e9 / 22676 = 44099 Hz against the format's 22050; loop points are frames.
    layout.before = {{"smpl", smplChunk(57, 22676, {{1, 100, 1000}, {0, 5, 6}}, {})}};
    writeFile(folder + "/loop.wav", makeWav(layout, data));
    TesselWavLoopInfo info;
    TesselSample s;
    ASSERT_TRUE(s.readWavFile(folder + "/loop.wav", &info));
    info.applyTo(s);
    EXPECT_EQ(s.speed, 44099);
    EXPECT_EQ(s.fileRate, 22050);
    EXPECT_EQ(s.pitch, 57);
    EXPECT_EQ(loopOf(s.loop), (LoopPoints{2, 100, 1000}));
    EXPECT_EQ(s.loop.workingEnd, (TesselSamplePos{1000, 0.0f}));

    // A period within 9 Hz keeps the rate; a note of 120 or more keeps the
    // pitch; unknown types give no loop; points past the audio are cut.
    TesselWavLoopInfo other;
    other.samplePeriod = 22678;   // 44095 Hz
    other.midiUnityNote = 0x1FF;
    other.loops = {{0, 7, 10, 0xFFFFFFFF, 0, 0}};
    s.pitch = 60;
    other.applyTo(s);
    EXPECT_EQ(s.speed, 44099);
    EXPECT_EQ(s.pitch, 60);
    EXPECT_EQ(loopOf(s.loop), (LoopPoints{0, 10, 2001}));

    // Without loops the slot's loop stays.
    TesselWavLoopInfo none;
    none.applyTo(s);
    EXPECT_EQ(s.loop.end, 2001);
    EXPECT_EQ(s.pitch, 60);
}

namespace {

// The extension of an extensible format chunk whose sub-format stands for
// the given plain tag; a tail other than the standard GUID's when `foreign`.
Bytes extension(uint16_t validBits, uint32_t channelMask, uint32_t subFormat, bool foreign = false)
{
    Bytes b;
    append16(b, 22);
    append16(b, validBits);
    append32(b, channelMask);
    append32(b, subFormat);
    for (uint8_t v : {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71})
        b.push_back(foreign ? uint8_t(v ^ 0x5A) : v);
    return b;
}

void expectSameAudio(const TesselSample& read, const TesselSample& expected, const std::string& what)
{
    ASSERT_EQ(read.length, expected.length) << what;
    ASSERT_EQ(read.audio.channels, expected.audio.channels) << what;
    EXPECT_EQ(read.bits, expected.bits) << what;
    EXPECT_EQ(read.fileRate, expected.fileRate) << what;
    for (int c = 0; c < expected.audio.channels; ++c)
        for (int32_t i = 0; i < expected.length; ++i)
            ASSERT_EQ(read.audio.buffers[c][i], expected.audio.buffers[c][i]) << what << " " << c << " " << i;
}

} // namespace

// What sox and most programs write for more than 16 bits or two channels:
// the format is the sub-format GUID's. Its data read as the same data in a
// plain chunk; a sub-format that is no PCM or float stays refused.
TEST(WavReader, ExtensibleFilesReadAsTheirSubFormat)
{
    const std::string folder = freshFolder();
    const struct {
        const char* name;
        int channels;
        int bits;
    } made[] = {{"stereo24", 2, 24}, {"mono32", 1, 32}, {"mono8", 1, 8}, {"quad16", 4, 16}};
    for (const auto& m : made) {
        const std::string extensible = folder + "/" + m.name + ".wav";
        const std::string plain = folder + "/" + m.name + "-plain.wav";
        ASSERT_TRUE(run("sox -R -n -r 22050 -c " + std::to_string(m.channels) + " -b " + std::to_string(m.bits) +
                        " '" + extensible + "' synth 0.02 sine 300 sine 700 gain -1"))
            << "scripts/install-packages.sh installs sox";
        ASSERT_TRUE(run("sox '" + extensible + "' -t wavpcm '" + plain + "'"));
        const Bytes bytes = readFile(extensible);
        ASSERT_GE(bytes.size(), 22u);
        const bool isExtensible = bytes[20] == 0xFE && bytes[21] == 0xFF;
        EXPECT_EQ(isExtensible, m.bits > 16 || m.channels > 2) << m.name;
        EXPECT_EQ(wavFormatTag(extensible), 1) << m.name;

        TesselSample expected;
        TesselSample read;
        if (m.channels > 2) {   // a slot holds one or two channels
            EXPECT_FALSE(read.readWavFile(extensible, nullptr)) << m.name;
            expectCleared(read);
            continue;
        }
        ASSERT_TRUE(expected.readWavFile(plain, nullptr)) << m.name;
        ASSERT_TRUE(read.readWavFile(extensible, nullptr)) << m.name;
        EXPECT_EQ(read.bits, m.bits);
        EXPECT_GT(read.length, 400);
        expectSameAudio(read, expected, m.name);
    }

    // IEEE float in an extensible chunk (programs other than sox write it).
    Bytes data;
    for (float v : {0.25f, -0.5f, 1.0f, -1.0f}) {
        uint32_t raw;
        std::memcpy(&raw, &v, 4);
        append32(data, raw);
    }
    WavLayout floating;
    floating.format = 3;
    floating.bits = 32;
    TesselSample expected;
    ASSERT_TRUE(readImage(expected, makeWav(floating, data)));
    WavLayout extensibleFloat = floating;
    extensibleFloat.format = 0xFFFE;
    extensibleFloat.formatExtra = extension(32, 4, 3);
    TesselSample read;
    ASSERT_TRUE(readImage(read, makeWav(extensibleFloat, data)));
    expectSameAudio(read, expected, "float");
    EXPECT_EQ(read.audio.buffers[0][1], -0.25f);
    writeFile(folder + "/float.wav", makeWav(extensibleFloat, data));
    EXPECT_EQ(wavFormatTag(folder + "/float.wav"), 3);

    // Other sub-formats, a foreign GUID and a chunk cut short are refused.
    WavLayout refused = extensibleFloat;
    Bytes cutShort = extension(32, 4, 3);
    cutShort.pop_back();
    for (const Bytes& extra : {extension(16, 4, 2), extension(32, 4, 3, true), extension(32, 4, 0x10003), cutShort}) {
        refused.formatExtra = extra;
        TesselSample s;
        EXPECT_FALSE(readImage(s, makeWav(refused, data)));
        expectCleared(s);
    }
}
