#include "model/audio_files/flac_decoder.h"
#include "model/audio_files/ogg_decoder.h"
#include "model/audio_files/wav_values.h"
#include "model/sample/sample.h"

#include "model/file_test_support.h"

#include "support/outside_tools.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <bit>
#include <cmath>
#include <cstring>

using namespace testfiles;

namespace {

Bytes imageBytes(TesselMemoryFile& image)
{
    return Bytes(image.data, image.end);
}

Bytes header(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t dataBytes)
{
    const WavHeader h = makeWavHeader({format, channels, rate, bits, dataBytes});
    return Bytes(h.begin(), h.end());
}

// The stream as libvorbisfile's own float decoder delivers it, interleaved.
std::vector<float> vorbisReference(const std::string& path, int& channels)
{
    std::vector<float> values;
    FILE* f = std::fopen(path.c_str(), "rb");
    OggVorbis_File vf;
    if (!f || ov_open(f, &vf, nullptr, 0) != 0)
        return values;
    channels = ov_info(&vf, -1)->channels;
    float** pcm;
    int section;
    long n;
    while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                values.push_back(pcm[c][i]);
    ov_clear(&vf);
    return values;
}

uint32_t oggCrc(const uint8_t* p, size_t n)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i) {
        crc ^= uint32_t(p[i]) << 24;
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// Makes the last page of an Ogg file claim another end position, with a
// valid checksum so that the claim is believed.
void claimOggEnd(Bytes& file, uint64_t granule)
{
    size_t at = file.size() - 4;
    while (at > 0 && !std::equal(file.begin() + long(at), file.begin() + long(at) + 4, "OggS"))
        --at;
    const size_t segments = file[at + 26];
    size_t length = 27 + segments;
    for (size_t i = 0; i < segments; ++i)
        length += file[at + 27 + i];
    for (int i = 0; i < 8; ++i)
        file[at + 6 + size_t(i)] = uint8_t(granule >> (8 * i));
    std::fill_n(file.begin() + long(at) + 22, 4, 0);
    const uint32_t crc = oggCrc(&file[at], length);
    for (int i = 0; i < 4; ++i)
        file[at + 22 + size_t(i)] = uint8_t(crc >> (8 * i));
}

} // namespace

TEST(AudioDecoders, RefuseFrameCountsThatTheFileCannotBack)
{
    ASSERT_TRUE(outside_tools::have({"sox", "flac", "oggenc"}));
    const std::string folder = freshFolder();
    ASSERT_TRUE(makeNoiseWav(folder + "/in.wav", 1, 16, 8000, 0.1));
    ASSERT_TRUE(run("flac -s -f '" + folder + "/in.wav' -o '" + folder + "/in.flac'"));
    ASSERT_TRUE(run("oggenc -Q '" + folder + "/in.wav' -o '" + folder + "/in.ogg'"));

    // STREAMINFO's 36-bit total sample count ends at byte 25: claim 100 million
    // frames (200 MB of image) for a file of a few kilobytes.
    Bytes flac = readFile(folder + "/in.flac");
    ASSERT_TRUE(std::equal(flac.begin(), flac.begin() + 4, "fLaC"));
    const uint64_t claim = 100000000;
    flac[21] = uint8_t((flac[21] & 0xF0) | (claim >> 32));
    for (int i = 0; i < 4; ++i)
        flac[22 + size_t(i)] = uint8_t(claim >> (24 - 8 * i));
    writeFile(folder + "/claim.flac", flac);
    FLACDecoder flacDecoder;
    EXPECT_FALSE(flacDecoder.decodeFile(folder + "/claim.flac"));
    EXPECT_EQ(flacDecoder.image().data, nullptr);

    // A last Ogg page that claims far more frames than came before it never
    // gets an image of that size.
    Bytes ogg = readFile(folder + "/in.ogg");
    claimOggEnd(ogg, 800);
    writeFile(folder + "/short.ogg", ogg);
    VorbisDecoder shortDecoder;
    ASSERT_TRUE(shortDecoder.decodeFile(folder + "/short.ogg"));   // a smaller claim is believed
    EXPECT_EQ(shortDecoder.image().size, 800u * 4 + 44);
    claimOggEnd(ogg, claim);
    writeFile(folder + "/claim.ogg", ogg);
    VorbisDecoder oggDecoder;
    if (oggDecoder.decodeFile(folder + "/claim.ogg")) {
        EXPECT_LT(oggDecoder.image().size, 1000000u);
    }
}

class FlacDecoding : public ::testing::TestWithParam<std::pair<int, int>> {};

