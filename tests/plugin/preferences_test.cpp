#include "file_helpers.h"

#include "model/markup/markup.h"
#include "platform/status_text.h"
#include "shell/command_scheme.h"
#include "shell/commands_usage.h"
#include "shell/preferences.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

struct RecordingEditor : TesselEditorSettings {
    std::vector<std::string> calls;
    void setKeyMode(int mode, bool quiet) override { calls.push_back("key " + std::to_string(mode) + q(quiet)); }
    void setWindowsLinked(bool on, bool quiet) override { calls.push_back("link " + std::to_string(on) + q(quiet)); }
    void setIntegrated(bool on, bool quiet) override { calls.push_back("merge " + std::to_string(on) + q(quiet)); }
    static std::string q(bool quiet) { return quiet ? " quiet" : ""; }
};

struct PreferencesSink : TesselUsageSink {
    int saved = 0;
    void logCommand(int, int32_t) override {}
    void logPreferences(const TesselPreferences&) override { ++saved; }
};

class Preferences : public ::testing::Test {
protected:
    void SetUp() override
    {
        scheme.resetToDefaults();
        platform::makeFolders(platform::settingsFolder());
    }
    void TearDown() override
    {
        std::remove(iniPath().c_str());
        std::remove(fallbackIniPath().c_str());
        scheme.resetToDefaults();
        scheme.setSchemeName("Default");
        clashList().clear();
        platform::clearStatusText();
        setUsageSink(nullptr);
    }
    static std::string iniPath() { return platform::joinPath(platform::settingsFolder(), "Quorbel.ini"); }
    static std::string fallbackIniPath() { return platform::settingsSearchFolders().back() + "/Quorbel.ini"; }

    // The preferences read from a file holding `text`.
    TesselPreferences loaded(const std::string& text)
    {
        writeText(iniPath(), text);
        TesselPreferences p;
        p.load(scheme);
        return p;
    }

    TesselCommandScheme& scheme = defaultScheme();
};

TesselPreferences unusual()
{
    TesselPreferences p;
    p.midiDelay = 25;
    strcpy(p.midiSyncOutput, "Port \"2\" <&>");
    p.midiSyncType = 2;
    p.disableMidi = 1;
    p.keyboardMode = 0;
    p.alwaysOnTop = 0;
    p.linkWindows = 0;
    p.mergeWithHost = 0;
    p.graphicsPriority = 1;
    p.followPattern = 1;
    p.showGuide = 1;
    p.showHelp = 0;
    strcpy(p.modulePath, "/music/modules/");
    strcpy(p.samplePath, "/music/samples/");
    strcpy(p.instrumentPath, "/music/instruments/");
    p.midiInMode = 1;
    p.positionX1 = -10;
    p.positionY1 = 20;
    p.positionX2 = 800;
    p.positionY2 = 600;
    p.windowState = 3;
    p.doubleSize = 1;
    p.font.height = 9;
    p.font.weight = 700;
    strcpy(p.font.faceName, "Mono");
    p.fontWidth = 7;
    p.timingMode = 1;
    p.defaultRowsPerBeat = 8;
    p.showDependencies = 1;
    return p;
}

// Every stored field; page positions and the unstored font fields are not in the file.
void expectSameStored(const TesselPreferences& a, const TesselPreferences& b)
{
    EXPECT_EQ(a.midiDelay, b.midiDelay);
    EXPECT_STREQ(a.midiSyncOutput, b.midiSyncOutput);
    EXPECT_EQ(a.midiSyncType, b.midiSyncType);
    EXPECT_EQ(a.disableMidi, b.disableMidi);
    EXPECT_EQ(a.keyboardMode, b.keyboardMode);
    EXPECT_EQ(a.alwaysOnTop, b.alwaysOnTop);
    EXPECT_EQ(a.linkWindows, b.linkWindows);
    EXPECT_EQ(a.mergeWithHost, b.mergeWithHost);
    EXPECT_EQ(a.graphicsPriority, b.graphicsPriority);
    EXPECT_EQ(a.followPattern, b.followPattern);
    EXPECT_EQ(a.showGuide, b.showGuide);
    EXPECT_EQ(a.showHelp, b.showHelp);
    EXPECT_STREQ(a.modulePath, b.modulePath);
    EXPECT_STREQ(a.samplePath, b.samplePath);
    EXPECT_STREQ(a.instrumentPath, b.instrumentPath);
    EXPECT_EQ(a.midiInMode, b.midiInMode);
    EXPECT_EQ(a.positionX1, b.positionX1);
    EXPECT_EQ(a.positionY1, b.positionY1);
    EXPECT_EQ(a.positionX2, b.positionX2);
    EXPECT_EQ(a.positionY2, b.positionY2);
    EXPECT_EQ(a.windowState, b.windowState);
    EXPECT_EQ(a.doubleSize, b.doubleSize);
    EXPECT_EQ(a.font.height, b.font.height);
    EXPECT_EQ(a.font.weight, b.font.weight);
    EXPECT_STREQ(a.font.faceName, b.font.faceName);
    EXPECT_EQ(a.fontWidth, b.fontWidth);
    EXPECT_EQ(a.timingMode, b.timingMode);
    EXPECT_DOUBLE_EQ(a.defaultTempo, b.defaultTempo);
    EXPECT_EQ(a.defaultResolution, b.defaultResolution);
    EXPECT_EQ(a.defaultRowsPerBeat, b.defaultRowsPerBeat);
    EXPECT_EQ(a.showDependencies, b.showDependencies);
}

