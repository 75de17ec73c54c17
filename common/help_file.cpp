#include "common/help_file.h"

#include "platform/system/process_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace help {

namespace {

// Small enough that a destructor waiting on a stopping writer waits briefly.
constexpr size_t kChunk = 64 * 1024;

bool writeAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= size_t(done);
    }
    return true;
}

std::string temporaryPathFor(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    return folder + "/~qrblchm-" + std::to_string(getpid()) + ".tmp";
}

} // namespace

std::string helpFileName()
{
    return platform::processFileName(getpid(), ".chm");
}

bool writeHelpFile(const std::string& path, std::span<const uint8_t> bytes, const std::atomic<bool>& stop)
{
    if (path.empty() || bytes.empty())
        return false;
    const std::string temporary = temporaryPathFor(path);
    ::unlink(temporary.c_str());   // left by an earlier process of the same id
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool good = ::fchmod(fd, 0600) == 0;   // the umask may only take bits away; be exact
    for (size_t offset = 0; good && offset < bytes.size(); offset += kChunk)
        good = !stop.load() && writeAll(fd, bytes.data() + offset, std::min(kChunk, bytes.size() - offset));
    good = ::close(fd) == 0 && good;
    good = good && !stop.load() && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!good)
        ::unlink(temporary.c_str());
    return good;
}

HelpFile::HelpFile(const std::string& folder, std::span<const uint8_t> archive) : archive_(archive)
{
    if (!folder.empty())
        path_ = folder + (folder.ends_with('/') ? "" : "/") + helpFileName();
    if (path_.empty() || archive_.empty()) {
        finished_ = true;
        return;
    }
    try {
        writer_ = std::thread(&HelpFile::run, this);
    } catch (const std::system_error&) {
        finished_ = true;   // no thread: the help stays unavailable
    }
}

HelpFile::~HelpFile()
{
    stop_ = true;
    if (writer_.joinable())
        writer_.join();
    if (!path_.empty())
        ::unlink(path_.c_str());
}

void HelpFile::run()
{
    const bool written = writeHelpFile(path_, archive_, stop_);
    written_ = written;
    std::lock_guard<std::mutex> guard(lock_);
    finished_ = true;
    finishedSignal_.notify_all();
}

bool HelpFile::waitUntilWritten(std::chrono::milliseconds limit) const
{
    std::unique_lock<std::mutex> guard(lock_);
    finishedSignal_.wait_for(guard, limit, [this] { return finished_; });
    return written_.load();
}

} // namespace help
