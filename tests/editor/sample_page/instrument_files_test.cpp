// The instrument page's files through the plug-in's editor: Save with a
// scripted name, New, Load back through the file box into free sample
// slots, and a damaged file that must leave the song's samples alone.

#include "instrument_page_fixture.h"

#include "pagekit/file_box.h"
#include "model/audio_files/sample_audio_support.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_helpers.h"

#include <fstream>
#include <iterator>

namespace {

using namespace platform;

// A page point on the file button n (New, Load, Save, Swap).
constexpr int fileButtonX(int n)
{
    return instrument_layout::kFileButtonsX + n * 45 + 10;
}
constexpr int kFileButtonY = instrument_layout::kFileButtonsY + 6;

// What a sample slot holds, to the byte of its audio.
std::string fingerprint(const TesselSample& sample)
{
    std::string text = sample.nameText() + "|" + std::to_string(sample.bits) + "|" + std::to_string(sample.length);
    for (int c = 0; c < sample.channels && c < 2; ++c)
        if (const float* data = sample.audio.buffers[c])
            text.append(reinterpret_cast<const char*>(data), sizeof(float) * size_t(sample.length));
    return text;
}

std::vector<std::string> fingerprints(const TesselModule& song)
{
    std::vector<std::string> all;
    for (const TesselSample& sample : song.samples)
        all.push_back(fingerprint(sample));
    return all;
}

// The saved instrument with its "instrument" element renamed: the samples
// read, the instrument not.
std::string damagedCopy(const ScratchFolder& folder, const std::string& zip)
{
    ZipEntryList list;
    EXPECT_TRUE(zipListEntries(zip.c_str(), list));
    const std::string damaged = folder.file("damaged.zip");
    for (const ZipEntry& entry : list.entries) {
        const std::string part = folder.file("part");
        EXPECT_TRUE(zipExtractFile(zip.c_str(), part.c_str(), entry.name));
        if (std::string(entry.name) == "Instrument.xml") {
            std::ifstream in(part);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (size_t at = text.find("instrument"); at != std::string::npos; at = text.find("instrument", at + 1))
                text.replace(at, 10, "instrumenx");
            folder.write("part", text);
        }
        EXPECT_TRUE(zipAddFile(part.c_str(), damaged.c_str(), entry.name));
    }
    return damaged;
}

TEST_F(InstrumentPageTest, SavedNewAndLoadedBackThroughTheFileBox)
{
    ScratchFolder folder;
    giveAudio(song().samples[0]);
    song().samples[0].setName("Low");
    giveAudio(song().samples[1]);
    song().samples[1].setName("High");
    instrument(1).setName("Piano");
    for (int key = 60; key < kKeys; ++key)
        instrument(1).keymap.getRow(key).instrument = 2;
    openPage();
    HeadlessDialogs& dialogs = windows.scriptedDialogs();

    dialogs.answerPaths({folder.file("piano.zip")});
    click(fileButtonX(2), kFileButtonY);
    ASSERT_FALSE(dialogs.requests().empty());
    EXPECT_EQ(dialogs.requests().back().kind, HeadlessDialogs::Kind::Save);
    EXPECT_EQ(status(), "Instrument 'Piano' saved successfully.");
    EXPECT_EQ(fileMessage(), "Saving instrument... completed.");
    ZipEntryList saved;
    ASSERT_TRUE(zipListEntries(folder.file("piano.zip").c_str(), saved));
    EXPECT_EQ(saved.count(), 3);   // the document and the two samples
    EXPECT_EQ(editor->instrumentFolder(), folder.path() + "/");

    dialogs.answerButton(kAnswerNo);
    click(fileButtonX(0), kFileButtonY);
    EXPECT_EQ(instrument(1).nameText().substr(0, 5), "Piano");
    dialogs.answerButton(kAnswerYes);
    click(fileButtonX(0), kFileButtonY);
    EXPECT_EQ(dialogs.requests().back().text, "This will erase the current instrument. Are you sure?");
    EXPECT_EQ(dialogs.requests().back().title, "New Instrument...");
    EXPECT_EQ(status(), "Instrument erased.");
    EXPECT_TRUE(instrument(1).isEmpty());

    press(kWinReturn);   // browser mode
    ASSERT_EQ(page().tab(), TesselInstrumentListUI::kBrowser);
    ASSERT_TRUE(page().fileBox().scanFolder(folder.path(), false));
    repeat(kWinDown, 3);   // from the path line past "\" and ".."
    press(kWinReturn);
    EXPECT_EQ(status(), "Instrument 'Piano' loaded successfully.");
    EXPECT_EQ(fileMessage(), "Loading instrument... completed.");
    EXPECT_EQ(song().samples[2].nameText().substr(0, 3), "Low");
    EXPECT_EQ(song().samples[3].nameText().substr(0, 4), "High");
    EXPECT_EQ(instrument(1).keymap.keyRow(0).instrument, 3);
    EXPECT_EQ(instrument(1).keymap.keyRow(kKeys - 1).instrument, 4);
    press(kWinEscape);
    EXPECT_EQ(page().tab(), TesselInstrumentListUI::kGeneral);

    // A file whose samples read but whose instrument does not adds nothing.
    const std::string damaged = damagedCopy(folder, folder.file("piano.zip"));
    const std::vector<std::string> before = fingerprints(song());
    page().loadInstrument(damaged, 4);
    EXPECT_EQ(status(), "Loading Error: No instruments found in file.");
    EXPECT_EQ(fileMessage(), "Loading instrument... failed.");
    EXPECT_EQ(fingerprints(song()), before);
    EXPECT_TRUE(instrument(5).isEmpty());
    page().loadInstrument(folder.file("missing.zip"), 4);
    EXPECT_EQ(status(), "Loading Error: Corrupt or unsupported instrument file.");
    EXPECT_EQ(fingerprints(song()), before);

    // Cancelled: nothing written, the message says so.
    dialogs.answerCancel();
    click(fileButtonX(2), kFileButtonY);
    EXPECT_EQ(status(), "Saving cancelled.");
}

} // namespace
