// The file box on a scratch folder: exact entries (names, icons, colours,
// details, order) of a folder, a module, an instrument file and an archive;
// what Enter returns or enters; the keyboard's preview through the real
// engine; the path line, clicks, wheel and refusals; and a picture.
#include "file_box_fixture.h"

#include "gui/controls/control_skin.h"
#include "pagekit/list_entries.h"
#include "pagekit/file_box_paths.h"
#include "platform/system/folders.h"

#include <cstdio>
#include <vector>

namespace {

struct Entry {
    std::string name;
    int icon;
    uint32_t colour;
    std::string detail;
};

constexpr uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080;
const std::string kWhen = " 09/07/21 08:05";

std::vector<Entry> entriesOf(TesselFileBox& box)
{
    std::vector<Entry> out;
    TesselListBox& list = box.getList();
    for (int32_t i = 0; i < list.entryCount(); ++i) {
        const TesselListItem& item = list.entry(i);
        out.push_back({item.name, item.icon, item.colour, item.detail});
    }
    return out;
}

std::vector<std::string> namesOf(TesselFileBox& box)
{
    std::vector<std::string> out;
    for (const Entry& e : entriesOf(box))
        out.push_back(e.name);
    return out;
}

void expectEntries(TesselFileBox& box, const std::vector<Entry>& expected)
{
    const std::vector<Entry> got = entriesOf(box);
    ASSERT_EQ(got.size(), expected.size()) << ::testing::PrintToString(namesOf(box));
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, expected[i].name) << "entry " << i;
        EXPECT_EQ(got[i].icon, expected[i].icon) << got[i].name;
        EXPECT_EQ(got[i].colour, expected[i].colour) << got[i].name;
        EXPECT_EQ(got[i].detail, expected[i].detail) << got[i].name;
    }
}

std::string sized(unsigned long long size, const char* kind)
{
    char text[64];
    std::snprintf(text, sizeof text, "%10llu %-7s", size, kind);
    return text + kWhen;
}

const char* press(TesselFileBox& box, TesselKeyEvent key)
{
    return box.onFileKey(key);
}

// Selects the entry by name with the list's own keys and presses Enter.
const char* enterOn(TesselFileBox& box, const std::string& name)
{
    const std::vector<std::string> names = namesOf(box);
    const auto at = std::find(names.begin(), names.end(), name);
    EXPECT_NE(at, names.end()) << name;
    if (box.getFocusPart() == 0)
        press(box, namedKey(kVkDown));
    press(box, namedKey(10));   // Home
    for (auto i = names.begin(); i != at; ++i)
        press(box, namedKey(kVkDown));
    return press(box, namedKey(kVkEnter));
}

} // namespace

TEST(FileBoxPaths, CombineCanonicalises)
{
    struct Case {
        const char* folder;
        const char* name;
        const char* combined;
    };
    const Case cases[] = {
        {"/tmp/a", "b", "/tmp/a/b"},        {"/tmp/a", "..", "/tmp"},       {"/tmp", "..", "/"},
        {"/", "..", "/"},                   {"/", "../../x", "/x"},         {"/tmp/a", "/", "/"},
        {"/tmp/a", "/usr//lib/", "/usr/lib"}, {"/tmp/a/song.zip", "..", "/tmp/a"}, {"/tmp", "./b/./c/../d", "/tmp/b/d"},
        {"/", "tmp", "/tmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(file_box_paths::combine(c.folder, c.name), c.combined) << c.folder << " + " << c.name;
    EXPECT_EQ(file_box_paths::withSlash("/"), "/");
    EXPECT_EQ(file_box_paths::withSlash("/tmp"), "/tmp/");
    EXPECT_EQ(file_box_paths::canonical(""), "");
}

TEST_F(FileBoxTest, FolderListsFoldersThenFilesWithTheirKindsAndDates)
{
    buildFolder();
    const std::string folderDetail = "           Folder " + kWhen;
    auto size = [&](const char* name) { return fileSize(scratch.file(name).c_str()); };
    const std::vector<Entry> expected{
        {"/", 0, kWhite, ""},
        {"..", 0, kWhite, ""},
        {"alpha", 1, kWhite, folderDetail},
        {"Beta", 1, kWhite, folderDetail},
        {"linkdir", 1, kWhite, folderDetail},
        {"apple.TXT", 0, kGrey, sized(16, "")},
        {"drum.wav", 3, kWhite, sized(size("drum.wav"), "Sample")},
        {"link.wav", 3, kWhite, sized(size("drum.wav"), "Sample")},
        {"pack.zip", 4, kWhite, sized(size("pack.zip"), "Archive")},
        {"song.zip", 2, kWhite, sized(size("song.zip"), "Module")},
        {"strings.zip", 6, kWhite, sized(size("strings.zip"), "Instr.")},
        {"tune.it", 5, kWhite, sized(15, "Module")},
        {"Zeta.txt", 0, kGrey, sized(4, "")},
    };
    for (int32_t mode : {TesselFileBox::kSampleBrowser, TesselFileBox::kInstrumentBrowser}) {
        auto b = box(scratch.path(), mode);
        settle(*b);
        expectEntries(*b, expected);
        EXPECT_EQ(b->getPathBox().name, scratch.path() + "/");
        EXPECT_EQ(b->folder(), scratch.path() + "/");
        EXPECT_EQ(b->getList().getSelection(), 0);
        EXPECT_TRUE(b->getList().getMessage().empty());
    }
}

TEST_F(FileBoxTest, RootListsNoParentAndDotDotGoesUp)
{
    buildFolder();
    auto b = box(scratch.file("alpha"));
    settle(*b);
    EXPECT_EQ(namesOf(*b), (std::vector<std::string>{"/", "..", "bad.xm"}));
    EXPECT_EQ(enterOn(*b, ".."), nullptr);
    EXPECT_EQ(b->listedPath(), scratch.path());
    EXPECT_EQ(b->getFocusPart(), 1);
    EXPECT_EQ(enterOn(*b, "/"), nullptr);
    EXPECT_EQ(b->listedPath(), "/");
    EXPECT_EQ(b->getPathBox().name, "/");
    const std::vector<std::string> names = namesOf(*b);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(std::count(names.begin(), names.end(), "/"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), ".."), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "tmp"), 1);
    EXPECT_TRUE(b->scanFolder("/..", false)) << "the root's parent is the root";
    EXPECT_EQ(b->listedPath(), "/");
}

