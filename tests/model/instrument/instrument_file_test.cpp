#include "model/instrument/instrument.h"
#include "model/song/module.h"
#include "model/zip/zip_helpers.h"

#include "model/audio_files/sample_audio_support.h"
#include "model/scratch_folder.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using SampleSlots = std::array<TesselSample, kSamples>;

std::unique_ptr<SampleSlots> makeSlots()
{
    return std::make_unique<SampleSlots>();
}

// Marks slots from..to-1 as used.
void occupy(SampleSlots& slots, int from, int to)
{
    for (int i = from; i < to; ++i)
        slots[size_t(i)].setName("taken");
}

void nameKeys(TesselInstrument& instrument, int from, int to, int sample)
{
    for (int k = from; k < to; ++k)
        instrument.keymap.getRow(k).instrument = int16_t(sample);
}

std::string entryText(const std::string& zip, const char* entry, const ScratchFolder& folder)
{
    const std::string out = folder.file("entry.out");
    EXPECT_TRUE(zipExtractFile(zip.c_str(), out.c_str(), entry));
    const std::string text = readWholeFile(out);
    std::remove(out.c_str());
    return text;
}

size_t countOf(const std::string& text, const std::string& needle)
{
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

// Writes `document` as the "Instrument.xml" of a new zip.
std::string zipDocument(const ScratchFolder& folder, const std::string& name, const std::string& document)
{
    const std::string source = folder.write("doc.xml", document);
    const std::string zip = folder.file(name);
    EXPECT_TRUE(zipAddFile(source.c_str(), zip.c_str(), "Instrument.xml"));
    std::remove(source.c_str());
    return zip;
}

} // namespace

TEST(InstrumentFile, OneSharedSampleIsSavedOnceAndLandsInTheFirstFreeSlot)
{
    ScratchFolder folder;
    auto source = makeSlots();
    giveAudio((*source)[2]);
    (*source)[2].setName("Bass");
    TesselInstrument instrument;
    instrument.setName("Bass line");
    nameKeys(instrument, 0, kKeys, 3);

    ASSERT_TRUE(instrument.saveFile(folder.file("bass"), *source, 0));
    const std::string zip = folder.file("bass.zip");
    const std::string document = entryText(zip, "instrument.xml", folder);
    EXPECT_EQ(countOf(document, "<sample "), 1u);
    EXPECT_NE(document.find("index=\"0\""), std::string::npos);
    ZipEntryList entries;
    ASSERT_TRUE(zipListEntries(zip.c_str(), entries));
    EXPECT_GE(entries.indexOf("Sample 000.wav"), 0);
    EXPECT_EQ(entries.count(), 2);
    // The slot itself keeps its numbers.
    EXPECT_EQ(instrument.keymap.keyRow(50).instrument, 3);

    auto song = makeSlots();
    occupy(*song, 0, 5);
    TesselInstrument target;
    target.index = 4;
    ASSERT_EQ(target.loadFile(zip, *song), kFileLoaded);
    EXPECT_EQ(target.index, 4);
    EXPECT_EQ(target.nameText().substr(0, 9), "Bass line");
    for (int k = 0; k < kKeys; ++k)
        ASSERT_EQ(target.keymap.keyRow(k).instrument, 6) << k;
    EXPECT_EQ((*song)[5].nameText().substr(0, 4), "Bass");
    EXPECT_EQ((*song)[5].audio.buffers[0][3], 32767.0f);
    EXPECT_TRUE((*song)[6].isEmpty());
}

