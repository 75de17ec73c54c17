// An instrument that plays through MIDI, heard as a host hears it: the
// song handed over as a chunk, played with the host's transport, and the
// events that reach the host's audioMasterProcessEvents.
#include "library/test_host.h"
#include "library/zip_bytes.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 512;

// Instrument 1 (bank 1, program 5) on channels 1 and 2 of one pattern; with
// midiOut it plays on MIDI channel 3 of the host's port, else its sine
// sample sounds.
std::string moduleDocument(bool midiOut)
{
    std::string xml = R"(<module version="1.100000" tempo="120.000000" resolution="6" rowsPerQuarter="4">
 <sample index="0" name="sine">
  <samplefile speed="22050"/>
  <loop type="1" begin="0" end="2205"/>
 </sample>
 <instrument index="0" name="midi">
  <pitch )";
    xml += midiOut ? R"(MIDIOut="1" )" : "";
    xml += R"(MIDIChannel="3" MIDIProgram="5" MIDIBankMSB="1">
  </pitch>
 </instrument>
 <order>
  <entry index="0" pattern="0"/>
 </order>
 <pattern index="0" length="32">
  <track index="0">
   <row index="0" pitch="60" volume="40" instrument="1"></row>
   <row index="4" pitch="62" volume="20" instrument="1"></row>
  </track>
  <track index="1">
   <row index="0" pitch="64" instrument="1"></row>
   <row index="2" pitch="255"></row>
   <row index="6" pitch="67" instrument="1"></row>
  </track>
 </pattern>
</module>
)";
    return xml;
}

class LibraryMidiOutTest : public StartedPluginTest {
protected:
    VstIntPtr setSong(bool midiOut)
    {
        const std::string tune = readWholeFile(testData("plugin/tune.zip"));
        const std::string sample = zipEntryOf(tune, "Sample 000.wav");
        EXPECT_FALSE(sample.empty());
        std::string bytes = zipOfEntries({{"Module.xml", moduleDocument(midiOut)}, {"Sample 000.wav", sample}});
        return host().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    }
    // Plays blocks with the host's transport running; the loudest sample.
    float play(int blocks)
    {
        host().time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
        float peak = 0.0f;
        for (int b = 0; b < blocks; ++b) {
            host().render(kBlock);
            peak = std::fmax(peak, peakOf(host().left));
            host().advance(kBlock);
        }
        return peak;
    }
    void stopHost(int blocks)
    {
        host().time.flags = kVstTransportChanged | kVstTempoValid | kVstPpqPosValid;
        for (int b = 0; b < blocks; ++b) {
            host().render(kBlock);
            host().advance(kBlock);
        }
    }
};

// Where each event lands in the host's stream of frames.
struct StreamEvent {
    int frame;
    std::array<int, 3> bytes;
    bool operator==(const StreamEvent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const StreamEvent& e)
{
    return os << "frame " << e.frame << ": " << std::hex << e.bytes[0] << std::dec << " " << e.bytes[1] << " "
              << e.bytes[2];
}

std::vector<StreamEvent> inStream(const std::vector<ReceivedMidi>& received)
{
    std::vector<StreamEvent> out;
    for (const ReceivedMidi& m : received) {
        EXPECT_GE(m.deltaFrames, 0);
        EXPECT_LT(m.deltaFrames, kBlock);
        out.push_back({m.block * kBlock + m.deltaFrames, m.bytes});
    }
    return out;
}

TEST_F(LibraryMidiOutTest, TheHostReceivesTheInstrumentsNotesOnChannelThree)
{
    ASSERT_EQ(setSong(true), 2);
    constexpr int kPlayed = 90;   // past row 6 at frame 33075
    EXPECT_EQ(play(kPlayed), 0.0f) << "a MIDI instrument makes no sound of its own";
    stopHost(2);

    // A row is 5512.5 frames (120 BPM, 4 rows a quarter); the default MIDI
    // delay of one block in whole milliseconds (11 ms) moves every event by
    // 485 frames.
    constexpr int kDelay = 485;
    auto row = [](int r) { return r * 11025 / 2 + kDelay; };
    const int stop = kPlayed * kBlock + kDelay;
    const std::vector<StreamEvent> expected = {
        {row(0), {0xB2, 0, 1}},      // bank and program once for the channel
        {row(0), {0xC2, 5, 0}},
        {row(0), {0x92, 60, 80}},    // volume 40: velocity 80
        {row(0), {0x92, 64, 127}},   // no volume: the default velocity 64 gives 127
        {row(0), {0xE2, 0, 64}},     // the first tick: bend centre, volume and panning of each voice
        {row(0), {0xB2, 7, 127}},
        {row(0), {0xB2, 10, 64}},
        {row(0), {0xE2, 0, 64}},
        {row(0), {0xB2, 7, 127}},
        {row(0), {0xB2, 10, 64}},
        {row(2), {0x82, 64, 0}},     // the note-off row
        {row(4), {0x82, 60, 0}},     // the old note ends before the new one starts
        {row(4), {0x92, 62, 40}},
        {row(4), {0xE2, 0, 64}},
        {row(6), {0x92, 67, 127}},
        {row(6), {0xE2, 0, 64}},
        {stop, {0x82, 62, 0}},       // the host's stop ends what still sounds
        {stop, {0x82, 67, 0}},
    };
    EXPECT_EQ(inStream(host().midiReceived), expected);
}

TEST_F(LibraryMidiOutTest, WithoutMidiOutputTheSampleSoundsAndTheHostGetsNoEvents)
{
    ASSERT_EQ(setSong(false), 2);
    EXPECT_GT(play(40), 0.0f);
    stopHost(2);
    EXPECT_TRUE(host().midiReceived.empty());
}

} // namespace