TEST_F(FileBoxTest, EnterReturnsWhatTheBrowserLoadsAndScansTheRest)
{
    buildFolder();
    auto samples = box(scratch.path());
    settle(*samples);
    const char* chosen = enterOn(*samples, "drum.wav");
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(std::string(chosen), scratch.file("drum.wav"));

    auto instruments = box(scratch.path(), TesselFileBox::kInstrumentBrowser);
    settle(*instruments);
    const std::vector<std::string> before = namesOf(*instruments);
    EXPECT_EQ(enterOn(*instruments, "drum.wav"), nullptr);
    EXPECT_EQ(namesOf(*instruments), before) << "a WAV lists nothing in an instrument browser";
    EXPECT_EQ(instruments->listedPath(), scratch.path());
    chosen = enterOn(*instruments, "strings.zip");
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(std::string(chosen), scratch.file("strings.zip"));

    // A module that fails to load leaves exactly "/" and "..".
    EXPECT_TRUE(samples->scanFolder(scratch.file("alpha/bad.xm"), false));
    EXPECT_EQ(namesOf(*samples), (std::vector<std::string>{"/", ".."}));
    EXPECT_EQ(samples->getPathBox().name, scratch.file("alpha/bad.xm"));
    EXPECT_EQ(samples->folder(), scratch.file("alpha") + "/");
    EXPECT_EQ(enterOn(*samples, ".."), nullptr);
    EXPECT_EQ(samples->listedPath(), scratch.file("alpha"));

    // Paths that are nothing to list leave the list as it was.
    const std::vector<std::string> alpha = namesOf(*samples);
    EXPECT_FALSE(samples->scanFolder(scratch.file("pipe.zip"), true));
    EXPECT_FALSE(samples->scanFolder(scratch.file("missing"), true));
    EXPECT_FALSE(samples->scanFolder("", true));
    EXPECT_EQ(namesOf(*samples), alpha);
}

