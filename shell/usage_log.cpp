#include "shell/usage_log.h"

#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "platform/key_event.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<TesselUsageLog*> openLog{nullptr};

int64_t wallMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The log is ours alone: never follow a link planted at its name.
FILE* openNoFollow(const char* path, int flags, const char* mode)
{
    const int fd = ::open(path, flags | O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    FILE* file = fdopen(fd, mode);
    if (!file)
        ::close(fd);
    return file;
}

void putString(std::string& out, const std::string& text)
{
    const size_t n = text.size() < 255 ? text.size() : 255;
    out += static_cast<char>(n);
    out.append(text, 0, n);
}

void putInt(std::string& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
}

} // namespace

TesselUsageLog* usageLog()
{
    return openLog.load();
}

void logUsageAction(TesselLogAction action, int32_t value)
{
    if (TesselUsageLog* log = openLog.load())
        log->logCommand(action, value);
}

void logControlValue(float value)
{
    if (TesselUsageLog* log = openLog.load())
        log->append(OMBRIX::iDATA(value));
}

bool OMBRIX::iCURSOR::update(int16_t px, int16_t py, int16_t pdx, int16_t pdy)
{
    if (px == x && py == y && pdx == dx && pdy == dy)
        return false;
    x = px;
    y = py;
    dx = pdx;
    dy = pdy;
    if (TesselUsageLog* log = usageLog())
        log->append(*this);
    return true;
}

void setUsageLog(TesselUsageLog* log)
{
    openLog.store(log);
    setUsageSink(log);
}

TesselUsageLog::~TesselUsageLog()
{
    TesselUsageLog* self = this;
    if (openLog.compare_exchange_strong(self, nullptr)) {
        setUsageSink(nullptr);
    }
}

bool TesselUsageLog::open(const TesselLogIdentity& identity)
{
    std::lock_guard<std::mutex> guard(lock_);
    const std::string folder = platform::temporaryFolder();
    path_ = folder.empty() ? std::string() : platform::joinPath(folder, platform::processFileName(getpid(), ".log"));
    std::snprintf(crashPath_, sizeof crashPath_, "%s", path_.c_str());
    previousTime_ = wallMilliseconds();
    position_ = 0;
    if (path_.empty())
        return false;

    std::string header = "v";
    putString(header, identity.hostVendor);
    putString(header, identity.hostProduct);
    putInt(header, identity.hostVersion);
    putString(header, identity.pluginVendor);
    putString(header, identity.pluginProduct);
    putInt(header, identity.pluginVersion);
    FILE* file = openNoFollow(path_.c_str(), O_TRUNC, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    return std::fclose(file) == 0 && written;
}

void TesselUsageLog::store(const OMBRIX::_log& event)
{
    const int64_t now = wallMilliseconds();
    const auto delta = static_cast<uint32_t>(now - previousTime_);
    previousTime_ = now;
    for (int i = 0; i < 4; ++i)
        buffer_[position_++] = static_cast<uint8_t>(delta >> (8 * i));
    position_ += event.payload(buffer_ + position_);
}

void TesselUsageLog::append(const OMBRIX::_log& event)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (event.size() + position_ + 4 > kBufferSize - 1 && position_ > 0)
        flushLocked();
    store(event);
}

bool TesselUsageLog::appendNoWait(const OMBRIX::_log& event)
{
    std::unique_lock<std::mutex> guard(lock_, std::try_to_lock);
    if (!guard.owns_lock() || event.size() + position_ + 4 > kBufferSize - 1)
        return false;
    store(event);
    return true;
}

void TesselUsageLog::flush()
{
    std::lock_guard<std::mutex> guard(lock_);
    flushLocked();
}

void TesselUsageLog::flushLocked()
{
    if (position_ == 0)
        return;
    // Records that cannot reach the file are dropped all the same; logging goes on.
    if (FILE* file = path_.empty() ? nullptr : openNoFollow(path_.c_str(), O_APPEND, "ab")) {
        std::fwrite(buffer_, 1, static_cast<size_t>(position_), file);
        std::fclose(file);
    }
    position_ = 0;
}

void TesselUsageLog::flushForCrash()
{
    TesselUsageLog* log = openLog.load();
    if (!log || log->crashPath_[0] == '\0' || log->position_ <= 0)
        return;
    const int fd = ::open(log->crashPath_, O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    const int n = log->position_ < kBufferSize ? log->position_ : kBufferSize;
    if (::write(fd, log->buffer_, static_cast<size_t>(n)) == n)
        log->position_ = 0;
    ::close(fd);
}

void TesselUsageLog::logCommand(int action, int32_t value)
{
    append(OMBRIX::iCOMMAND(static_cast<uint8_t>(action), value));
}

void TesselUsageLog::logPreferences(const TesselPreferences& preferences)
{
    append(OMBRIX::iPREFS(preferences));
}

void TesselUsageLog::logKey(const TesselKeyEvent& key)
{
    // Holding a modifier repeats it; only its first press is of interest.
    const bool modifier = key.virtualKey >= 54 && key.virtualKey <= 56;
    if (modifier && key.pressCount != 0)
        return;
    append(OMBRIX::iKEYBOARD(key));
}

void TesselUsageLog::logFocus(int page, int item, int state)
{
    const OMBRIX::iFOCUS focus(static_cast<uint8_t>(page), static_cast<uint8_t>(item), static_cast<uint8_t>(state));
    if (focus.page == lastFocus_.page && focus.item == lastFocus_.item && focus.state == lastFocus_.state)
        return;
    lastFocus_ = focus;
    append(lastFocus_);
}

void TesselUsageLog::logMouse(int x, int y, int32_t buttons)
{
    if (buttons == lastMouseButtons_)
        return;
    lastMouseButtons_ = buttons;
    append(OMBRIX::iMOUSE(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint8_t>(buttons)));
}