TEST(InstrumentFile, SampleWithoutAFreeSlotClearsItsKeys)
{
    ScratchFolder folder;
    auto source = makeSlots();
    giveAudio((*source)[0]);
    (*source)[0].setName("Low");
    giveAudio((*source)[1]);
    (*source)[1].setName("High");
    TesselInstrument instrument;
    instrument.setName("Split");
    nameKeys(instrument, 0, 60, 1);
    nameKeys(instrument, 60, kKeys, 2);
    instrument.keymap.regionsOf(10).insert({1, 64, 2});
    instrument.keymap.regionsOf(10).insert({65, 127, 1});
    ASSERT_TRUE(instrument.saveFile(folder.file("split.zip"), *source));

    auto song = makeSlots();
    occupy(*song, 0, kSamples - 1);
    TesselInstrument target;
    // The instrument follows its samples, so it still loads.
    ASSERT_EQ(target.loadFile(folder.file("split.zip"), *song), kFileLoaded);
    EXPECT_EQ(target.nameText().substr(0, 5), "Split");
    EXPECT_EQ((*song)[98].nameText().substr(0, 3), "Low");
    EXPECT_EQ(target.keymap.keyRow(0).instrument, 99);
    EXPECT_EQ(target.keymap.keyRow(59).instrument, 99);
    EXPECT_EQ(target.keymap.keyRow(60).instrument, 0);
    EXPECT_EQ(target.keymap.keyRow(119).instrument, 0);
    // The region of the missing sample goes; the other one follows its sample.
    const TesselKeyRegions& regions = target.keymap.regionsOf(10);
    EXPECT_EQ(regions.count(), 1);
    EXPECT_EQ(regions.regions[0].from, 65);
    EXPECT_EQ(regions.regions[0].value, 99);

    // With room for both, regions are renumbered with the rows.
    auto roomy = makeSlots();
    occupy(*roomy, 0, 3);
    TesselInstrument again;
    ASSERT_EQ(again.loadFile(folder.file("split.zip"), *roomy), kFileLoaded);
    EXPECT_EQ(again.keymap.keyRow(0).instrument, 4);
    EXPECT_EQ(again.keymap.keyRow(119).instrument, 5);
    EXPECT_EQ(again.keymap.regionsOf(10).regions[0].value, 5);
    EXPECT_EQ(again.keymap.regionsOf(10).regions[1].value, 4);
}

TEST(InstrumentFile, SamplesBeforeAMissingInstrumentStayAndReportNoSlot)
{
    ScratchFolder folder;
    auto song = makeSlots();
    occupy(*song, 0, kSamples);
    const std::string zip = zipDocument(folder, "samples-only.zip",
                                        "<sample index=\"0\" name=\"A\"/>\n<sample index=\"1\" name=\"B\"/>\n");
    TesselInstrument target;
    EXPECT_EQ(target.loadFile(zip, *song), kFileNoFreeSlot);

    auto empty = makeSlots();
    EXPECT_EQ(target.loadFile(zip, *empty), kFileNothingFound);
    EXPECT_EQ((*empty)[0].nameText()[0], 'A');
    EXPECT_EQ((*empty)[1].nameText()[0], 'B');
}

TEST(InstrumentFile, IndexesOutsideTheTablesAreBounded)
{
    ScratchFolder folder;
    const std::string zip = zipDocument(folder, "hostile.zip",
                                        "<sample index=\"-5\" name=\"Neg\"/>\n"
                                        "<sample index=\"4000\" name=\"Big\"/>\n"
                                        "<sample index=\"2\" name=\"Ok\"/>\n"
                                        "<instrument index=\"700\" name=\"Hostile\">\n"
                                        " <general>\n  <keymap>\n"
                                        "   <row index=\"0\" instrument=\"3\"/>\n"
                                        "   <row index=\"1\" instrument=\"30000\"/>\n"
                                        "   <row index=\"500\" instrument=\"3\"/>\n"
                                        "  </keymap>\n </general>\n</instrument>\n");
    auto song = makeSlots();
    TesselInstrument target;
    target.index = 2;
    ASSERT_EQ(target.loadFile(zip, *song), kFileLoaded);
    EXPECT_EQ(target.index, 2);
    // Every element is placed; only the one with a usable index is mapped.
    EXPECT_EQ((*song)[2].nameText().substr(0, 2), "Ok");
    EXPECT_EQ(target.keymap.keyRow(0).instrument, 3);
    EXPECT_EQ(target.keymap.keyRow(1).instrument, 30000);
    EXPECT_EQ(target.loadFile(zip, *song, 1), kFileNothingFound);

    // Saving numbers that name no slot clears them rather than reading past the table.
    ASSERT_TRUE(target.saveFile(folder.file("resaved.zip"), *song, 500));
    auto other = makeSlots();
    TesselInstrument back;
    ASSERT_EQ(back.loadFile(folder.file("resaved.zip"), *other), kFileLoaded);
    EXPECT_EQ(back.keymap.keyRow(0).instrument, 1);
    EXPECT_EQ(back.keymap.keyRow(1).instrument, 0);
    EXPECT_EQ(other->at(0).nameText().substr(0, 2), "Ok");
}

