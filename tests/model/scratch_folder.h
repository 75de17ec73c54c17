#pragma once
// A fresh folder per test under /tmp, removed with everything in it.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
