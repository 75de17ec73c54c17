#include "engine/engine_actions.h"
#include "engine/engine_status.h"
#include "model/scratch_folder.h"
#include "platform/key_event.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"
#include "shell/usage_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

TesselLogIdentity identity()
{
    return {"Vendor", "Quorbel Host", 1100, "Maker", "Quorbel", 1100};
}

// The header of identity(): 'v', two strings, a version, two strings, a version.
constexpr size_t kHeaderSize = 1 + 7 + 13 + 4 + 6 + 8 + 4;

class UsageLogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(log.open(identity())); }
    void TearDown() override { unlink(log.path().c_str()); }
    TesselUsageLog log;
};

} // namespace

TEST_F(UsageLogTest, HeaderNamesHostAndPlugin)
{
    const std::string bytes = readWholeFile(log.path());
    ASSERT_EQ(bytes.size(), kHeaderSize);
    EXPECT_EQ(bytes.substr(0, 8), std::string("v\x06Vendor"));
    EXPECT_EQ(bytes.substr(8, 13), std::string("\x0cQuorbel Host"));
    EXPECT_EQ(bytes.substr(21, 4), std::string("\x4c\x04\x00\x00", 4));
}

TEST_F(UsageLogTest, CommandRecordIsTenBytesInTheFile)
{
    log.logCommand(10, -2);
    log.flush();
    const std::string bytes = readWholeFile(log.path());
    ASSERT_EQ(bytes.size(), kHeaderSize + 10);
    EXPECT_EQ(bytes.substr(kHeaderSize + 4), std::string("a\x0a\xfe\xff\xff\xff", 6));
    EXPECT_EQ(log.buffered(), 0);
}

TEST_F(UsageLogTest, EngineActionsReachTheLogFromEitherThread)
{
    setUsageLog(&log);
    installEngineHooks();
    logEngineAction(kActStop, 7);
    {
        TesselAudioThreadScope audio;   // appends without waiting there
        logEngineAction(kActHostPlay, 3);
    }
    setUsageLog(nullptr);
    logEngineAction(kActStop, 8);   // no log: dropped
    TesselEngineHooks::logAction = nullptr;
    TesselEngineHooks::buildCommandTree = nullptr;
    TesselEngineHooks::loadPreferences = nullptr;

    log.flush();
    const std::string bytes = readWholeFile(log.path());
    ASSERT_EQ(bytes.size(), kHeaderSize + 20);
    EXPECT_EQ(bytes.substr(kHeaderSize + 4, 6), std::string("a\x11\x07\x00\x00\x00", 6));
    EXPECT_EQ(bytes.substr(kHeaderSize + 14, 6), std::string("a\x12\x03\x00\x00\x00", 6));
}

TEST_F(UsageLogTest, RepeatedModifiersAndFocusAreLoggedOnce)
{
    TesselKeyEvent shift = namedKey(54);
    log.logKey(shift);
    shift.pressCount = 1;
    log.logKey(shift);
    EXPECT_EQ(log.buffered(), 4 + 7);

    TesselKeyEvent letter = charKey('q');
    log.logKey(letter);
    letter.pressCount = 1;
    log.logKey(letter);
    EXPECT_EQ(log.buffered(), 3 * (4 + 7));
    EXPECT_EQ(OMBRIX::iKEYBOARD(letter).text().substr(OMBRIX::iKEYBOARD(letter).text().size() - 5), ", x1)");

    log.logFocus(1, 0, 3);
    log.logFocus(1, 0, 3);
    EXPECT_EQ(log.buffered(), 3 * (4 + 7) + 4 + 4);
}

TEST_F(UsageLogTest, FullBufferIsFlushedBeforeTheRecordThatWouldOverflowIt)
{
    // 102395 bytes: three 9-byte value records and 12796 8-byte focus records.
    for (int i = 0; i < 3; ++i)
        log.append(OMBRIX::iDATA(1.0f));
    for (int i = 0; i < 12796; ++i)
        log.append(OMBRIX::iFOCUS(1, 2, 3));
    ASSERT_EQ(log.buffered(), 102395);
    EXPECT_EQ(readWholeFile(log.path()).size(), kHeaderSize);

    log.logCommand(0, 0);
    EXPECT_EQ(log.buffered(), 10);
    EXPECT_EQ(readWholeFile(log.path()).size(), kHeaderSize + 102395);
}

