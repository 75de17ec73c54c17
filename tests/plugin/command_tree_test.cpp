#include "shell/command_scheme.h"
#include "shell/commands_tables.h"
#include "shell/command_ids.h"

#include <gtest/gtest.h>

namespace {

class CommandTree : public ::testing::Test {
protected:
    void SetUp() override { defaultScheme().resetToDefaults(); }
    void TearDown() override
    {
        defaultScheme().resetToDefaults();
        clashList().clear();
    }
    TesselCommandScheme& scheme = defaultScheme();

    const TesselCommand& at(const std::string& path)
    {
        const TesselCommand* c = scheme.findByPath(path);
        EXPECT_NE(c, nullptr) << path;
        return c ? *c : noneCommand();
    }
};

} // namespace

TEST_F(CommandTree, ContextCounts)
{
    EXPECT_EQ(scheme.schemeName(), "Default");
    EXPECT_EQ(scheme.label, "Default");
    EXPECT_EQ(scheme.id, cmd::kGlobal);
    EXPECT_EQ(scheme.name, "Global");
    EXPECT_EQ(scheme.path, "");
    EXPECT_EQ(scheme.children.size(), 24u);
    EXPECT_EQ(at("PatternEditor").children.size(), 35u);
    EXPECT_EQ(at("PatternEditor.Pattern").children.size(), 33u);
    EXPECT_EQ(at("PatternEditor.Pattern.NoteEntry").children.size(), 35u);
    EXPECT_EQ(at("SampleList").children.size(), 2u);
    EXPECT_EQ(at("InfoPage").children.size(), 4u);
    EXPECT_EQ(at("InstrumentList").children.size(), 3u);
    EXPECT_EQ(at("OrderList").children.size(), 0u);
    EXPECT_EQ(at("Preferences").children.size(), 0u);

    std::vector<std::string> paths;
    scheme.collectPaths(paths, true);
    EXPECT_EQ(paths.size(), 24u + 35 + 33 + 35 + 2 + 4 + 3);
    EXPECT_EQ(paths[5], "PatternEditor");
    EXPECT_EQ(paths[6], "PatternEditor.Pattern");
    EXPECT_EQ(paths[7], "PatternEditor.Pattern.NoteEntry");
    EXPECT_EQ(paths[8], "PatternEditor.Pattern.NoteEntry.C-0");
}

TEST_F(CommandTree, DefaultRows)
{
    const TesselCommand& note = at("PatternEditor.Pattern.NoteEntry.C#1");
    EXPECT_EQ(note.id, 99);
    EXPECT_EQ(note.label, "C#1");
    EXPECT_EQ(note.flags, 0xa01u);
    EXPECT_EQ(note.description, "No description");
    ASSERT_EQ(note.shortcuts.size(), 1u);
    EXPECT_EQ(note.shortcuts[0].key.character, '2');
    EXPECT_EQ(note.shortcuts[0].path, "PatternEditor.Pattern.NoteEntry.C#1");
    EXPECT_EQ(at("PatternEditor.Pattern.NoteEntry.E-2").id, 114);
    EXPECT_EQ(at("PatternEditor.Pattern.NoteEntry.RowAudition").flags, 0x800u);

    const TesselCommand& overwrite = at("PatternEditor.Pattern.Overwite");
    EXPECT_EQ(overwrite.id, 20);
    EXPECT_EQ(overwrite.label, "&Overwrite");
    TesselCommandDef def{cmd::pattern::kSelectBlock, "SelectBlock", "Select block (minor/major &highlight,etc.)", "", 0};
    EXPECT_EQ(def.plainLabel(), "Select block (minor/major highlight,etc.)");
    EXPECT_EQ(at("InstrumentList.SwapInPatterns").label, "Swap Instruments (list & patterns)");
    EXPECT_EQ(at("PatternEditor.MuteChannel8").id, 131);
    EXPECT_EQ(at("PatternEditor.MuteChannel8").label, "Toggle Channel 8");
    EXPECT_EQ(at("Cut").flags, 0x51u);
    EXPECT_EQ(scheme.children[11].name, "NewModule");
    EXPECT_EQ(scheme.children[23].name, "BaseOctaveUp");

    const TesselCommand& load = at("LoadModule");
    ASSERT_EQ(load.shortcuts.size(), 3u);
    EXPECT_EQ(load.shortcuts[0].key.toString(), "Ctrl-o");
    EXPECT_EQ(load.shortcuts[1].key.toString(), "Ctrl-l");
    EXPECT_EQ(load.shortcuts[2].key.toString(), "F9");
    EXPECT_EQ(load.shortcuts[0].flag, 1u);
    EXPECT_EQ(load.shortcuts[2].flag, 0u);

    const TesselCommand& edit = at("PatternEditor.Pattern.CycleEditMode");
    ASSERT_EQ(edit.shortcuts.size(), 3u);
    EXPECT_EQ(edit.shortcuts[2].key.printable, 180);
    EXPECT_EQ(at("PatternEditor.Pattern.Clear").shortcuts[0].key.toString(), "Alt-x x 3");
}

