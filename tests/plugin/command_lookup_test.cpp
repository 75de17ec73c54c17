#include "shell/command_scheme.h"
#include "shell/commands_usage.h"
#include "shell/command_ids.h"

#include <gtest/gtest.h>

namespace {

struct RecordingSink : TesselUsageSink {
    std::vector<std::pair<int, int32_t>> commands;
    void logCommand(int action, int32_t value) override { commands.emplace_back(action, value); }
    void logPreferences(const TesselPreferences&) override {}
};

class CommandLookup : public ::testing::Test {
protected:
    void SetUp() override { defaultScheme().resetToDefaults(); }
    void TearDown() override
    {
        setUsageSink(nullptr);
        defaultScheme().resetToDefaults();
        clashList().clear();
    }
    const TesselCommand& find(const std::string& context, const TesselKeyEvent& key, bool acceptRelease = false)
    {
        return scheme.findInContext(context, key, acceptRelease);
    }
    TesselCommandScheme& scheme = defaultScheme();
};

constexpr TesselKeyEvent kF8 = namedKey(kVkF1 + 7);

TesselKeyEvent withCount(TesselKeyEvent key, int count)
{
    key.pressCount = static_cast<int16_t>(count);
    return key;
}

} // namespace

TEST_F(CommandLookup, RepeatedPressesOfF8)
{
    EXPECT_EQ(find("", kF8).name, "Stop");
    EXPECT_EQ(find("", withCount(kF8, 1)).name, "Reset");
    EXPECT_EQ(find("", withCount(kF8, 2)).name, "Stop");
    // From inside a context the root still answers.
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", withCount(kF8, 1)).name, "Reset");
}

TEST_F(CommandLookup, PrintableCharacterDecides)
{
    const TesselKeyEvent shiftThree{'3', 0, kModShift, {0, 0}, '#', 0, 0};
    EXPECT_EQ(find("PatternEditor", shiftThree).name, "PatternOverview");
    EXPECT_EQ(scheme.findIdInContext("PatternEditor", shiftThree, false), cmd::pattern_editor::kPatternOverview);
    // Without Shift the 3 is the note D#1 in note entry.
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", charKey('3')).name, "D#1");
}

TEST_F(CommandLookup, NoteEntryAndRootFallback)
{
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", charKey('z')).name, "C-0");
    const TesselCommand& f5 = find("PatternEditor.Pattern.NoteEntry", namedKey(kVkF1 + 4));
    EXPECT_EQ(f5.name, "InfoPage");
    EXPECT_EQ(f5.id, cmd::root::kInfoPage);
    // Enclosing contexts answer after the root: Alt-m is Mix two levels up.
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", charKey('m', kModAlt)).name, "Mix");
    // F2 is PatternOptions in the pattern editor, the page switch elsewhere.
    EXPECT_EQ(find("PatternEditor.Pattern", namedKey(kVkF1 + 1)).path, "PatternEditor");
    EXPECT_EQ(find("SampleList", namedKey(kVkF1 + 1)).path, "PatternEditor");
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", namedKey(kVkF1 + 1)).path, "PatternEditor");
    EXPECT_EQ(scheme.findByPath("PatternEditor")->findByKey(namedKey(kVkF1 + 1), false).name, "PatternOptions");
    EXPECT_EQ(find("No.Such.Context", charKey('c', kModAlt)).name, "Copy");
    EXPECT_EQ(find("", charKey('z')).id, cmd::kNone);
}

TEST_F(CommandLookup, ReleasesAndUnboundKeys)
{
    TesselKeyEvent up = charKey('z');
    up.keyUp = 1;
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", up).id, cmd::kNone);
    EXPECT_EQ(&find("PatternEditor.Pattern.NoteEntry", up), &noneCommand());
    EXPECT_EQ(find("PatternEditor.Pattern.NoteEntry", up, true).name, "C-0");
    EXPECT_EQ(scheme.idForKey(charKey('~', kModCtrl | kModAlt), false), cmd::kNone);
}

