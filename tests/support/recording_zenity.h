#pragma once
// A stand-in zenity for a program the test starts with the folder first (or
// alone) on its PATH. Call N (from 1) leaves its arguments, one a line, in
// call.N of the folder; it prints answer.N and exits with status.N, both
// set beforehand by the test (0 and nothing without them), leaving done.N
// as it goes.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

class RecordingZenity {
public:
    explicit RecordingZenity(std::string folder) : folder_(std::move(folder))
    {
        const std::string script = folder_ + "/zenity";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "here='" << folder_ << "'\n"
                                 "n=1\n"
                                 "while [ -e \"$here/call.$n\" ]; do n=$((n + 1)); done\n"
                                 "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$here/args.$n\"\n"
                                 "/bin/mv \"$here/args.$n\" \"$here/call.$n\"\n"
                                 "[ -f \"$here/answer.$n\" ] && /bin/cat \"$here/answer.$n\"\n"
                                 "status=0\n"
                                 "[ -f \"$here/status.$n\" ] && status=$(/bin/cat \"$here/status.$n\")\n"
                                 ": > \"$here/done.$n\"\n"
                                 "exit $status\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }

    // What call `n` prints and its exit status.
    void answer(int n, int status, const std::string& printed = {}) const
    {
        std::ofstream(file("answer", n)) << printed;
        std::ofstream(file("status", n)) << status;
    }
    // Zenity's own answers to a question with an extra Cancel button.
    void answerYes(int n) const { answer(n, 0); }
    void answerNo(int n) const { answer(n, 1); }
    void answerCancel(int n) const { answer(n, 1, "Cancel\n"); }

    bool called(int n) const { return std::filesystem::exists(file("call", n)); }
    // Call n has answered, and the program has had a moment to take the
    // answer (keys typed while a question is up start nothing).
    bool waitForAnswer(int n, int seconds = 30) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!std::filesystem::exists(file("done", n))) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return true;
    }
    // Call n's arguments, one a line; waits for it up to `seconds`, empty
    // when it never came.
    std::string waitForCall(int n, int seconds = 30) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!called(n)) {
            if (std::chrono::steady_clock::now() > deadline)
                return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::ifstream in(file("call", n));
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    const std::string& folder() const { return folder_; }

private:
    std::string file(const char* kind, int n) const { return folder_ + "/" + kind + "." + std::to_string(n); }
    std::string folder_;
};
