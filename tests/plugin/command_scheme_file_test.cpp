#include "file_helpers.h"

#include "model/markup/markup.h"
#include "shell/command_scheme.h"
#include "shell/commands_tables.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class SchemeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        scheme.resetToDefaults();
        clashList().clear();
    }
    void TearDown() override
    {
        scheme.resetToDefaults();
        scheme.setSchemeName("Default");
        clashList().clear();
        std::remove(path.c_str());
    }

    // The key texts of every binding, command by command, in tree order.
    static std::vector<std::string> bindings(const TesselCommand& root)
    {
        std::vector<std::string> paths, out;
        root.collectPaths(paths, true);
        for (const std::string& p : paths)
            for (const TesselShortcut& s : root.findByPath(p)->shortcuts)
                out.push_back(p + " " + s.key.toString() + " " + std::to_string(s.flag));
        return out;
    }
    std::vector<std::string> keysOf(const std::string& commandPath)
    {
        std::vector<std::string> out;
        for (const TesselShortcut& s : scheme.findByPath(commandPath)->shortcuts)
            out.push_back(s.key.toString());
        return out;
    }
    bool readWholeFile(const std::string& text)
    {
        writeText(path, text);
        return scheme.readFile(path);
    }

    TesselCommandScheme& scheme = defaultScheme();
    std::string path = scratchPath("scheme-test.xml");
};

} // namespace

TEST_F(SchemeFile, DefaultSchemeRoundTrips)
{
    ASSERT_TRUE(scheme.writeFile(path));
    EXPECT_EQ(markupDepth, 0);
    const std::string text = ::readWholeFile(path);
    EXPECT_EQ(text.rfind("<scheme name=\"Default\">\n", 0), 0u);
    EXPECT_NE(text.find(" <key command=\"PatternEditor.Pattern.NoteEntry.C#1\" shortcut=\"2\"/>\n"),
              std::string::npos);
    EXPECT_NE(text.find("<key command=\"Reset\" shortcut=\"F8\" repeat=\"1\"/>"), std::string::npos);
    EXPECT_NE(text.find("<key command=\"Stop\" shortcut=\"F8\"/>"), std::string::npos);
    EXPECT_NE(text.find("shortcut=\"Ctrl-NumPad +\""), std::string::npos);
    EXPECT_EQ(text.find("PatternImage"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 10), "</scheme>\n");

    TesselCommandScheme expected("Default");
    expected.resetToDefaults();
    for (TesselCommand* c : {&expected, &scheme}) {
        std::vector<std::string> paths;
        c->collectPaths(paths, true);
        for (const std::string& p : paths)
            for (TesselShortcut& s : c->findByPath(p)->shortcuts)
                s.flag = 1;   // every binding read from a file has flag 1
    }
    scheme.clearShortcuts();
    ASSERT_TRUE(scheme.readFile(path));
    EXPECT_EQ(bindings(scheme), bindings(expected));
    EXPECT_EQ(keysOf("LoadModule"), (std::vector<std::string>{"Ctrl-o", "Ctrl-l", "F9"}));
    EXPECT_EQ(scheme.findByPath("PatternEditor.Pattern.CycleEditMode")->shortcuts[2].key.character, 180);
    // Read bindings resolve as the built-in ones do.
    EXPECT_EQ(scheme.findInContext("", namedKey(kVkF1 + 7, 0, 1), false).name, "Reset");
    EXPECT_EQ(scheme.findInContext("PatternEditor", {'3', 0, kModShift, {0, 0}, '#', 0, 0}, false).name,
              "PatternOverview");
}

TEST_F(SchemeFile, CrLfLineEndsRead)
{
    ASSERT_TRUE(scheme.writeFile(path));
    const std::string text = withCrLf(::readWholeFile(path));
    scheme.clearShortcuts();
    ASSERT_TRUE(readWholeFile(text));
    TesselCommandScheme expected("Default");
    expected.resetToDefaults();
    EXPECT_EQ(keysOf("PatternEditor.Pattern.NoteEntry.C-0"), (std::vector<std::string>{"z"}));
    EXPECT_EQ(bindings(scheme).size(), bindings(expected).size());
}

TEST_F(SchemeFile, PartialFileKeepsOtherDefaults)
{
    ASSERT_TRUE(readWholeFile("<scheme name=\"Mine\">\n"
                         " <key command=\"SampleList.Delete\" shortcut=\"Ctrl-Delete\"/>\n"
                         " <key command=\"SampleList.Normalise\" shortcut=\"Alt-n\" repeat=\"1\"/>\n"
                         "</scheme>\n"));
    EXPECT_EQ(scheme.schemeName(), "Mine");
    EXPECT_EQ(scheme.label, "Mine");
    EXPECT_EQ(keysOf("SampleList.Delete"), (std::vector<std::string>{"Ctrl-Delete"}));
    EXPECT_EQ(keysOf("SampleList.Normalise"), (std::vector<std::string>{"Alt-n x 2"}));
    EXPECT_EQ(keysOf("LoadModule"), (std::vector<std::string>{"Ctrl-o", "Ctrl-l", "F9"}));
    EXPECT_EQ(keysOf("PatternEditor.Pattern.NoteEntry.C-0"), (std::vector<std::string>{"z"}));
    EXPECT_EQ(keysOf("InstrumentList.Delete"), (std::vector<std::string>{"Alt-Delete"}));
    EXPECT_EQ(scheme.findByPath("Reset")->shortcuts[0].flag, 1u);
    // Default keys that clash with a binding given back before them stay away:
    // F8 (Stop) clashes with F8 x 2 (Reset), whatever the press count.
    EXPECT_TRUE(keysOf("Stop").empty());
    EXPECT_TRUE(keysOf("PatternEditor.PatternOptions").empty());
    std::vector<TesselClash> clashes;
    findKeyBindings("Stop", clashes);
    ASSERT_EQ(clashes.size(), 1u);
    EXPECT_EQ(clashes[0].otherPath, "Reset");
}