const char kLongNames[] =
    "<preferences graphicspriority=\"1\" followpattern=\"1\" showguide=\"1\" showhelp=\"0\" midiinmode=\"1\""
    " mididelay=\"25\" midisyncoutput=\"Port &quot;2&quot; &lt;&amp;&gt;\" midisynctype=\"2\" disablemidi=\"1\""
    " modulepath=\"/music/modules/\" instrumentpath=\"/music/instruments/\" samplepath=\"/music/samples/\""
    " timingmode=\"1\" defaulttempo=\"133.500000\" defaultresolution=\"12\" defaultrowsperbeat=\"8\""
    " keyboardmode=\"0\" alwaysontop=\"0\" linkwindows=\"0\" mergewithhost=\"0\" fontname=\"Mono\""
    " fontsize=\"9\" fontweight=\"700\" fontwidth=\"7\" positionx1=\"-10\" positiony1=\"20\""
    " positionx2=\"800\" positiony2=\"600\" doublesize=\"1\" windowstate=\"3\" showdependencies=\"1\"/>\n";

// Short names, with the two case-blind string keys placed before the int keys they would also find.
const char kShortNames[] =
    "<pr g=\"1\" f=\"1\" G=\"1\" H=\"0\" I=\"/music/instruments/\" i=\"1\" M=\"/music/modules/\" m=\"25\""
    " so=\"Port &quot;2&quot; &lt;&amp;&gt;\" st=\"2\" md=\"1\" S=\"/music/samples/\""
    " tm=\"1\" T=\"133.5\" r=\"12\" R=\"8\" k=\"0\" t=\"0\" l=\"0\" h=\"0\" fn=\"Mono\""
    " fs=\"9\" fw=\"700\" fx=\"7\" x1=\"-10\" y1=\"20\" x2=\"800\" y2=\"600\" d=\"1\" ws=\"3\" dp=\"1\"/>\n";

} // namespace

TEST_F(Preferences, Defaults)
{
    TesselPreferences p;
    EXPECT_EQ(p.midiDelay, -1);
    EXPECT_STREQ(p.midiSyncOutput, "(VST Host)");
    EXPECT_EQ(p.keyboardMode, 1);
    EXPECT_EQ(p.alwaysOnTop, 1);
    EXPECT_EQ(p.showHelp, 1);
    EXPECT_EQ(p.midiInMode, 2);
    EXPECT_EQ(p.windowState, 1);
    EXPECT_EQ(p.font.height, 6);
    EXPECT_EQ(p.font.weight, 400);
    EXPECT_STREQ(p.font.faceName, "Quorbel");
    EXPECT_EQ(p.fontWidth, -1);
    EXPECT_EQ(p.defaultTempo, 120.0);
    EXPECT_EQ(p.defaultResolution, 6);
    EXPECT_EQ(p.defaultRowsPerBeat, 4);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(p.modulePath), std::string(cwd) + "/");
    EXPECT_STREQ(p.samplePath, p.instrumentPath);
}

TEST_F(Preferences, LongAndShortNamesReadTheSame)
{
    TesselPreferences expected = unusual();
    expected.defaultTempo = 133.5;
    expected.defaultResolution = 12;
    expectSameStored(loaded(kLongNames), expected);
    expectSameStored(loaded(kShortNames), expected);
    expectSameStored(loaded(withCrLf(std::string(kLongNames) + "<scheme name=\"Default\">\n</scheme>\n")),
                     expected);
}

