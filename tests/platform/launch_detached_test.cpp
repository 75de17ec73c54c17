// Starting a program without waiting for it: its arguments as given, no
// shell between, and not our child.

#include "platform/system/helper_process.h"

#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <unistd.h>

TEST(LaunchDetached, TheProgramGetsItsArgumentsAsGivenAndIsNotOurChild)
{
    ScratchFolder folder;
    const std::string out = folder.file("out");
    const std::string script = "printf '%s|%s|%s\\n' \"$#\" \"$1\" \"$PPID\" > '" + out + ".part' && mv '" + out +
                               ".part' '" + out + "'";
    ASSERT_TRUE(platform::launchDetached({"sh", "-c", script, "sh", "a b;$(x) *"}));
    std::string got;
    for (int i = 0; i < 1000 && (got = readWholeFile(out)).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const size_t last = got.rfind('|');
    ASSERT_NE(last, std::string::npos) << got;
    EXPECT_EQ(got.substr(0, last), "1|a b;$(x) *");
    EXPECT_NE(std::stol(got.substr(last + 1)), long(getpid()));
}

TEST(LaunchDetached, AProgramNotOnThePathIsNotStarted)
{
    EXPECT_FALSE(platform::launchDetached({"quorbel-no-such-program"}));
    EXPECT_FALSE(platform::launchDetached({}));
    EXPECT_EQ(platform::programPath("sh").back(), 'h');
    EXPECT_TRUE(platform::programPath("quorbel-no-such-program").empty());
}
