#include "model/settings_file.h"

#include "platform/system/folders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Points XDG_CONFIG_HOME and XDG_CONFIG_DIRS at fresh folders for one test and
// puts the previous values back afterwards.
class SettingsFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHome_ = std::getenv("XDG_CONFIG_HOME");
        savedDirs_ = std::getenv("XDG_CONFIG_DIRS");
        base_ = platform::joinPath(platform::temporaryFolder(),
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        setenv("XDG_CONFIG_HOME", (base_ + "/home").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (base_ + "/sys1:" + base_ + "/sys2").c_str(), 1);
    }
    void TearDown() override
    {
        setenv("XDG_CONFIG_HOME", savedHome_.c_str(), 1);
        setenv("XDG_CONFIG_DIRS", savedDirs_.c_str(), 1);
        const std::string cleanup = "rm -rf '" + base_ + "'";
        if (std::system(cleanup.c_str()) != 0) {}
    }
    static void touch(const std::string& folder, const std::string& name)
    {
        ASSERT_TRUE(platform::makeFolders(folder));
        FILE* f = std::fopen(platform::joinPath(folder, name).c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }

    std::string base_, savedHome_, savedDirs_;
};

} // namespace

TEST_F(SettingsFolders, FindPrefersTheUsersOwnCopyOverSystemOnes)
{
    std::string path = "unchanged";
    EXPECT_FALSE(findSettingsFile("Quorbel.ini", path));
    EXPECT_EQ(path, "unchanged");

    touch(base_ + "/sys2/Quorbel", "Quorbel.ini");
    ASSERT_TRUE(findSettingsFile("Quorbel.ini", path));
    EXPECT_EQ(path, base_ + "/sys2/Quorbel/Quorbel.ini");

    touch(base_ + "/sys1/Quorbel", "Quorbel.ini");
    ASSERT_TRUE(findSettingsFile("Quorbel.ini", path));
    EXPECT_EQ(path, base_ + "/sys1/Quorbel/Quorbel.ini");

    touch(base_ + "/home/Quorbel", "Quorbel.ini");
    ASSERT_TRUE(findSettingsFile("Quorbel.ini", path));
    EXPECT_EQ(path, base_ + "/home/Quorbel/Quorbel.ini");

    // A folder of that name is not a settings file.
    ASSERT_TRUE(platform::makeFolders(base_ + "/home/Quorbel/Other.ini"));
    EXPECT_FALSE(findSettingsFile("Other.ini", path));
}

TEST_F(SettingsFolders, MakeCreatesTheUsersFolderAndFailsWhenItCannot)
{
    std::string path;
    ASSERT_TRUE(makeSettingsFilePath("Quorbel.ini", path));
    EXPECT_EQ(path, base_ + "/home/Quorbel/Quorbel.ini");
    EXPECT_TRUE(platform::folderExists(base_ + "/home/Quorbel"));
    ASSERT_TRUE(makeSettingsFilePath("Quorbel.ini", path));   // exists already

    touch(base_, "plainfile");
    setenv("XDG_CONFIG_HOME", (base_ + "/plainfile/below").c_str(), 1);
    path = "unchanged";
    EXPECT_FALSE(makeSettingsFilePath("Quorbel.ini", path));
    EXPECT_EQ(path, "unchanged");
}
