// The sample and instrument lists' entries, byte for byte: the bit and kHz
// glyphs of the bitmap font, the sample rate in kHz, the samples an audio
// instrument's key map plays and the MIDI settings of a MIDI instrument.
#include "gui/lists/list_box.h"
#include "pagekit/list_entries.h"
#include "model/instrument/instrument.h"
#include "model/sample/sample.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TesselSample> sample(const char* name, const char* file, int32_t length, int32_t bits, int32_t rate)
{
    auto s = std::make_unique<TesselSample>();
    s->index = 4;
    s->setName(name);
    s->filename = file;
    s->length = length;
    s->bits = bits;
    s->fileRate = rate;
    return s;
}

std::unique_ptr<TesselInstrument> instrument(const char* name)
{
    auto i = std::make_unique<TesselInstrument>();
    i->index = 2;
    i->reset();   // every key plays sample 3
    i->setName(name);
    return i;
}

} // namespace

TEST(ListEntries, SamplesShowNumberNameOrFileAndFormat)
{
    struct Case {
        std::unique_ptr<TesselSample> slot;
        const char* name;
        const char* detail;
    };
    const Case cases[] = {
        {sample("Kick", "kick.wav", 12345, 16, 44100), "05: Kick",
         "     12345 Sample 16\x84\x85/44.1\x86\x87"},
        {sample("", "kick.wav", 7, 8, 48000), "05: (kick.wav)", "         7 Sample 08\x84\x85/48.0\x86\x87"},
        {sample("  ", "", 0, 0, 0), "05: ", "         0 Sample 00\x84\x85/0.0\x86\x87"},
    };
    for (const Case& c : cases) {
        const TesselListItem item = sampleListEntry(*c.slot);
        EXPECT_EQ(item.name, c.name);
        EXPECT_EQ(item.detail, c.detail) << c.name;
        EXPECT_EQ(item.icon, 3);
        EXPECT_EQ(item.colour, 0xFFFFFFu);
        EXPECT_EQ(item.extra, 0);
    }
}

TEST(ListEntries, AudioInstrumentsCountTheDistinctSamplesTheyPlay)
{
    auto piano = instrument("Piano   ");
    TesselListItem item = instrumentListEntry(*piano);
    EXPECT_EQ(item.name, "03: Piano");
    EXPECT_EQ(item.detail, "   (Audio) Ins. [1 sample]");
    EXPECT_EQ(item.icon, 6);

    // A region naming a second sample counts; one naming the first again
    // and a key row with no sample do not.
    piano->keymap.regionsOf(40).insert({0, 63, 7});
    piano->keymap.regionsOf(41).insert({64, 127, 3});
    piano->keymap.getRow(42).instrument = 0;
    item = instrumentListEntry(*piano);
    EXPECT_EQ(item.detail, "   (Audio) Ins. [2 samples]");

    // Keys that play nothing at all.
    for (int key = 0; key < kKeys; ++key)
        piano->keymap.getRow(key).instrument = 0;
    piano->keymap.regionsOf(40).clear();
    piano->keymap.regionsOf(41).clear();
    EXPECT_EQ(instrumentListEntry(*piano).detail, "   (Audio) Ins. [0 samples]");
}

TEST(ListEntries, MidiInstrumentsShowChannelProgramAndBanks)
{
    auto strings = instrument("");
    strings->midiOut = 1;
    strings->midiChannel = 10;
    strings->midiProgram = 4;
    strings->midiBankMsb = 2;
    strings->midiBankLsb = 17;
    TesselListItem item = instrumentListEntry(*strings);
    EXPECT_EQ(item.name, "03: ");
    EXPECT_EQ(item.detail, "    (MIDI) Ins. C10,#005,B002/017");

    strings->midiChannel = 0;
    strings->midiProgram = -1;
    strings->midiBankMsb = -1;
    strings->midiBankLsb = -1;
    EXPECT_EQ(instrumentListEntry(*strings).detail, "    (MIDI) Ins. C--,#---,B---/---");
}