// Key schemes store commands by path and the usage log records their ids, so
// neither may ever change: every context's commands, in tree order, with the
// ids they were first given.
TEST_F(CommandTree, EveryCommandKeepsItsStoredNameAndId)
{
    constexpr const char* kStored =
        ": HelpContext=15 HelpKeyboard=16 Copy=17 Cut=18 Paste=19 PatternEditor=25 SampleList=26"
        " InstrumentList=27 InfoPage=28 OrderList=29 Preferences=30 NewModule=2 LoadModule=3 SaveModule=4"
        " SaveModuleAs=5 PlaySong=6 RebuildSync=12 PlayPattern=7 PlayPatternFromCursor=11"
        " PlayFromCursor=8 Stop=9 Reset=10 BaseOctaveDown=13 BaseOctaveUp=14\n"
        "PatternEditor: Pattern=32 PatternOptions=33 PatternOptionsApply=34 Mute=35 Solo=36"
        " MuteChannel1=124 MuteChannel2=125 MuteChannel3=126 MuteChannel4=127 MuteChannel5=128"
        " MuteChannel6=129 MuteChannel7=130 MuteChannel8=131 Undo=37 UndoCheckpoint=38 PatternOverview=39"
        " ToggleInfoBar=122 AlternateZoomMode=121 InstrumentUp=40 InstrumentDown=41"
        " PickUpInstrumentNote=42 CentraliseCursor=43 FollowPattern=44 CursorGuide=45 NextEmptyPattern=46"
        " NextPattern=47 PreviousPattern=48 NextOrder=49 PreviousOrder=50 InstrumentMenu=51"
        " BaseOctaveMenu=52 MidiInMode=53 MergeWithHost=282 InsertInSong=291 DeleteFromSong=292\n"
        "PatternEditor.Pattern: NoteEntry=78 Mix=22 Overwite=20 OverwiteHighlights=21 Clear=23"
        " PickUpNote=64 TransposeUp=54 TransposeDown=55 TransposeUpOctave=56 TransposeDownOctave=57"
        " SelectChannel=58 SelectAll=123 SelectionStart=59 SelectionEnd=60 SelectBlock=61 SelectNone=62"
        " SelectionSwap=63 SetInstrument=65 SetVolumePan=67 ClearOrphanedVolumePan=70 AmplifyVolume=71"
        " RepeatAmplifyVolume=72 InterpolateVolumePan=68 ClearVolumePan=69 InterpolateEffects=73"
        " ClearEffects=74 DoubleSelection=75 HalveSelection=76 CycleEditMode=77 GoToInstrument=66"
        " EditAnnotation=281 ApplyFormula=287 ClearFormula=289\n"
        "PatternEditor.Pattern.NoteEntry: C-0=86 C#0=87 D-0=88 D#0=89 E-0=90 F-0=91 F#0=92 G-0=93 G#0=94"
        " A-0=95 A#0=96 B-0=97 C-1=98 C#1=99 D-1=100 D#1=101 E-1=102 F-1=103 F#1=104 G-1=105 G#1=106"
        " A-1=107 A#1=108 B-1=109 C-2=110 C#2=111 D-2=112 D#2=113 E-2=114 NoteClear=115 NoteMask=116"
        " NoteOff=117 NoteCut=118 NoteAudition=119 RowAudition=120\n"
        "SampleList: Delete=24 Normalise=80\n"
        "InfoPage: GoToPattern=83 Mute=35 SkipBackward=84 SkipForward=85\n"
        "InstrumentList: Delete=24 SwapInList=81 SwapInPatterns=82\n";
    std::string listing;
    for (const char* context : {cmd::root::kContext, cmd::pattern_editor::kContext, cmd::pattern::kContext,
                                cmd::note_entry::kContext, cmd::sample_list::kContext, cmd::info_page::kContext,
                                cmd::instrument_list::kContext}) {
        listing += std::string(context) + ":";
        for (const TesselCommand& command : at(context).children)
            listing += " " + command.name + "=" + std::to_string(command.id);
        listing += "\n";
    }
    EXPECT_EQ(listing, kStored);
}

