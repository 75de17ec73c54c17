// The help file thread: the archive lands in the folder under the process's
// name with mode 0600, never half-written, and goes with the editor.
#include "common/help_file.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <numeric>
#include <vector>

namespace {

std::vector<std::string> entriesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

int modeOf(const std::string& path)
{
    struct stat info{};
    return lstat(path.c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

std::vector<uint8_t> someBytes(size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t(7));
    return bytes;
}

constexpr auto kPatience = std::chrono::seconds(30);

} // namespace

TEST(HelpFile, WritesTheArchiveUnderTheProcessNameWithOwnerOnlyAccess)
{
    ScratchFolder folder;
    const std::vector<uint8_t> bytes = someBytes(300000);
    {
        help::HelpFile file(folder.path(), bytes);
        EXPECT_EQ(file.path(), folder.file("Quorbel-" + std::to_string(getpid()) + ".chm"));
        ASSERT_TRUE(file.waitUntilWritten(kPatience));
        EXPECT_TRUE(file.isWritten());
        EXPECT_EQ(modeOf(file.path()), 0600);
        EXPECT_EQ(readWholeFile(file.path()), std::string(bytes.begin(), bytes.end()));
        EXPECT_EQ(entriesIn(folder.path()), std::vector<std::string>{help::helpFileName()});
    }
    EXPECT_TRUE(entriesIn(folder.path()).empty());   // the editor's end takes the file with it
}

TEST(HelpFile, ReplacesAnEarlierFileAndNeverFollowsALinkAtTheTemporaryName)
{
    ScratchFolder folder;
    ScratchFolder elsewhere;
    const std::string victim = elsewhere.write("victim", "keep me");
    folder.write(help::helpFileName(), "an older help file");
    const std::string temporary = folder.file("~qrblchm-" + std::to_string(getpid()) + ".tmp");
    ASSERT_EQ(symlink(victim.c_str(), temporary.c_str()), 0);

    const std::vector<uint8_t> bytes = someBytes(1000);
    std::atomic<bool> stop{false};
    ASSERT_TRUE(help::writeHelpFile(folder.file(help::helpFileName()), bytes, stop));
    EXPECT_EQ(readWholeFile(folder.file(help::helpFileName())), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(modeOf(folder.file(help::helpFileName())), 0600);
    EXPECT_EQ(readWholeFile(victim), "keep me");
    EXPECT_EQ(entriesIn(folder.path()), std::vector<std::string>{help::helpFileName()});
}

TEST(HelpFile, NothingIsLeftWhenTheWriteCannotHappenOrIsStopped)
{
    ScratchFolder folder;
    const std::vector<uint8_t> bytes = someBytes(1000);
    std::atomic<bool> stop{true};
    EXPECT_FALSE(help::writeHelpFile(folder.file("stopped.chm"), bytes, stop));
    stop = false;
    EXPECT_FALSE(help::writeHelpFile(folder.file("missing/folder.chm"), bytes, stop));
    EXPECT_FALSE(help::writeHelpFile(folder.file("empty.chm"), {}, stop));
    EXPECT_TRUE(entriesIn(folder.path()).empty());

    // The waits end at once, with no file, when there is nothing to wait for.
    help::HelpFile noArchive(folder.path(), {});
    EXPECT_FALSE(noArchive.waitUntilWritten(kPatience));
    help::HelpFile noFolder("", bytes);
    EXPECT_TRUE(noFolder.path().empty());
    EXPECT_FALSE(noFolder.waitUntilWritten(kPatience));
    help::HelpFile badFolder(folder.file("missing"), bytes);
    EXPECT_FALSE(badFolder.waitUntilWritten(kPatience));
    EXPECT_TRUE(entriesIn(folder.path()).empty());
}

TEST(HelpFile, EndingTheEditorDuringTheWriteJoinsTheThreadAndLeavesNothing)
{
    ScratchFolder folder;
    const std::vector<uint8_t> bytes(64u << 20, 0x5A);
    for (int round = 0; round < 3; ++round) {
        auto file = std::make_unique<help::HelpFile>(folder.path(), bytes);
        file.reset();
        EXPECT_TRUE(entriesIn(folder.path()).empty()) << round;
    }
}
