// The process's status line for the thread sanitizer: the audio thread
// writes its playing lines without waiting while the editor reads, clears
// and writes the line and the file message. Every read is a whole line that
// one of them wrote.
#include "platform/status_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

TEST(StatusLineThreads, EveryReadIsAWholeLine)
{
    const std::string playing[2] = {"Playing Song (Order: 1 / Pattern: 000:001  )",
                                    "Playing Looped Pattern (012:063  the lead)"};
    const std::string saving = "Saving... complete.";
    const std::string files[2] = {"Loading...", "Saving Module_2026-12-10_18h00m00.xml"};
    platform::clearStatusText();

    std::atomic<bool> running{true};
    std::atomic<long> written{0};
    std::thread audio([&] {
        for (long i = 0; running; ++i)
            written += platform::trySetStatusText(playing[i % 2].c_str(), "Playing");
    });
    std::thread messages([&] {
        for (long i = 0; running; ++i)
            platform::setFileMessage(files[i % 2].c_str());
    });

    long torn = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    for (long i = 0; std::chrono::steady_clock::now() < until; ++i) {
        const std::string line = platform::statusText();
        torn += !line.empty() && line != playing[0] && line != playing[1] && line != saving;
        const std::string file = platform::fileMessage();
        torn += !file.empty() && file != files[0] && file != files[1];
        if (i % 64 == 0)
            platform::clearStatusText();
        else if (i % 64 == 32)
            platform::setStatusText(saving.c_str());   // the audio thread must leave it be
    }
    running = false;
    audio.join();
    messages.join();

    EXPECT_EQ(torn, 0);
    EXPECT_GT(written.load(), 0);
    platform::setStatusText(saving.c_str());
    EXPECT_FALSE(platform::trySetStatusText(playing[0].c_str(), "Playing"));
    EXPECT_EQ(platform::statusText(), saving);
    platform::clearStatusText();
    platform::setFileMessage("");
}

} // namespace
