#pragma once
// A private temporary folder of the test's own (the one the program's
// temporaryFolder() then gives), no proxy between libcurl and the loopback
// server, and readers for the report zips.

#include "model/scratch_folder.h"
#include "model/zip/zip_helpers.h"
#include "platform/system/folders.h"
#include "support/loopback_http_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

// While it lives, the program's temporary folder is a scratch folder of its
// own and libcurl sees no proxy.
class PrivateTemporaryFolder {
public:
    PrivateTemporaryFolder()
    {
        const char* before = std::getenv("XDG_RUNTIME_DIR");
        savedRuntime_ = before ? before : "";
        setenv("XDG_RUNTIME_DIR", scratch_.path().c_str(), 1);
        for (const char* proxy : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
            unsetenv(proxy);
        path_ = platform::temporaryFolder();
    }
    ~PrivateTemporaryFolder() { setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1); }
    PrivateTemporaryFolder(const PrivateTemporaryFolder&) = delete;
    PrivateTemporaryFolder& operator=(const PrivateTemporaryFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    ScratchFolder scratch_;
    std::string savedRuntime_;
    std::string path_;
};

class ReportFolderTest : public ::testing::Test {
protected:
    PrivateTemporaryFolder temporary;
    const std::string folder = temporary.path();

    void SetUp() override { ASSERT_FALSE(folder.empty()); }

    std::string file(const std::string& name) const { return platform::joinPath(folder, name); }
    std::string put(const std::string& name, const std::string& bytes) const
    {
        const std::string path = file(name);
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }
    // Names of the files in the folder, sorted.
    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir))
                if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                    names.emplace_back(entry->d_name);
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

inline std::vector<std::string> zipEntryNames(const std::string& zip)
{
    ZipEntryList list;
    std::vector<std::string> names;
    if (zipListEntries(zip.c_str(), list))
        for (const ZipEntry& entry : list.entries)
            names.emplace_back(entry.name);
    return names;
}

inline std::string zipEntryText(const std::string& zip, const std::string& entry)
{
    const std::string out = zip + ".entry";
    if (!zipExtractFile(zip.c_str(), out.c_str(), entry.c_str()))
        return "(missing)";
    std::string text = readWholeFile(out);
    std::remove(out.c_str());
    return text;
}

inline unsigned fileMode(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 0777) : 0;
}
