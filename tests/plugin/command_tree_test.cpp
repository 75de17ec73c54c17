#include "shell/command_scheme.h"
#include "shell/commands_tables.h"

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
    EXPECT_EQ(scheme.id, 1);
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
    TesselCommandDef def{61, "SelectBlock", "Select block (minor/major &highlight,etc.)", "", 0};
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
    EXPECT_EQ(scheme.shortcutKey("", 6).toString(), "F5");
    EXPECT_TRUE(scheme.shortcutKey("", 31).isNone());
    EXPECT_TRUE(scheme.shortcutKey("PatternEditor", 282).isNone());   // no key bound
    EXPECT_TRUE(scheme.shortcutKey("NoSuchContext", 6).isNone());
    EXPECT_EQ(scheme.shortcutKey("PatternEditor.Pattern", 22).toString(), "Alt-m");
}

TEST(CommandGlobals, NoneAndIgnored)
{
    EXPECT_EQ(noneCommand().id, 0);
    EXPECT_EQ(noneCommand().name, "None");
    EXPECT_EQ(noneCommand().label, "<None>");
    EXPECT_EQ(ignoredCommand().id, -1);
    EXPECT_EQ(ignoredCommand().label, "<Ignored>");
}