TEST_F(SchemeFile, ShortNamesAndCaseOfNames)
{
    ASSERT_TRUE(readWholeFile("<sc n=\"Short\"><ke c=\"Copy\" s=\"Ctrl-Shift-c\" r=\"0\"/>"
                         "<key COMMAND=\"Cut\" SHORTCUT=\"Ctrl-Shift-x\"/>"
                         "<KEY command=\"Paste\" shortcut=\"Ctrl-Shift-v\"/></sc>"));
    EXPECT_EQ(scheme.schemeName(), "Short");
    EXPECT_EQ(keysOf("Copy"), (std::vector<std::string>{"Ctrl-Shift-c"}));
    EXPECT_EQ(keysOf("Cut"), (std::vector<std::string>{"Ctrl-Shift-x"}));
    // Element names compare exactly: the capital KEY binds nothing, so Paste
    // gets its default back.
    EXPECT_EQ(keysOf("Paste"), (std::vector<std::string>{"Alt-p"}));
}

TEST_F(SchemeFile, UnknownPathsGiveDefaultsBack)
{
    ASSERT_TRUE(readWholeFile("<scheme name=\"Default\"><key command=\"Nowhere.Copy\" shortcut=\"Alt-c\"/>"
                         "<key command=\"Copy\"/><key shortcut=\"Alt-q\"/></scheme>"));
    EXPECT_EQ(keysOf("Copy"), (std::vector<std::string>{"Alt-c"}));
    EXPECT_EQ(keysOf("LoadModule").size(), 3u);
    EXPECT_EQ(keysOf("PatternEditor.Pattern.Mix"), (std::vector<std::string>{"Alt-m"}));
}

TEST_F(SchemeFile, SameKeyTwiceIsKeptAsRead)
{
    ASSERT_TRUE(readWholeFile("<scheme name=\"D\"><key command=\"Copy\" shortcut=\"Alt-c\"/>"
                         "<key command=\"Copy\" shortcut=\"Alt-c\"/><key command=\"Cut\" shortcut=\"Alt-c\"/>"
                         "</scheme>"));
    EXPECT_EQ(keysOf("Copy").size(), 2u);
    EXPECT_EQ(keysOf("Cut").size(), 1u);
}

TEST_F(SchemeFile, FailedLoadLeavesTheSchemeUntouched)
{
    scheme.findByPath("Copy")->addShortcut(charKey('k', kModCtrl));
    const auto before = bindings(scheme);
    // No closing element: the read fails as a whole.
    EXPECT_FALSE(readWholeFile("<scheme name=\"Broken\"><key command=\"Cut\" shortcut=\"Alt-q\"/>"));
    EXPECT_EQ(bindings(scheme), before);
    EXPECT_EQ(scheme.schemeName(), "Default");
    // A malformed tag ends the input just the same.
    EXPECT_FALSE(readWholeFile("<scheme name=\"Broken\"><key command=\"Cut\" shortcut/></scheme>"));
    EXPECT_EQ(bindings(scheme), before);
    EXPECT_FALSE(scheme.readFile(scratchPath("no-such-scheme.xml")));
    EXPECT_FALSE(readWholeFile(""));
    EXPECT_EQ(bindings(scheme), before);
    EXPECT_TRUE(clashList().empty());
}

TEST_F(SchemeFile, LongNameIsCut)
{
    // A name longer than a markup value is cut by the reader; ours is cut to 255.
    ASSERT_TRUE(readWholeFile("<scheme name=\"" + std::string(300, 'n') + "\"></scheme>"));
    EXPECT_EQ(scheme.schemeName().size(), 255u);
    scheme.setSchemeName(std::string(400, 'm'));
    EXPECT_EQ(scheme.schemeName().size(), 255u);
    EXPECT_EQ(scheme.label.size(), 255u);
}

TEST_F(SchemeFile, FailedSaveKeepsThePreviousFile)
{
    writeText(path, "old");
    // A folder where the temporary would go makes the save fail.
    const std::string blocker = path + ".saving";
    ASSERT_TRUE(platform::makeFolders(blocker));
    EXPECT_FALSE(scheme.writeFile(path));
    EXPECT_EQ(::readWholeFile(path), "old");
    rmdir(blocker.c_str());
    EXPECT_TRUE(scheme.writeFile(path));
    EXPECT_NE(::readWholeFile(path), "old");
    EXPECT_FALSE(platform::fileExists(blocker));
}