TEST_F(FileBoxTest, ModuleListsItsSlotsEnterNamesOneAndKeysPreviewIt)
{
    buildFolder();
    auto b = box(scratch.path());
    settle(*b);
    EXPECT_EQ(enterOn(*b, "song.zip"), nullptr);
    TesselModule* preview = b->previewModule();
    ASSERT_NE(preview, nullptr);
    expectEntries(*b, {{"/", 0, kWhite, ""},
                       {"..", 0, kWhite, ""},
                       {"01: Kick", 3, kWhite, sampleListEntry(preview->samples[0]).detail},
                       {"03: Snare", 3, kWhite, sampleListEntry(preview->samples[2]).detail}});
    EXPECT_GE(preview->samples[2].length, 44100);

    const char* chosen = enterOn(*b, "03: Snare");
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(std::string(chosen), scratch.file("song.zip") + "::03");

    // The selection's own slot plays: instrument 3, reset to play sample 3.
    ASSERT_EQ(b->getPreviewInstrument(), &preview->instruments[2]);
    const int note = 12 * editor.currentOctave;
    EXPECT_EQ(press(*b, charKey('z')), nullptr);
    EXPECT_EQ(engine->heldNotes[0][note], TesselChannelVoiceList::kCount);
    const TesselVoiceListNode* head = engine->voiceLists[TesselChannelVoiceList::kPreview].head;
    ASSERT_TRUE(head && head->voice);
    EXPECT_EQ(head->voice->sample, &preview->samples[2]);
    TesselKeyEvent release = charKey('z');
    release.keyUp = 1;
    press(*b, release);
    EXPECT_EQ(engine->heldNotes[0][note], 0);

    // An instrument browser lists the module's instruments.
    auto instruments = box(scratch.file("song.zip"), TesselFileBox::kInstrumentBrowser);
    EXPECT_EQ(namesOf(*instruments), (std::vector<std::string>{"/", "..", "01: Drums"}));
    EXPECT_EQ(std::string(enterOn(*instruments, "01: Drums")), scratch.file("song.zip") + "::01");
}

TEST_F(FileBoxTest, ArchiveAndInstrumentFileListTheirInsides)
{
    buildFolder();
    auto b = box(scratch.file("pack.zip"));
    ASSERT_EQ(namesOf(*b), (std::vector<std::string>{"/", "..", "kick.wav", "readme.txt"}));
    const std::vector<Entry> got = entriesOf(*b);
    EXPECT_EQ(got[2].detail, "      1234 Sample  05/03/09 14:07");
    EXPECT_EQ(got[2].icon, 3);
    EXPECT_EQ(got[2].colour, kWhite);
    EXPECT_EQ(got[3].detail.substr(0, 19), "         4" + std::string(9, ' '));
    EXPECT_EQ(got[3].icon, 0);
    EXPECT_EQ(got[3].colour, kGrey);
    EXPECT_EQ(std::string(enterOn(*b, "kick.wav")), scratch.file("pack.zip") + "::kick.wav");

    EXPECT_TRUE(b->scanFolder(scratch.file("strings.zip"), false));
    EXPECT_EQ(namesOf(*b), (std::vector<std::string>{"/", "..", "01: Kick"}));
    EXPECT_EQ(std::string(enterOn(*b, "01: Kick")), scratch.file("strings.zip") + "::01");
}

TEST_F(FileBoxTest, NoteKeyOnAFileLoadsItsPreviewIntoSlotOne)
{
    buildFolder();
    auto b = box(scratch.path());
    settle(*b);
    enterOn(*b, "Zeta.txt");   // scanned: nothing to list
    const std::vector<std::string> names = namesOf(*b);
    const int32_t drum = static_cast<int32_t>(std::find(names.begin(), names.end(), "drum.wav") - names.begin());
    b->getList().setSelection(drum);
    EXPECT_EQ(press(*b, charKey('x')), nullptr);
    TesselModule* preview = b->previewModule();
    EXPECT_GE(preview->samples[0].length, 44100);
    EXPECT_EQ(b->getPreviewInstrument(), &preview->instruments[0]);
    EXPECT_EQ(b->getList().entry(drum).detail, sampleListEntry(preview->samples[0]).detail);
    EXPECT_EQ(b->getList().entry(drum).name, "drum.wav");
    EXPECT_EQ(platform::statusText(), "");
    const TesselVoiceListNode* head = engine->voiceLists[TesselChannelVoiceList::kPreview].head;
    ASSERT_TRUE(head && head->voice);
    EXPECT_EQ(head->voice->sample, &preview->samples[0]);

    // Moving on clears it; a note key on a text file plays nothing.
    press(*b, namedKey(kVkDown));
    EXPECT_EQ(b->getPreviewInstrument(), nullptr);
    b->getList().setSelection(static_cast<int32_t>(names.size()) - 1);
    press(*b, charKey('c'));
    EXPECT_EQ(b->getPreviewInstrument(), nullptr);
}