TEST_F(Preferences, ShortNameCases)
{
    // "T" is the tempo, "t" always on top; "M" (a string) also answers to "m".
    TesselPreferences p = loaded("<pr t=\"0\" T=\"99\" m=\"/x/\"/>");
    EXPECT_EQ(p.alwaysOnTop, 0);
    EXPECT_EQ(p.defaultTempo, 99.0);
    EXPECT_STREQ(p.modulePath, "/x/");
    EXPECT_EQ(p.midiDelay, 0);
    // Bool and int keys tell the cases apart; the 8-bit timing mode does not.
    p = loaded("<pr G=\"1\" g=\"0\" K=\"0\" TM=\"1\"/>");
    EXPECT_EQ(p.showGuide, 1);
    EXPECT_EQ(p.graphicsPriority, 0);
    EXPECT_EQ(p.keyboardMode, 1);
    EXPECT_EQ(p.timingMode, 1);
}

TEST_F(Preferences, ValuesAreCutAndNarrowed)
{
    TesselPreferences p = loaded("<preferences keyboardmode=\"257\" fontname=\"" + std::string(100, 'f')
                                 + "\" modulepath=\"" + std::string(255, 'p') + "\" fontwidth=\"65537\""
                                 " timingmode=\"257\" mididelay=\"abc\" defaulttempo=\"1e3\"/>");
    EXPECT_EQ(p.keyboardMode, 1);
    EXPECT_EQ(std::string(p.font.faceName), std::string(31, 'f'));
    EXPECT_EQ(std::string(p.modulePath), std::string(255, 'p'));
    EXPECT_EQ(p.fontWidth, 1);
    EXPECT_EQ(p.timingMode, 1);
    EXPECT_EQ(p.midiDelay, 0);
    EXPECT_EQ(p.defaultTempo, 1000.0);
}

TEST_F(Preferences, LaterElementResetsMissingKeys)
{
    TesselPreferences p = loaded("<preferences mididelay=\"5\" midiinmode=\"0\"/>\n<preferences midiinmode=\"1\"/>\n");
    EXPECT_EQ(p.midiDelay, -1);
    EXPECT_EQ(p.midiInMode, 1);
    // Nothing after a malformed tag is seen.
    p = loaded("<preferences mididelay=\"5\"/>\n<bad attribute/>\n<preferences midiinmode=\"1\"/>\n");
    EXPECT_EQ(p.midiDelay, 5);
    EXPECT_EQ(p.midiInMode, 2);
}

TEST_F(Preferences, NoFileKeepsWhatIsThere)
{
    TesselPreferences p = unusual();
    TesselSongTiming song{140.0, 3.0, 2};
    RecordingEditor editor;
    p.load(scheme, &song, &editor);
    expectSameStored(p, unusual());
    EXPECT_EQ(song.tempo, 140.0);
    EXPECT_TRUE(editor.calls.empty());
}

TEST_F(Preferences, LoadFindsTheSearchFoldersAndHandsSettingsOn)
{
    ASSERT_TRUE(platform::makeFolders(platform::settingsSearchFolders().back()));
    writeText(fallbackIniPath(), "<preferences defaulttempo=\"150\" defaultresolution=\"8\" defaultrowsperbeat=\"3\""
                                 " keyboardmode=\"0\" linkwindows=\"0\"/>\n<scheme name=\"Found\">\n"
                                 " <key command=\"Copy\" shortcut=\"Ctrl-c\"/>\n</scheme>\n");
    TesselPreferences p;
    TesselSongTiming song;
    RecordingEditor editor;
    p.load(scheme, &song, &editor);
    EXPECT_EQ(song.tempo, 150.0);
    EXPECT_EQ(song.resolution, 8.0);
    EXPECT_EQ(song.rowsPerQuarter, 3);
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"key 0 quiet", "link 0 quiet", "merge 1 quiet"}));
    EXPECT_EQ(scheme.schemeName(), "Found");
    EXPECT_EQ(scheme.findByPath("Copy")->shortcuts.size(), 1u);
    EXPECT_EQ(scheme.findByPath("Copy")->shortcuts[0].key.toString(), "Ctrl-c");

    // The user's own file comes first.
    writeText(iniPath(), "<preferences defaulttempo=\"90\"/>\n");
    p.load(scheme, &song);
    EXPECT_EQ(song.tempo, 90.0);
}

