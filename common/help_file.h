#pragma once
// The help archive on disk. The editor's constructor starts a thread that
// writes the embedded archive into the private temporary folder, named by
// process id so that two hosts never share one file; the pages are read from
// that file. The file is written under a temporary name with mode 0600 and
// renamed into place, so a reader never meets half a file.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace help {

// How long an opener waits for the writer before it gives up on a page.
constexpr std::chrono::milliseconds kFileWait{3000};

// "Quorbel-<pid>.chm".
std::string helpFileName();

// Writes `bytes` to `path` through a temporary file beside it; false, with
// nothing left behind, when anything fails or `stop` is raised on the way.
bool writeHelpFile(const std::string& path, std::span<const uint8_t> bytes, const std::atomic<bool>& stop);

class HelpFile {
public:
    // Starts writing `archive` (which must outlive this object, as the
    // embedded resource does) into `folder`. An empty archive or folder
    // writes nothing.
    HelpFile(const std::string& folder, std::span<const uint8_t> archive);
    // Stops the writer, joins it and deletes the file.
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    // Where the file is (or will be); empty without a folder.
    const std::string& path() const { return path_; }
    // True once the whole file is in place.
    bool isWritten() const { return written_.load(); }
    // Editor thread: waits at most `limit` for the writer to finish; true
    // when the file is in place. Returns at once when the writer failed.
    bool waitUntilWritten(std::chrono::milliseconds limit = kFileWait) const;

private:
    void run();

    std::string path_;
    std::span<const uint8_t> archive_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> written_{false};
    mutable std::mutex lock_;
    mutable std::condition_variable finishedSignal_;
    bool finished_ = false;   // under lock_
    std::thread writer_;
};

} // namespace help
