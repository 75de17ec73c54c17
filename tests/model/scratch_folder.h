#pragma once
// A fresh folder per test under /tmp, removed with everything in it, and
// helpers for the files tests write and read.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

class ScratchFolder {
public:
    ScratchFolder()
    {
        static std::atomic<int> counter{0};
        path_ = "/tmp/qb-scratch-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        mkdir(path_.c_str(), 0700);
    }
    ~ScratchFolder()
    {
        std::string command = "rm -rf '" + path_ + "'";
        if (std::system(command.c_str()) != 0) {}
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::string full = file(name);
        FILE* f = std::fopen(full.c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return full;
    }

private:
    std::string path_;
};

inline std::string readWholeFile(const std::string& path)
{
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, got);
    std::fclose(f);
    return bytes;
}

inline std::string testData(const std::string& name)
{
    const char* folder = std::getenv("QB_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/" + name;
}

// Sets a file's last-write time to a local calendar time, as an earlier save
// would have left it.
inline void setLocalTime(const std::string& path, int year, int month, int day, int hour, int minute, int second)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    const utimbuf times{when, when};
    ASSERT_EQ(utime(path.c_str(), &times), 0) << path;
}

// What `write` prints to a stream.
template <typename Write>
std::string writtenText(Write write)
{
    char* bytes = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&bytes, &size);
    write(stream);
    std::fclose(stream);
    std::string text(bytes, size);
    std::free(bytes);
    return text;
}
