// Damaged and hostile songs handed to the library as chunks: audio that is
// not a number, and numbers no editor writes, play without harm and come
// back from the chunk brought into range.
#include "library/test_host.h"
#include "library/zip_bytes.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

class HostileSongTest : public StartedPluginTest {
protected:
    // The song's document as the host would save it now.
    std::string savedDocument()
    {
        void* data = nullptr;
        const VstIntPtr size = host().dispatch(effGetChunk, 0, 0, &data);
        return zipEntryOf(std::string(static_cast<const char*>(data), static_cast<size_t>(size)), "Module.xml");
    }
    VstIntPtr load(const std::string& audio, const std::string& document)
    {
        std::string bytes = zipOfEntries({{"Sample 000.wav", audio}, {"Module.xml", document}});
        return host().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    }
    // Plays `blocks` blocks of 512 frames with the host's transport running;
    // every frame the host receives must be finite. The loudest frame.
    float playFinite(int blocks)
    {
        host().time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
        float peak = 0.0f;
        for (int block = 0; block < blocks; ++block) {
            host().render(512);
            for (const std::vector<float>* channel : {&host().left, &host().right})
                for (size_t f = 0; f < channel->size(); ++f) {
                    EXPECT_TRUE(std::isfinite((*channel)[f])) << "frame " << f << " of block " << block;
                    if (!std::isfinite((*channel)[f]))
                        return peak;
                }
            peak = std::fmax(peak, peakOf(host().left));
            host().advance(512);
        }
        return peak;
    }
};

void putFloat(std::string& bytes, size_t at, float value)
{
    const uint32_t raw = std::bit_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((raw >> (8 * i)) & 0xFF);
}

// The test song (a looped sine of 2205 frames played every eighth row) with
// its sample replaced by a 32-bit float WAV from sox in which every seventh
// value is damaged: not a number, an infinity, or 3e38.
TEST_F(HostileSongTest, FloatSampleHoldingNanAndInfinityPlaysFinite)
{
    ASSERT_TRUE(outside_tools::have({"sox"}));
    const ScratchFolder folder;
    const std::string command = "sox -n -r 22050 -c 1 -e floating-point -b 32 '" + folder.file("float.wav") +
                                "' synth 0.1 sine 440";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string wav = readWholeFile(folder.file("float.wav"));
    const size_t data = wav.find("data");
    ASSERT_NE(data, std::string::npos);
    ASSERT_EQ(wav.size(), data + 8 + 2205 * 4);
    const float damage[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), 3e38f, -3e38f};
    for (size_t value = 0; value < 2205; value += 7)
        putFloat(wav, data + 8 + value * 4, damage[(value / 7) % std::size(damage)]);

    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_EQ(load(wav, zipEntryOf(tune, "Module.xml")), 2);
    const float peak = playFinite(200);
    EXPECT_GT(peak, 0.0f);   // the sine between the damage still sounds
    EXPECT_LT(peak, 100.0f);
    EXPECT_EQ(host().dispatch(-1), 1);   // playing
}

