#include "platform/status_text.h"
#include "platform/system/aligned_memory.h"
#include "platform/system/folders.h"
#include "platform/system/library_handle.h"
#include "platform/system/version.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

using namespace platform;

TEST(AlignedMemory, IsAlignedZeroedAndLockIsBestEffort)
{
    auto* p = static_cast<unsigned char*>(alignedAlloc(1001));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % kAudioAlignment, 0u);
    for (int i = 0; i < 1001; ++i)
        ASSERT_EQ(p[i], 0);
    lockMemory(p, 1001);
    unlockMemory(p, 1001);
    alignedFree(p);
    EXPECT_EQ(alignedAlloc(0), nullptr);
}

TEST(Folders, SettingsFollowXdgAndTemporaryFolderIsPrivate)
{
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settingsFolder(), config + "/Quorbel");

    setenv("XDG_CONFIG_DIRS", "/opt/a:relative:/opt/b/", 1);
    const auto folders = settingsSearchFolders();
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], config + "/Quorbel");
    EXPECT_EQ(folders[1], "/opt/a/Quorbel");
    EXPECT_EQ(folders[2], "/opt/b/Quorbel");

    const std::string temp = temporaryFolder();
    ASSERT_FALSE(temp.empty());
    struct stat info;
    ASSERT_EQ(lstat(temp.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST(Folders, FallsBackWhenRuntimeFolderIsUnusable)
{
    const std::string saved = std::getenv("XDG_RUNTIME_DIR");
    setenv("XDG_RUNTIME_DIR", "/proc/no-such-place", 1);
    const std::string temp = temporaryFolder();
    setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    EXPECT_FALSE(temp.empty());
    EXPECT_NE(temp.find("Quorbel-"), std::string::npos);
}

TEST(StatusText, IsBoundedAndAudioWritesOnlyOverPlayingOrEmpty)
{
    setStatusText(std::string(200, 'x').c_str());
    EXPECT_EQ(statusText().size(), kStatusTextSize - 1);

    setStatusText("Saving... complete.");
    EXPECT_FALSE(trySetStatusText("Playing song", "Playing"));
    EXPECT_EQ(statusText(), "Saving... complete.");

    clearStatusText();
    EXPECT_TRUE(trySetStatusText("Playing song", "Playing"));
    EXPECT_TRUE(trySetStatusText("Playing pattern", "Playing"));
    EXPECT_EQ(statusText(), "Playing pattern");

    formatStatusText("Loading %s... %d%%", "song", 50);
    EXPECT_EQ(statusText(), "Loading song... 50%");
    clearStatusText();
}

TEST(LibraryHandle, NamesTheSharedMutexesStably)
{
    EXPECT_NE(libraryHandle(), 0u);
    const std::string name = handleName("QB_MODULE_");
    EXPECT_EQ(name.rfind("QB_MODULE_", 0), 0u);
    EXPECT_EQ(name, handleName("QB_MODULE_"));
    EXPECT_FALSE(libraryPath().empty());
}

TEST(Version, IsNewEnoughForTheDocumentRules)
{
    EXPECT_GE(programVersion(), 1.003f);
}
