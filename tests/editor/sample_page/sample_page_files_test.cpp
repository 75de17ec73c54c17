// The sample page's files: WAV, FLAC and Ogg files made by sox, flac and
// oggenc loaded through the browser, an entry of a zip, a sample of an
// Impulse Tracker module, a damaged file, and saves through the file
// selector read back.

#include "gui/controls/control_skin.h"
#include "pagekit/frame2.h"
#include "model/import/it_file_builder.h"
#include "platform/system/folders.h"
#include "resources/sample_page_layout.h"
#include "sample_page_fixture.h"

#include <algorithm>

namespace {

using namespace platform;

// The Save file button's middle.
constexpr int32_t kSaveX = 600 + 68;
constexpr int32_t kSaveY = 259 + 9;

TEST_F(SamplePageTest, WavFlacAndOggFilesLoadThroughTheBrowserAsSoxiDescribesThem)
{
    ASSERT_TRUE(outside_tools::have({"sox", "soxi", "flac", "oggenc"}));
    make("tone.wav", "sox -n -r 22050 -b 16 -c 2 tone.wav synth 0.25 sine 440");
    make("tone.flac", "sox -n -r 32000 -b 24 -c 1 mono.wav synth 0.2 sine 330 && flac -s -f -o tone.flac mono.wav");
    make("tone.ogg", "sox -n -r 44100 -b 16 -c 1 ogg.wav synth 0.3 sine 220 && oggenc -Q -o tone.ogg ogg.wav");
    // sox writes this one with the extensible format chunk.
    make("wide.wav", "sox -n -r 48000 -b 24 -c 2 wide.wav synth 0.2 sine 550");
    openPage();
    press(kWinReturn);   // Enter on the list: browser mode, the file box focused
    ASSERT_EQ(page()->listMode(), TesselSampleListUI::kBrowserMode);

    const struct {
        const char* file;
        int32_t slot;
        int32_t bits;   // soxi gives Ogg no bit depth: it loads as float data
    } cases[] = {{"tone.wav", 0, 16}, {"tone.flac", 1, 24}, {"tone.ogg", 2, 32}, {"wide.wav", 3, 24}};
    for (const auto& c : cases) {
        while (editor->currentSample() - 1 < c.slot) {
            press(kWinTab);   // to the list, a sample down, back to the box
            press(kWinDown);
            press(kWinTab);
        }
        chooseInBrowser(c.file);
        const std::string path = scratch.file(c.file);
        EXPECT_EQ(statusText(), "Sample '" + std::string(c.file) + "' loaded successfully.");
        // The readers count one frame more than the file holds (a silent one).
        EXPECT_EQ(slot(c.slot).length, soxi("-s", path) + 1) << c.file;
        EXPECT_EQ(slot(c.slot).fileRate, soxi("-r", path)) << c.file;
        EXPECT_EQ(slot(c.slot).bits, c.bits == 32 ? 32 : soxi("-b", path)) << c.file;
        EXPECT_EQ(slot(c.slot).loop.end, slot(c.slot).length);
    }
    EXPECT_EQ(slot(0).channels, 2);
    EXPECT_EQ(slot(3).channels, 2);
    EXPECT_GT(*std::max_element(slot(3).audio.buffers[1], slot(3).audio.buffers[1] + slot(3).length), 8000000.0f);
    EXPECT_EQ(fileMessage(), "Loading sample(s)... completed.");
    EXPECT_EQ(editor->sampleFolder(), scratch.path() + "/");
}

TEST_F(SamplePageTest, AnUpperCaseFlacInAZipAndSampleThreeOfAnImpulseTrackerModuleLoad)
{
    ASSERT_TRUE(outside_tools::have({"sox", "flac", "zip"}));
    make("drums.zip", "sox -n -r 11025 -b 16 -c 1 k.wav synth 0.1 sine 60 && flac -s -f -o KICK.FLAC k.wav"
                      " && zip -q drums.zip KICK.FLAC && rm KICK.FLAC");
    ittest::File song;
    for (int i = 1; i <= 3; ++i)
        song.samples.push_back(ittest::makeSample("Sample " + std::to_string(i), ittest::kHasData, 1,
                                                  static_cast<uint32_t>(100 * i), ittest::Bytes(100 * i, 0x20)));
    const ittest::Bytes bytes = song.build();
    scratch.write("song.it", std::string(bytes.begin(), bytes.end()));
    openPage();
    press(kWinReturn);

    chooseInBrowser("drums.zip");
    chooseInBrowser("KICK.FLAC");
    EXPECT_EQ(statusText(), "Sample 'KICK.FLAC' loaded successfully.");
    EXPECT_EQ(slot(0).length, soxi("-s", scratch.file("k.wav")) + 1);
    EXPECT_EQ(slot(0).fileRate, 11025);
    // Extracted elsewhere: nothing was left beside the archive.
    EXPECT_FALSE(platform::fileExists(scratch.file("KICK.FLAC")));

    chooseInBrowser("..");
    chooseInBrowser("song.it");
    chooseInBrowser("03");
    EXPECT_EQ(statusText(), "Sample 03 loaded successfully.");
    EXPECT_EQ(slot(0).nameText().substr(0, 8), "Sample 3");
    EXPECT_EQ(slot(0).length, 300);
}

TEST_F(SamplePageTest, ADamagedOrRefusedFileGivesTheErrorFailsOnTheToolbarAndLeavesTheSlotAsItWas)
{
    ASSERT_TRUE(outside_tools::have({"sox"}));
    scratch.write("broken.wav", std::string("RIFF\x10\0\0\0WAVEfmt junk that ends", 30));
    scratch.write("noise.ogg", "OggS but nothing a decoder takes");
    make("quad.wav", "sox -n -r 22050 -b 16 -c 4 quad.wav synth 0.1 sine 440");   // a slot holds two channels
    // A WAV file of float data is refused.
    make("float.wav", "sox -n -r 44100 -e floating-point -b 32 -c 2 float.wav synth 0.1 sine 440");
    openPage();
    fillSlot(0, "Keep me", 640, 2, 16, 300.0f);
    const std::string before = contents(0);
    press(kWinReturn);
    for (const char* name : {"broken.wav", "noise.ogg", "quad.wav", "float.wav"}) {
        setFileMessage("");
        chooseInBrowser(name);
        EXPECT_EQ(statusText(), "Loading Error: Corrupt or unsupported sample file.") << name;
        EXPECT_EQ(fileMessage(), "Loading sample(s)... failed.") << name;
        EXPECT_EQ(contents(0), before) << name;
    }
    // A sample file kind the page cannot read names no sample either.
    page()->loadSample(scratch.file("broken.wav") + "::missing.wav", 0);
    EXPECT_EQ(contents(0), before);
}

TEST_F(SamplePageTest, SavingWritesAWavThatReadsBackAndAZipThatLoadsBackEqual)
{
    openPage();
    fillSlot(0, "Saved", 777, 2, 16, 12000.0f);
    for (int32_t c = 0; c < 2; ++c)
        for (int32_t f = 0; f < 777; ++f)
            slot(0).audio.buffers[c][f] = std::round(slot(0).audio.buffers[c][f]);   // whole 16-bit values
    slot(0).vibrato.depth = 12;
    HeadlessDialogs& dialogs = windows.scriptedDialogs();
    // What a reader gives back: the frames as they were, and one silent frame more.
    const auto expectSameAudio = [&](const TesselSample& read) {
        ASSERT_EQ(read.length, 777 + 1);
        for (int32_t c = 0; c < 2; ++c)
            for (int32_t f = 0; f < 777; ++f)
                ASSERT_EQ(read.audio.buffers[c][f], slot(0).audio.buffers[c][f]) << c << " " << f;
    };

    dialogs.answerPaths({scratch.file("out.wav")});
    clickPage(kSaveX, kSaveY);
    ASSERT_FALSE(dialogs.requests().empty());
    EXPECT_EQ(dialogs.requests().back().title, "Save Sample...");
    EXPECT_EQ(dialogs.requests().back().startPath, scratch.path() + "/");
    EXPECT_EQ(statusText(), "Sample 'Saved' saved successfully.");
    EXPECT_EQ(fileMessage(), "Saving sample... completed.");
    TesselSample wav;
    ASSERT_EQ(wav.loadFile(scratch.file("out.wav")), kFileLoaded);
    expectSameAudio(wav);

    dialogs.answerPaths({scratch.file("out.zip")});
    clickPage(kSaveX, kSaveY);
    TesselSample zipped;
    ASSERT_EQ(zipped.loadFile(scratch.file("out.zip")), kFileLoaded);
    EXPECT_EQ(markup(zipped, 0), markup(slot(0), 0));
    expectSameAudio(zipped);

    dialogs.answerCancel();
    clickPage(kSaveX, kSaveY);
    EXPECT_EQ(statusText(), "Saving cancelled.");
}

TEST_F(SamplePageTest, TheBrowserListsAFileMadeAfterThePageOpenedWithItsNameAndDateWhole)
{
    ASSERT_TRUE(outside_tools::have({"sox"}));
    make("tone.wav", "sox -n -r 22050 -b 16 -c 1 tone.wav synth 0.1 sine 440");
    openPage();
    for (int i = 0; i < 100 && page()->fileBox().firstScanPending(); ++i)
        idle();
    // Made while the page shows its sample list, seconds after its browser listed the folder.
    make("saw_220_st.wav", "sox -n -r 22050 -b 16 -c 1 saw_220_st.wav synth 0.1 sawtooth 220");
    press(kWinReturn);
    ASSERT_EQ(page()->listMode(), TesselSampleListUI::kBrowserMode);
    TesselListBox& list = page()->fileBox().getList();
    int32_t saw = -1;
    for (int32_t i = 0; i < list.entryCount(); ++i)
        if (list.entry(i).name == "saw_220_st.wav")
            saw = i;
    ASSERT_GE(saw, 0);
    ASSERT_LT(saw + 1, list.entryCount());   // a row below it, drawn after it
    ASSERT_NE(list.getSelection(), saw);
    chooseInBrowser("tone.wav");
    idle(2);
    ASSERT_TRUE(makeFolders("screenshots"));
    ASSERT_TRUE(editor->frame2()->getWindow()->image().writePng("screenshots/sample_browser.png"));

    // Window points of the list: the page stands at the side pages' corner.
    const Image& shown = editor->frame2()->getWindow()->image();
    const CRect box = *list.getRect();
    const int32_t left = kPageLeft + box.left;
    const int32_t right = kPageLeft + box.right - TesselListBox::kScrollbarWidth;
    const Colour well = control_skin::kListBackground.toPlatform();
    const auto inkOnLine = [&](int32_t y, int32_t from, int32_t to) {
        int count = 0;
        for (int32_t x = from; x < to; ++x)
            count += shown.pixelAt(x, y) == well ? 0 : 1;
        return count;
    };
    // The name has no descenders: its lowest line holds the two underscores only.
    const int32_t top = kPageTop + box.top + (saw - list.getTop()) * TesselListBox::kRowHeight;
    EXPECT_GE(inkOnLine(top + 8, left + 11, left + 11 + 14 * 8), 8);
    // The detail ends with the minutes; nothing of it reaches the scroll bar,
    // and its last column is drawn.
    const std::string& detail = list.entry(saw).detail;
    ASSERT_EQ(detail.substr(detail.size() - 6, 1), " ");
    int32_t lastInk = 0;
    for (int32_t y = top + 1; y < top + 8; ++y)
        for (int32_t x = left; x < right; ++x)
            if (!(shown.pixelAt(x, y) == well))
                lastInk = std::max(lastInk, x);
    EXPECT_GT(lastInk, left + 200);
    EXPECT_LT(lastInk, right - 1);
}

} // namespace