// Every number of the sample, its loops and vibrato, an instrument with its
// envelope and a channel set far outside its range: the song loads, plays
// (under the sanitizers, without an overflow) and the chunk the host saves
// holds the numbers brought into range.
TEST_F(HostileSongTest, HostileNumbersAreBroughtIntoRangeWhenRead)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    std::string document = zipEntryOf(tune, "Module.xml");
    const auto replace = [&document](const std::string& from, const std::string& to) {
        const size_t at = document.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        document.replace(at, from.size(), to);
    };
    replace("defaultVolume=\"64\" globalVolume=\"64\" defaultPan=\"-1\"",
            "defaultVolume=\"2147483647\" globalVolume=\"99999\" defaultPan=\"-2147483648\"");
    replace("<loop type=\"1\" begin=\"0\" end=\"2205\"/>", "<loop type=\"1\" begin=\"-2147483648\" end=\"2147483647\"/>");
    replace("<sustain type=\"0\" begin=\"0\" end=\"0\"/>", "<sustain type=\"2\" begin=\"-5\" end=\"99999999\"/>");
    replace("<vi s=\"0\" w=\"0\" r=\"0\" d=\"0\"/>",
            "<vi s=\"2147483647\" w=\"-7\" r=\"2147483647\" d=\"-2147483648\"/>");
    replace(" <channel index=\"0\" name=\"Channel 1     \"/>",
            " <instrument index=\"0\" name=\"hostile\" label=\"01\">\n"
            "  <general/>\n"
            "  <volume global=\"2147483647\" fadeOut=\"-2147483648\" swing=\"2147483647\">\n"
            "   <envelope enabled=\"200\" carry=\"7\">\n"
            "    <loop type=\"1\" begin=\"-2147483648\" end=\"2147483647\"/>\n"
            "    <sustain type=\"9\" begin=\"2147483647\" end=\"-1\"/>\n"
            "<node tick=\"0\" value=\"40\" value2=\"2147483647\"/>"
            "<node tick=\"50\" value=\"99999\" value2=\"-1\"/>"
            "<node tick=\"10\" value=\"48\" value2=\"0\"/>"
            "<node tick=\"2147483647\" value=\"32\" value2=\"0\"/>\n"
            "   </envelope>\n"
            "  </volume>\n"
            "  <panning default=\"-2147483648\" pitchCentre=\"2147483647\" pitchSeparation=\"-2147483648\""
            " swing=\"2147483647\"/>\n"
            "  <filter cutoff=\"2147483647\" resonance=\"-2147483648\"/>\n"
            "  <pitch MIDIChannel=\"-5\" MIDIProgram=\"2147483647\" MIDIPitchBend=\"-2147483648\"/>\n"
            " </instrument>\n"
            " <channel index=\"0\" name=\"Channel 1     \" panning=\"-2147483648\" volume=\"2147483647\""
            " cutoff=\"99999\" resonance=\"-1\"/>");
    ASSERT_EQ(load(zipEntryOf(tune, "Sample 000.wav"), document), 2);
    EXPECT_GT(playFinite(100), 0.0f);

    const std::string saved = savedDocument();
    for (const char* expected : {
             "defaultVolume=\"64\" globalVolume=\"64\" defaultPan=\"-1\"",
             // Within the sample: its 2205 frames and the frame of silence the reader adds.
             "<loop type=\"1\" begin=\"0\" end=\"2206\"/>",
             "<sustain type=\"2\" begin=\"0\" end=\"2206\"/>",
             "<vi s=\"255\" w=\"0\" r=\"255\" d=\"0\"/>",
             "<volume global=\"255\" swing=\"100\">",             // fade-out 0 is not written
             "<envelope enabled=\"2\" carry=\"1\">",
             "<loop type=\"1\" begin=\"0\" end=\"3\"/>",           // node numbers of its four nodes
             "<sustain type=\"0\" begin=\"3\" end=\"0\"/>",
             // Values within 0..64, ticks in order and within 30000.
             "<node tick=\"0\" value=\"40\" value2=\"64\"/><node tick=\"50\" value=\"64\" value2=\"0\"/>"
             "<node tick=\"50\" value=\"48\" value2=\"0\"/><node tick=\"30000\" value=\"32\" value2=\"0\"/>",
             "<panning pitchCentre=\"255\" pitchSeparation=\"-255\" swing=\"64\">",
             "<filter cutoff=\"127\">",
             "MIDIChannel=\"0\" MIDIProgram=\"127\" MIDIPitchBend=\"0\"",
             "<channel index=\"0\" panning=\"0\" name=\"Channel 1     \"/>",
         })
        EXPECT_NE(saved.find(expected), std::string::npos) << expected << "\n" << saved.substr(0, 2400);
}

} // namespace