// Our image must carry exactly the samples that the reference decoder writes.
TEST_P(FlacDecoding, MatchesTheReferenceDecoderExactly)
{
    ASSERT_TRUE(outside_tools::have({"sox", "flac"}));
    const auto [channels, bits] = GetParam();
    const std::string folder = freshFolder();
    ASSERT_TRUE(makeNoiseWav(folder + "/in.wav", channels, bits, 22050, 0.3));
    ASSERT_TRUE(run("flac -s -f '" + folder + "/in.wav' -o '" + folder + "/in.flac'"));
    ASSERT_TRUE(run("flac -s -d -f '" + folder + "/in.flac' -o '" + folder + "/ref.wav'"));

    FLACDecoder decoder;
    ASSERT_TRUE(decoder.decodeFile(folder + "/in.flac"));
    const Bytes image = imageBytes(decoder.image());
    EXPECT_EQ(decoder.image().position, decoder.image().data);
    const Bytes reference = riffChunk(readFile(folder + "/ref.wav"), "data");
    ASSERT_EQ(reference.size(), 6615u * channels * (bits / 8));
    const Bytes expectedHeader = header(kWavFormatPcm, uint16_t(channels), 22050, uint16_t(bits),
                                        uint32_t(reference.size()));
    ASSERT_EQ(image.size(), reference.size() + 44);
    EXPECT_TRUE(std::equal(expectedHeader.begin(), expectedHeader.end(), image.begin()));
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), image.begin() + 44));
}

INSTANTIATE_TEST_SUITE_P(Layouts, FlacDecoding,
                         ::testing::Values(std::pair{1, 8}, std::pair{2, 8}, std::pair{1, 16},
                                           std::pair{2, 16}, std::pair{1, 24}, std::pair{2, 24}));

TEST(FlacDecoder, RefusesWhatAWavSampleCannotHold)
{
    ASSERT_TRUE(outside_tools::have({"sox", "flac"}));
    const std::string folder = freshFolder();
    ASSERT_TRUE(run("sox -R -n -r 8000 -c 6 -b 16 '" + folder + "/six.flac' synth 0.05 whitenoise"));
    // 32-bit: a width the image has no layout for.
    writeFile(folder + "/raw32.raw", Bytes(2000, 0x07));
    ASSERT_TRUE(run("flac -s -f --force-raw-format --endian=little --sign=signed --channels=1 --bps=32 "
                    "--sample-rate=8000 '" + folder + "/raw32.raw' -o '" + folder + "/wide.flac'"));
    writeFile(folder + "/garbage.flac", Bytes(5000, 0x5A));
    writeFile(folder + "/empty.flac", {});

    for (const char* name : {"/six.flac", "/wide.flac", "/garbage.flac", "/empty.flac", "/missing.flac"}) {
        FLACDecoder decoder;
        EXPECT_FALSE(decoder.decodeFile(folder + name)) << name;
        EXPECT_EQ(decoder.image().data, nullptr) << name;
    }
}

TEST(FlacDecoder, SurvivesATruncatedOrDamagedStream)
{
    ASSERT_TRUE(outside_tools::have({"sox", "flac"}));
    const std::string folder = freshFolder();
    ASSERT_TRUE(makeNoiseWav(folder + "/in.wav", 2, 16, 22050, 0.5));
    ASSERT_TRUE(run("flac -s -f '" + folder + "/in.wav' -o '" + folder + "/in.flac'"));
    Bytes file = readFile(folder + "/in.flac");
    Bytes half(file.begin(), file.begin() + long(file.size() / 2));
    writeFile(folder + "/half.flac", half);
    for (size_t i = file.size() / 3; i < file.size(); i += 97)
        file[i] ^= 0x55;
    writeFile(folder + "/damaged.flac", file);

    for (const char* name : {"/half.flac", "/damaged.flac"}) {
        FLACDecoder decoder;
        // Whatever libFLAC makes of it, the image never grows past its size
        // and the missing audio is silence.
        if (decoder.decodeFile(folder + name)) {
            EXPECT_EQ(decoder.image().size, 22050u / 2 * 4 + 44) << name;
        }
    }
}

class OggDecoding : public ::testing::TestWithParam<int> {};

