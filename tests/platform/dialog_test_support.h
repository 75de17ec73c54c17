#pragma once
// Helpers of the dialog tests: a scratch folder, a PATH that holds only
// stand-in dialog programs, and typing into the headless system.

#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qb-dialogs-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// PATH is the folder alone while it lives.
class PathOverride {
public:
    explicit PathOverride(const std::string& folder)
    {
        if (const char* old = std::getenv("PATH"))
            old_ = old;
        setenv("PATH", folder.c_str(), 1);
    }
    ~PathOverride() { setenv("PATH", old_.c_str(), 1); }

private:
    std::string old_;
};

// A dialog program that writes its arguments, each ended by a NUL, to
// args.log beside it, prints the file answer.txt and exits with the status
// in status.txt (0 without one).
inline void writeStandIn(const ScratchFolder& folder, const std::string& name)
{
    const std::string script = folder / name;
    writeFile(script, "#!/bin/sh\n"
                      "here=\"" + folder.path() + "\"\n"
                      "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$here/args.log\"\n"
                      "[ -f \"$here/answer.txt\" ] && /bin/cat \"$here/answer.txt\"\n"
                      "[ -f \"$here/status.txt\" ] && exit $(/bin/cat \"$here/status.txt\")\n"
                      "exit 0\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

inline std::vector<std::string> recordedArguments(const ScratchFolder& folder)
{
    std::vector<std::string> args;
    const std::string log = readFile(folder / "args.log");
    size_t start = 0;
    for (size_t end; (end = log.find('\0', start)) != std::string::npos; start = end + 1)
        args.push_back(log.substr(start, end - start));
    return args;
}

// Lower-case letters, digits, '/', '.', '-', '#' and blanks, typed as UK keys.
inline void typeText(platform::HeadlessWindowSystem& system, const std::string& text)
{
    for (char c : text) {
        uint8_t key = 0;
        if (c >= 'a' && c <= 'z')
            key = static_cast<uint8_t>(c - 'a' + 'A');
        else if (c >= '0' && c <= '9')
            key = static_cast<uint8_t>(c);
        else if (c == '/')
            key = platform::kWinOem2;
        else if (c == '.')
            key = platform::kWinOemPeriod;
        else if (c == '-')
            key = platform::kWinOemMinus;
        else if (c == ' ')
            key = platform::kWinSpace;
        else if (c == '#')
            key = platform::kWinOem7;
        ASSERT_NE(key, 0) << "cannot type '" << c << "'";
        system.pressKey(key);
    }
}