TEST_F(Preferences, SaveRoundTripsWithSongValues)
{
    PreferencesSink sink;
    setUsageSink(&sink);
    TesselPreferences p = unusual();
    ASSERT_EQ(p.save(scheme, {140.0, 2.99995, 16}), TesselPreferencesSave::kSaved);
    EXPECT_EQ(platform::statusText(), "Quorbel preferences saved as default.");
    EXPECT_EQ(sink.saved, 1);
    EXPECT_EQ(markupDepth, 0);
    EXPECT_EQ(p.defaultTempo, 140.0);
    EXPECT_EQ(p.defaultResolution, 3);
    EXPECT_EQ(p.defaultRowsPerBeat, 8);

    const std::string text = readWholeFile(iniPath());
    EXPECT_EQ(text.rfind("<preferences graphicspriority=\"1\" followpattern=\"1\"", 0), 0u);
    EXPECT_NE(text.find(" defaulttempo=\"140.000000\" defaultresolution=\"3\" defaultrowsperbeat=\"8\""),
              std::string::npos);
    EXPECT_NE(text.find(" fontwidth=\"7\""), std::string::npos);
    EXPECT_NE(text.find(" windowstate=\"3\" showdependencies=\"1\"/>\n<scheme name=\"Default\">\n"),
              std::string::npos);
    EXPECT_NE(text.find("midisyncoutput=\"Port &quot;2&quot; &lt;&amp;&gt;\""), std::string::npos);

    TesselPreferences back;
    scheme.clearShortcuts();
    back.load(scheme);
    expectSameStored(back, p);
    EXPECT_EQ(scheme.findByPath("LoadModule")->shortcuts.size(), 3u);
}

TEST_F(Preferences, ConditionalAttributes)
{
    TesselPreferences p;
    ASSERT_EQ(p.save(scheme, {120.0, 6.0, 4}), TesselPreferencesSave::kSaved);
    std::string text = readWholeFile(iniPath());
    EXPECT_EQ(text.find("fontwidth"), std::string::npos);
    EXPECT_EQ(text.find("doublesize"), std::string::npos);
    EXPECT_EQ(text.find("showdependencies"), std::string::npos);
    EXPECT_NE(text.find(" positiony2=\"0\" windowstate=\"1\"/>"), std::string::npos);

    p.timingMode = -1;   // written as its unsigned byte
    p.doubleSize = 1;
    ASSERT_EQ(p.save(scheme, {120.0, 6.0, 4}), TesselPreferencesSave::kSaved);
    text = readWholeFile(iniPath());
    EXPECT_EQ(text.find("fontwidth"), std::string::npos);
    EXPECT_NE(text.find(" timingmode=\"255\""), std::string::npos);
    EXPECT_NE(text.find(" doublesize=\"1\" windowstate=\"1\"/>"), std::string::npos);
    TesselPreferences back;
    back.load(scheme);
    EXPECT_EQ(back.timingMode, -1);
    EXPECT_EQ(back.doubleSize, 1);
}

TEST_F(Preferences, FailedSaveKeepsTheOldFileAndSaysSo)
{
    writeText(iniPath(), "<preferences mididelay=\"7\"/>\n");
    const std::string blocker = iniPath() + ".saving";
    ASSERT_TRUE(platform::makeFolders(blocker));
    TesselPreferences p;
    EXPECT_EQ(p.save(scheme, {120.0, 6.0, 4}), TesselPreferencesSave::kWriteFailed);
    rmdir(blocker.c_str());
    EXPECT_EQ(readWholeFile(iniPath()), "<preferences mididelay=\"7\"/>\n");
    EXPECT_EQ(platform::statusText(), "Error saving preferences (Could not write Quorbel.ini).");
}

TEST_F(Preferences, SaveWithoutASettingsFolder)
{
    const std::string home = getenv("XDG_CONFIG_HOME");
    const std::string file = scratchPath("not-a-folder");
    writeText(file, "x");
    setenv("XDG_CONFIG_HOME", file.c_str(), 1);
    TesselPreferences p;
    const TesselPreferencesSave result = p.save(scheme, {120.0, 6.0, 4});
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    std::remove(file.c_str());
    EXPECT_EQ(result, TesselPreferencesSave::kNoFolder);
    EXPECT_STREQ(kPreferencesFolderError, "Error saving preferences (Could not access AppData folder).");
}