TEST_F(CommandLookup, IdLookupFallsBackThroughContexts)
{
    const char* noteEntry = cmd::note_entry::kContext;
    EXPECT_EQ(scheme.findByIdInContext(noteEntry, cmd::pattern::kMix).path, "PatternEditor.Pattern.Mix");
    EXPECT_EQ(scheme.findByIdInContext(noteEntry, cmd::root::kPlaySong).name, "PlaySong");
    // One id, a command in each context.
    static_assert(cmd::info_page::kMute == cmd::pattern_editor::kMute);
    EXPECT_EQ(scheme.findByIdInContext("InfoPage", cmd::info_page::kMute).path, "InfoPage.Mute");
    EXPECT_EQ(scheme.findByIdInContext("PatternEditor", cmd::pattern_editor::kMute).path, "PatternEditor.Mute");
    EXPECT_EQ(scheme.findByIdInContext("SampleList", 31).id, cmd::kNone);   // no command has id 31
    EXPECT_EQ(scheme.findByPath("SampleList")->findById(cmd::root::kStop).name, "Stop");
    // A context's own command is no root command.
    EXPECT_EQ(scheme.findById(cmd::sample_list::kDelete).id, cmd::kNone);
}

TEST_F(CommandLookup, PathLookup)
{
    EXPECT_EQ(scheme.findByPath(""), &scheme);
    EXPECT_EQ(scheme.findByPath("PatternEditor.Pattern.NoteEntry.F#1")->id, 104);
    EXPECT_EQ(scheme.findByPath("patterneditor"), nullptr);
    EXPECT_EQ(scheme.findByPath("PatternEditor."), nullptr);
    EXPECT_EQ(scheme.findByPath(".PatternEditor"), nullptr);
    // Parts are cut to 255 characters.
    EXPECT_EQ(scheme.findByPath(std::string(300, 'x')), nullptr);
}

TEST_F(CommandLookup, ResolvedKeysAreLogged)
{
    RecordingSink sink;
    setUsageSink(&sink);
    find("", withCount(kF8, 2));
    find("", charKey('~'));
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.commands[0], std::make_pair(int{kCmdKeyboard}, int32_t{9}));
}

TEST_F(CommandLookup, ClashRecords)
{
    clashList().clear();
    // Unrelated contexts never clash.
    EXPECT_FALSE(scheme.checkClashes("SampleList.Normalise", charKey('m', kModAlt)));
    EXPECT_TRUE(clashList().empty());

    EXPECT_TRUE(scheme.checkClashes("Cut", charKey('c', kModAlt)));
    ASSERT_EQ(clashList().size(), 2u);
    EXPECT_EQ(clashList()[0].path, "Cut");
    EXPECT_EQ(clashList()[0].otherPath, "Copy");
    EXPECT_EQ(clashList()[1].path, "Copy");
    EXPECT_EQ(clashList()[1].otherPath, "Cut");

    // A note key clashes with bindings of the enclosing pattern context.
    clashList().clear();
    EXPECT_TRUE(scheme.checkClashes("PatternEditor.Pattern.NoteEntry.NoteOff", printableKey(96)));
    std::vector<TesselClash> bindings;
    findKeyBindings("PatternEditor.Pattern.NoteEntry.NoteOff", bindings);
    ASSERT_EQ(bindings.size(), 1u);
    EXPECT_EQ(bindings[0].otherPath, "PatternEditor.Pattern.CycleEditMode");
}

TEST_F(CommandLookup, RebuildKeyListFindsDefaultClashes)
{
    clashList().emplace_back(TesselClash{"stale", "stale", {}});
    scheme.rebuildKeyList();
    std::vector<TesselClash> bindings;
    findKeyBindings("stale", bindings);
    EXPECT_TRUE(bindings.empty());
    // Enter is bound in the pattern editor and in its pattern context.
    findKeyBindings("PatternEditor.Pattern.PickUpNote", bindings);
    ASSERT_FALSE(bindings.empty());
    EXPECT_EQ(bindings[0].otherPath, "PatternEditor.PickUpInstrumentNote");
    // Every record has its mirror.
    for (const TesselClash& c : clashList()) {
        bool mirrored = false;
        for (const TesselClash& d : clashList())
            mirrored |= d.path == c.otherPath && d.otherPath == c.path;
        EXPECT_TRUE(mirrored) << c.path << " " << c.otherPath;
    }
}

TEST_F(CommandLookup, MenuLabelsCarryTheFirstShortcut)
{
    TesselCommand command({900, "Test", "&Transpose Up", "", 0}, "PatternEditor");
    EXPECT_EQ(command.labelWithShortcut(), "&Transpose Up");
    const TesselKeyEvent first = withCount(kF8, 1);
    TesselKeyEvent second = kF8;
    second.modifiers = kModCtrl;
    command.addShortcut(first);
    command.addShortcut(second);
    ASSERT_FALSE(first.toString().empty());
    EXPECT_EQ(command.labelWithShortcut(), "&Transpose Up\t" + first.toString());
}