TEST_F(CommandTree, DefaultShortcutTable)
{
    EXPECT_EQ(defaultShortcutTable().size(), 144u);
    int flagZero = 0;
    for (const TesselShortcutDef& row : defaultShortcutTable()) {
        if (row.flag == 0) {
            ++flagZero;
            EXPECT_EQ(row.key.modifiers, 0) << row.path;
            EXPECT_GE(row.key.virtualKey, kVkF1) << row.path;
        }
    }
    EXPECT_EQ(flagZero, 13);
    // Every row binds except the one naming no command.
    size_t bound = 0;
    std::vector<std::string> paths;
    scheme.collectPaths(paths, true);
    for (const std::string& p : paths)
        bound += scheme.findByPath(p)->shortcuts.size();
    EXPECT_EQ(bound, 143u);
    EXPECT_EQ(scheme.findByPath("PatternEditor.Pattern.PatternImage"), nullptr);
}

TEST_F(CommandTree, ShortcutEditing)
{
    TesselCommand& mix = *scheme.findByPath("PatternEditor.Pattern.Mix");
    mix.addShortcut(charKey('m', kModCtrl));
    ASSERT_EQ(mix.shortcuts.size(), 2u);
    EXPECT_EQ(mix.shortcuts[1].flag, 1u);
    EXPECT_EQ(mix.shortcuts[1].path, "PatternEditor.Pattern.Mix");
    mix.setShortcut(0, charKey('q', kModCtrl));
    EXPECT_EQ(mix.shortcuts[0].key.character, 'q');
    mix.setShortcut(99, charKey('w', kModCtrl));
    EXPECT_EQ(mix.shortcuts.size(), 3u);
    mix.removeShortcut(0);
    mix.removeShortcut(99);
    ASSERT_EQ(mix.shortcuts.size(), 2u);
    EXPECT_EQ(mix.shortcuts[0].key.character, 'm');

    scheme.findByPath("PatternEditor")->clearShortcuts();
    EXPECT_TRUE(scheme.findByPath("PatternEditor.Pattern.NoteEntry.C-0")->shortcuts.empty());
    EXPECT_FALSE(scheme.findByPath("SampleList.Delete")->shortcuts.empty());
}

TEST_F(CommandTree, ShortcutsKeepTheirPathWhenChildrenMove)
{
    // Growing the root moves every child; bindings still name their commands.
    const TesselCommandDef extra[] = {{500, "Extra1", "", "", 0}, {501, "Extra2", "", "", 0}};
    for (int i = 0; i < 20; ++i)
        scheme.addChildren(extra, 2);
    EXPECT_EQ(scheme.findByPath("PatternEditor.Pattern.Mix")->shortcuts[0].path, "PatternEditor.Pattern.Mix");
    EXPECT_EQ(scheme.findByPath("Extra2")->path, "Extra2");
}

TEST_F(CommandTree, ShortcutKeyForMenus)
{
    EXPECT_EQ(scheme.shortcutKey("", cmd::root::kPlaySong).toString(), "F5");
    EXPECT_TRUE(scheme.shortcutKey("", 31).isNone());   // no command has id 31
    EXPECT_TRUE(scheme.shortcutKey("PatternEditor", cmd::pattern_editor::kMergeWithHost).isNone());   // no key bound
    EXPECT_TRUE(scheme.shortcutKey("NoSuchContext", cmd::root::kPlaySong).isNone());
    EXPECT_EQ(scheme.shortcutKey("PatternEditor.Pattern", cmd::pattern::kMix).toString(), "Alt-m");
}

TEST(CommandGlobals, NoneAndIgnored)
{
    EXPECT_EQ(noneCommand().id, cmd::kNone);
    EXPECT_EQ(noneCommand().name, "None");
    EXPECT_EQ(noneCommand().label, "<None>");
    EXPECT_EQ(ignoredCommand().id, cmd::kIgnored);
    EXPECT_EQ(ignoredCommand().label, "<Ignored>");
}