TEST_F(UsageLogTest, AudioThreadAppendsNeverFlush)
{
    const OMBRIX::iDATA data(0.5f);
    while (log.appendNoWait(data)) {}
    EXPECT_GT(log.buffered(), TesselUsageLog::kBufferSize - 20);
    EXPECT_EQ(readWholeFile(log.path()).size(), kHeaderSize);
}

TEST_F(UsageLogTest, CrashFlushWritesTheBufferOfTheOpenLog)
{
    setUsageLog(&log);
    log.logCommand(16, 1);
    TesselUsageLog::flushForCrash();
    EXPECT_EQ(readWholeFile(log.path()).size(), kHeaderSize + 10);
    setUsageLog(nullptr);
}

TEST(UsageLogText, RecordsPrintAsSpecifiedLines)
{
    EXPECT_EQ(OMBRIX::iCOMMAND(10, 3).text(), "command (CMD_PLAYSONG, 3)");
    EXPECT_EQ(OMBRIX::iCOMMAND(47, 3).text(), "command (\?\?\?, 3)");

    TesselKeyEvent ctrlC{};
    ctrlC.character = 'c';
    ctrlC.modifiers = 8;
    ctrlC.keyUp = 1;
    EXPECT_EQ(OMBRIX::iKEYBOARD(ctrlC).text(), "keyboard (Ctrl-c, UP)");
    TesselKeyEvent unknownKey = namedKey(70);
    unknownKey.printable = 0;
    EXPECT_EQ(OMBRIX::iKEYBOARD(unknownKey).text(), "keyboard ([?])");

    EXPECT_EQ(OMBRIX::iFOCUS(1, 0, 3).text(), "focus (PATTERN_EDITOR/OVERVIEW/\?\?\?)");
    EXPECT_EQ(OMBRIX::iFOCUS(6, 2, 0).text(), "focus (INFO_PAGE/\?\?\?)");
    EXPECT_EQ(OMBRIX::iFOCUS(12, 0, 0).text(), "focus (\?\?\?/\?\?\?)");

    EXPECT_EQ(OMBRIX::iCURSOR(3, 4, -1, 1).text(), "cursor (3, 4) +(-1, 1)");
    EXPECT_EQ(OMBRIX::iCURSOR(0x105, 4, 0, 0).text(), "cursor (1, 0) +(0, 0) #(5, 4)");
    EXPECT_EQ(OMBRIX::iMOUSE(5, 6, 0).text(), "mouse (5,6) UP ");
    EXPECT_EQ(OMBRIX::iMOUSE(5, 6, 1 | 16).text(), "mouse (5,6) LEFT CTRL ");
    EXPECT_EQ(OMBRIX::iDATA(1.0f).text(), "value (1065353216, 1.000000)");
}

TEST(UsageLogText, PreferencesRecordIsPackedTo120Bytes)
{
    TesselPreferences prefs;
    prefs.midiDelay = 0x01020304;
    OMBRIX::iPREFS record(prefs);
    uint8_t bytes[OMBRIX::kLargestPayload];
    ASSERT_EQ(record.payload(bytes), 120);
    EXPECT_EQ(bytes[0], 'p');
    EXPECT_EQ(bytes[1], 0x04);
    EXPECT_EQ(bytes[4], 0x01);
    EXPECT_NE(record.text().find("MIDIDelay=16909060,KeyMode="), std::string::npos);
}

TEST_F(UsageLogTest, ACursorRecordGoesToTheLogOnlyWhenItsValuesChange)
{
    setUsageLog(&log);
    OMBRIX::iCURSOR cursor;
    EXPECT_FALSE(cursor.update(0, 0, 0, 0));
    EXPECT_TRUE(cursor.update(2, 17, 5, -1));
    EXPECT_FALSE(cursor.update(2, 17, 5, -1));
    EXPECT_TRUE(cursor.update(2, 17, 5, 3));
    setUsageLog(nullptr);
    EXPECT_TRUE(cursor.update(0, 0, 0, 0));   // no log: stored, nothing written
    log.flush();
    const std::string bytes = readWholeFile(log.path());
    ASSERT_EQ(bytes.size(), kHeaderSize + 2 * 13);
    EXPECT_EQ(bytes.substr(kHeaderSize + 4, 9), std::string("c\x02\x00\x11\x00\x05\x00\xff\xff", 9));
    EXPECT_EQ(bytes.substr(kHeaderSize + 17, 9), std::string("c\x02\x00\x11\x00\x05\x00\x03\x00", 9));
}