TEST_P(OggDecoding, HoldsTheReferenceFloatsInAFloatImage)
{
    ASSERT_TRUE(outside_tools::have({"sox", "oggenc", "oggdec"}));
    const int channels = GetParam();
    const std::string folder = freshFolder();
    ASSERT_TRUE(makeNoiseWav(folder + "/in.wav", channels, 16, 22050, 0.3));
    ASSERT_TRUE(run("oggenc -Q '" + folder + "/in.wav' -o '" + folder + "/in.ogg'"));
    ASSERT_TRUE(run("oggdec -Q '" + folder + "/in.ogg' -o '" + folder + "/ref16.wav'"));

    VorbisDecoder decoder;
    ASSERT_TRUE(decoder.decodeFile(folder + "/in.ogg"));
    const Bytes image = imageBytes(decoder.image());
    int refChannels = 0;
    const std::vector<float> reference = vorbisReference(folder + "/in.ogg", refChannels);
    ASSERT_EQ(refChannels, channels);
    ASSERT_EQ(reference.size(), 6615u * channels);
    const Bytes expectedHeader = header(kWavFormatFloat, uint16_t(channels), 22050, 32,
                                        uint32_t(reference.size() * 4));
    ASSERT_EQ(image.size(), reference.size() * 4 + 44);
    EXPECT_TRUE(std::equal(expectedHeader.begin(), expectedHeader.end(), image.begin()));

    // The reference tool only writes 16-bit data: agree within its rounding.
    const Bytes ref16 = riffChunk(readFile(folder + "/ref16.wav"), "data");
    ASSERT_EQ(ref16.size(), reference.size() * 2);
    for (size_t i = 0; i < reference.size(); ++i) {
        float value;
        std::memcpy(&value, &image[44 + 4 * i], 4);
        ASSERT_EQ(value, reference[i]) << i;
        const float tool = float(int16_t(ref16[2 * i] | ref16[2 * i + 1] << 8)) / 32768.0f;
        ASSERT_NEAR(std::fmax(-1.0f, std::fmin(value, 32767.0f / 32768.0f)), tool, 0.5f / 32768.0f + 1e-6f) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Channels, OggDecoding, ::testing::Values(1, 2));

TEST(OggDecoder, RefusesUnreadableAndWideStreams)
{
    ASSERT_TRUE(outside_tools::have({"sox", "oggenc"}));
    const std::string folder = freshFolder();
    ASSERT_TRUE(makeNoiseWav(folder + "/three.wav", 3, 16, 8000, 0.05));
    ASSERT_TRUE(run("oggenc -Q '" + folder + "/three.wav' -o '" + folder + "/three.ogg'"));
    writeFile(folder + "/garbage.ogg", Bytes(5000, 0x4F));
    writeFile(folder + "/empty.ogg", {});
    for (const char* name : {"/three.ogg", "/garbage.ogg", "/empty.ogg", "/missing.ogg"}) {
        VorbisDecoder decoder;
        EXPECT_FALSE(decoder.decodeFile(folder + name)) << name;
        EXPECT_EQ(decoder.image().data, nullptr) << name;
    }
}

TEST(SampleLoads, FlacIsHeldOnTheIntegerScaleOfItsDepth)
{
    ASSERT_TRUE(outside_tools::have({"sox", "flac"}));
    const std::string folder = freshFolder();
    for (const auto& [channels, bits] : {std::pair{2, 24}, std::pair{1, 8}}) {
        ASSERT_TRUE(makeNoiseWav(folder + "/in.wav", channels, bits, 32000, 0.1));
        ASSERT_TRUE(run("flac -s -f '" + folder + "/in.wav' -o '" + folder + "/in.flac'"));
        ASSERT_TRUE(run("flac -s -d -f '" + folder + "/in.flac' -o '" + folder + "/ref.wav'"));
        const Bytes ref = riffChunk(readFile(folder + "/ref.wav"), "data");
        const int bytes = bits / 8;
        const size_t frames = ref.size() / size_t(bytes * channels);
        ASSERT_EQ(frames, 3200u);

        TesselSample s;
        ASSERT_TRUE(s.loadFlac(folder + "/in.flac"));
        EXPECT_EQ(s.filename, "in.flac");
        EXPECT_EQ(s.bits, bits);
        EXPECT_EQ(s.channels, channels);
        EXPECT_EQ(s.speed, 32000);
        ASSERT_EQ(s.length, int(frames) + 1);
        for (size_t i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) {
                const uint8_t* p = &ref[(i * size_t(channels) + size_t(c)) * size_t(bytes)];
                int32_t expected = bits == 8 ? int32_t(p[0]) - 128 : int32_t(uint32_t(p[0] | p[1] << 8 | p[2] << 16) << 8) >> 8;
                ASSERT_EQ(s.audio.buffers[c][i], float(expected)) << i;
            }
        EXPECT_EQ(s.audio.buffers[0][frames], 0.0f);
    }

    TesselSample s;
    ASSERT_TRUE(run("sox -R -n -r 8000 -c 6 -b 16 '" + folder + "/six.flac' synth 0.05 whitenoise"));
    EXPECT_FALSE(s.loadFlac(folder + "/six.flac"));
    EXPECT_FALSE(s.loadFlac(folder + "/missing.flac"));
}

TEST(SampleLoads, OggIsHeldAsFloatDataAtHalfScale)
{
    ASSERT_TRUE(outside_tools::have({"sox", "oggenc"}));
    const std::string folder = freshFolder();
    ASSERT_TRUE(makeNoiseWav(folder + "/in.wav", 2, 16, 44100, 0.2));
    ASSERT_TRUE(run("oggenc -Q '" + folder + "/in.wav' -o '" + folder + "/in.ogg'"));
    int channels = 0;
    const std::vector<float> reference = vorbisReference(folder + "/in.ogg", channels);
    ASSERT_EQ(channels, 2);

    TesselSample s;
    ASSERT_TRUE(s.loadOgg(folder + "/in.ogg"));
    EXPECT_EQ(s.filename, "in.ogg");
    EXPECT_EQ(s.bits, 32);
    EXPECT_EQ(s.channels, 2);
    EXPECT_EQ(s.speed, 44100);
    const size_t frames = reference.size() / 2;
    ASSERT_EQ(s.length, int(frames) + 1);
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < 2; ++c)
            ASSERT_NEAR(s.audio.buffers[c][i], reference[2 * i + size_t(c)] * 0.5f, 1e-6) << i;

    writeFile(folder + "/garbage.ogg", Bytes(300, 1));
    EXPECT_FALSE(s.loadOgg(folder + "/garbage.ogg"));
}