TEST_F(FileBoxTest, PathLineTypesAFolderAndRefusesOneTooLong)
{
    buildFolder();
    auto b = box(scratch.path());
    settle(*b);
    press(*b, namedKey(kVkDown));
    EXPECT_EQ(b->getFocusPart(), 1);
    press(*b, namedKey(kVkUp));
    EXPECT_EQ(b->getFocusPart(), 0) << "Up on the first entry";
    press(*b, namedKey(9));   // End
    for (char c : std::string("Beta/../alpha"))
        press(*b, printableKey(static_cast<uint8_t>(c)));
    EXPECT_EQ(press(*b, namedKey(4)), nullptr);   // the main keyboard's Return
    EXPECT_EQ(b->listedPath(), scratch.file("alpha"));

    // A folder whose path would not fit the path line is refused whole.
    const std::string longName(255, 'L');
    ASSERT_EQ(mkdir(scratch.file(longName).c_str(), 0700), 0);
    b->scanFolder(scratch.path(), false);
    const std::vector<std::string> before = namesOf(*b);
    EXPECT_EQ(enterOn(*b, longName), nullptr);
    EXPECT_EQ(namesOf(*b), before);
    EXPECT_EQ(b->listedPath(), scratch.path());
    EXPECT_EQ(platform::statusText(), "Path too long.");

    // Sizes past 2 GiB print unsigned.
    const std::string huge = scratch.file("Beta/huge.bin");
    scratch.write("Beta/huge.bin", "");
    ASSERT_EQ(truncate(huge.c_str(), 3221225472LL), 0);
    b->scanFolder(scratch.file("Beta"), false);
    ASSERT_EQ(namesOf(*b).back(), "huge.bin");
    EXPECT_EQ(entriesOf(*b).back().detail.substr(0, 11), "3221225472 ");
}

TEST_F(FileBoxTest, ClicksWheelAndDoubleClicks)
{
    buildFolder();
    auto b = box(scratch.path());
    settle(*b);
    constexpr int32_t kLeft = 1;
    const CRect list = *b->getList().getRect();
    // Row 2 (alpha) by a click, then down one by the wheel.
    b->handleClick(kLeft | TesselFileBox::kFreshPress, CPoint(list.left + 50, list.top + 2 * 8 + 3));
    EXPECT_EQ(b->getList().getSelection(), 2);
    EXPECT_EQ(b->getFocusPart(), 3);
    b->handleClick(0, CPoint(list.left + 50, list.top + 2 * 8 + 3));
    b->onWheel(CPoint(list.left + 50, list.top + 20), -1.0f);
    EXPECT_EQ(b->getList().getSelection(), 3);
    b->onWheel(CPoint(list.left + 50, list.top - 30), -1.0f);
    EXPECT_EQ(b->getList().getSelection(), 3) << "outside the list";
    // A double click on drum.wav (row 6) returns it.
    const char* chosen = b->handleClick(kLeft | TesselFileBox::kFreshPress | TesselFileBox::kDoubleClick,
                                        CPoint(list.left + 50, list.top + 6 * 8 + 3));
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(std::string(chosen), scratch.file("drum.wav"));
    // A click on the path line moves the focus there.
    b->handleClick(0, CPoint(list.left + 50, list.top + 6 * 8 + 3));
    b->handleClick(kLeft | TesselFileBox::kFreshPress, CPoint(kBoxRect.left + 20, kBoxRect.top + 3));
    EXPECT_EQ(b->getFocusPart(), 0);
    EXPECT_TRUE(b->hitTest(CPoint(kBoxRect.left + 20, kBoxRect.top + 3)));
    EXPECT_FALSE(b->hitTest(CPoint(kBoxRect.right + 40, kBoxRect.top + 40)));
}

TEST_F(FileBoxTest, PictureOfABrowserInAFolder)
{
    buildFolder();
    TesselFileBox b(CRect(10, 20, 560, 220), scratch.path(), &editor, TesselFileBox::kSampleBrowser);
    settle(b);
    b.setColour(tesselRgba(127, 143, 158));
    press(b, namedKey(kVkDown));
    press(b, namedKey(kVkDown));
    press(b, namedKey(kVkDown));
    COffscreenContext page{nullptr, 570, 230, CColor{38, 40, 45, 0}};
    EXPECT_TRUE(b.hasChanged());
    b.drawBrowser(&page, true);
    EXPECT_FALSE(b.hasChanged()) << "drawn as it is";
    const CRect list = *b.getList().getRect();
    // The focused selection (row 2) in the highlight colour, others on the well.
    EXPECT_EQ(page.getImage()->pixelAt(list.left + 300, list.top + 2 * 8 + 4),
              control_skin::kHighlight.toPlatform());
    EXPECT_EQ(page.getImage()->pixelAt(list.left + 300, list.top + 3 * 8 + 4),
              control_skin::kListBackground.toPlatform());
    COffscreenContext large{nullptr, 1140, 460, kBlackCColor};
    page.transfertStretched(&large, CRect(0, 0, 1140, 460), CRect(0, 0, 570, 230));
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(large.getImage()->writePng("screenshots/file_box.png"));
}