TEST(InstrumentFile, NotAnInstrumentFile)
{
    ScratchFolder folder;
    auto song = makeSlots();
    TesselInstrument target;
    target.setName("Keep");
    EXPECT_EQ(target.loadFile(folder.write("a.wav", "RIFF"), *song), kFileWrongKind);
    EXPECT_EQ(target.loadZip(folder.write("b.zip", "PK not really a zip file"), *song, 0), kFileNothingFound);
    EXPECT_EQ(target.loadZip(zipDocument(folder, "empty.zip", ""), *song, 0), kFileNothingFound);
    EXPECT_EQ(target.nameText().substr(0, 4), "Keep");
    EXPECT_FALSE(target.saveFile(folder.file("none/x.zip"), *song));
}

TEST(InstrumentFile, ImportNamesEmptySamplesAndRenumbersRegions)
{
    auto browsed = std::make_unique<TesselModule>();
    auto song = std::make_unique<TesselModule>();
    giveAudio(browsed->samples[1]);
    browsed->samples[1].setName("Real");
    TesselInstrument& source = browsed->instruments[3];
    nameKeys(source, 0, 60, 5);        // sample 5 is empty
    nameKeys(source, 60, kKeys, 2);
    source.keymap.regionsOf(0).insert({1, 127, 2});
    occupy(song->samples, 0, 2);

    TesselInstrument& target = song->instruments[7];
    ASSERT_EQ(target.importWithSamples(source, browsed->samples, *song), kFileLoaded);
    EXPECT_EQ(song->samples[2].nameText().substr(0, 22), "(used by Instrument 8)");
    EXPECT_FALSE(song->samples[2].isEmpty());
    EXPECT_EQ(song->samples[3].nameText().substr(0, 4), "Real");
    EXPECT_EQ(target.keymap.keyRow(0).instrument, 3);
    EXPECT_EQ(target.keymap.keyRow(119).instrument, 4);
    EXPECT_EQ(target.keymap.regionsOf(0).regions[0].value, 4);

    // A later copy does not take the named slot.
    ASSERT_EQ(song->instruments[8].importWithSamples(source, browsed->samples, *song), kFileLoaded);
    EXPECT_EQ(song->samples[4].nameText().substr(0, 22), "(used by Instrument 9)");
    EXPECT_EQ(song->instruments[8].keymap.keyRow(0).instrument, 5);
    EXPECT_EQ(song->instruments[8].keymap.keyRow(119).instrument, 6);

    // No free slot: those keys and regions name nothing.
    occupy(song->samples, 0, kSamples);
    TesselInstrument& full = song->instruments[9];
    EXPECT_EQ(full.importWithSamples(source, browsed->samples, *song), kFileNoFreeSlot);
    EXPECT_EQ(full.keymap.keyRow(0).instrument, 0);
    EXPECT_EQ(full.keymap.keyRow(119).instrument, 0);
    EXPECT_EQ(full.keymap.regionsOf(0).count(), 0);
}

TEST(InstrumentFile, ImportWaitsForTheSongLockAndGivesUp)
{
    auto browsed = std::make_unique<TesselModule>();
    auto song = std::make_unique<TesselModule>();
    browsed->instruments[0].setName("Source");
    ShortEditLockWait shortWait;
    auto holder = std::make_unique<LockHeldElsewhere>(song->songLock());
    const unsigned result = song->instruments[1].importWithSamples(browsed->instruments[0], browsed->samples, *song);
    holder.reset();
    EXPECT_EQ(result, kFileUnreadable);
    EXPECT_TRUE(song->instruments[1].isEmpty());
}
