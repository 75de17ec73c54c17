#include "host/audio/wav_export.h"

#include "host/audio/wav_file.h"
#include "platform/system/aligned_memory.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace host {
namespace {

VstIntPtr dispatch(AEffect* effect, int32_t opcode, VstIntPtr value = 0, float opt = 0.0f)
{
    return effect->dispatcher(effect, opcode, 0, value, nullptr, opt);
}

struct Buses {
    Buses()
    {
        for (float*& bus : data)
            bus = static_cast<float*>(platform::alignedAlloc(kExportBlock * sizeof(float)));
    }
    ~Buses()
    {
        for (float* bus : data)
            platform::alignedFree(bus);
    }
    bool valid() const
    {
        for (float* bus : data)
            if (!bus)
                return false;
        return true;
    }
    void render(AEffect* effect)
    {
        for (float* bus : data)
            std::fill(bus, bus + kExportBlock, 0.0f);
        effect->process(effect, nullptr, data, kExportBlock);
    }
    float* data[kBuses] = {};
};

// Writes the sizes into the header, flushes and closes; the first error
// (errno) of the export, 0 when the file is whole as far as the system can tell.
int finishFile(std::FILE* file, uint32_t frames, int writeError)
{
    int error = writeError;
    if (!patchWavSizes(file, frames) && !error)
        error = errno ? errno : EIO;
    // Buffered bytes reach the disk only here: a full disk may first show now.
    if (std::fflush(file) != 0 && !error)
        error = errno ? errno : EIO;
    if (std::fclose(file) != 0 && !error)
        error = errno ? errno : EIO;
    return error;
}

// A file cut short is no export: it goes, unless it is no plain file (a
// device named as the target must stay).
void discardFile(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        std::remove(path.c_str());
}

} // namespace

std::string exportClock(double samplePos, double sampleRate)
{
    const double seconds = sampleRate > 0.0 ? samplePos / sampleRate : 0.0;
    const auto whole = static_cast<long long>(seconds);
    const auto millis = static_cast<long long>(seconds * 1000.0) % 1000;
    char text[64];
    std::snprintf(text, sizeof text, "[%lld:%02lld.%03lld]", whole / 60, whole % 60, millis);
    return text;
}

WavExporter::WavExporter(HostState& state, TitleSink titles)
    : state_(state), titles_(std::move(titles)), frameLimit_(kWavMaxFrames)
{
}

WavExporter::~WavExporter() { stop(); }

bool WavExporter::busy() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return busy_;
}

bool WavExporter::press(int mode, const std::string& path)
{
    if (busy()) {
        stop();
        return false;
    }
    if (thread_.joinable())
        thread_.join();
    if (!state_.effect)
        return false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        busy_ = true;
        stopRequested_ = false;
    }
    thread_ = std::thread([this, mode, path] {
        const ExportResult result = run(mode, path);
        std::lock_guard<std::mutex> guard(lock_);
        last_ = result;
        busy_ = false;
    });
    return true;
}

void WavExporter::stop()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopRequested_ = true;
    }
    state_.exporting = false;
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

ExportResult WavExporter::join()
{
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> guard(lock_);
    return last_;
}

ExportResult WavExporter::run(int mode, const std::string& path)
{
    AEffect* effect = state_.effect;
    if (!effect || !effect->process)
        return {};
    // Without a stream the plug-in has not been told a rate yet.
    if (!(state_.timeInfo.sampleRate > 0.0)) {
        state_.timeInfo.sampleRate = state_.settings.sampleRate > 0.0 ? state_.settings.sampleRate : 44100.0;
        dispatch(effect, effSetSampleRate, 0, static_cast<float>(state_.timeInfo.sampleRate));
    }
    const double rate = state_.timeInfo.sampleRate;
    std::FILE* file = std::fopen(path.c_str(), "wb+");
    if (!file) {
        ExportResult result;
        result.failure = std::string("Export failed: ") + std::strerror(errno) + ".";
        return result;
    }
    const auto header = wavHeader(0, static_cast<uint32_t>(rate + 0.0001));
    int writeError = 0;
    ExportResult result;
    if (std::fwrite(header.data(), 1, header.size(), file) != header.size())
        writeError = errno ? errno : EIO;
    else
        result = render(mode, file, writeError);
    writeError = finishFile(file, result.frames, writeError);

    char text[128];
    if (writeError) {
        discardFile(path);
        result.failure = std::string("Export failed: ") + std::strerror(writeError) + ".";
        std::snprintf(text, sizeof text, "%s", result.failure.c_str());
    } else {
        std::snprintf(text, sizeof text, "Export complete %s in %.2fs.",
                      exportClock(result.frames, rate).c_str(), result.seconds);
    }
    holdTitle(text);
    return result;
}

void WavExporter::holdTitle(const std::string& text)
{
    title(text, false);
    std::unique_lock<std::mutex> guard(lock_);
    wake_.wait_for(guard, std::chrono::milliseconds(titleHoldMs_), [this] { return stopRequested_; });
    guard.unlock();
    title("Quorbel", false);
}

ExportResult WavExporter::render(int mode, std::FILE* file, int& writeError)
{
    ExportResult result;
    Buses buses;
    if (!buses.valid())
        return result;
    std::unique_lock<std::timed_mutex> audio(state_.audioMutex, std::defer_lock);
    if (!audio.try_lock_for(std::chrono::milliseconds(kAudioMutexWaitMs)))
        return result;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (stopRequested_)
            return result;
    }
    AEffect* effect = state_.effect;
    VstTimeInfo& time = state_.timeInfo;

    const int previousBlockSize = state_.blockSize;
    state_.blockSize = kExportBlock;
    dispatch(effect, effSetBlockSize, kExportBlock);
    time.flags = kVstTransportChanged;
    buses.render(effect);   // lets the plug-in see the transport change; not written
    time.flags = mode == 1 ? 3 : 0x10003;
    time.samplePos = 0.0;
    const auto start = std::chrono::steady_clock::now();
    state_.exporting = true;

    std::vector<uint8_t> out(kExportBlock * kWavFrameBytes);
    for (;;) {
        if (time.flags == 0 && dispatch(effect, kPluginIsPlaying) == 0)
            break;
        if (!state_.exporting)
            break;
        if (time.samplePos + kExportBlock > static_cast<double>(frameLimit_))
            break;
        title("Exporting ... " + exportClock(time.samplePos, time.sampleRate), true);
        buses.render(effect);
        uint8_t* p = out.data();
        for (int i = 0; i < kExportBlock; ++i)
            for (int bus = 0; bus < 2; ++bus) {
                const auto v = static_cast<uint32_t>(exportSample(buses.data[bus][i]));
                *p++ = static_cast<uint8_t>(v);
                *p++ = static_cast<uint8_t>(v >> 8);
                *p++ = static_cast<uint8_t>(v >> 16);
                *p++ = static_cast<uint8_t>(v >> 24);
            }
        // A full disk ends the export; the caller then removes the file.
        if (std::fwrite(out.data(), 1, out.size(), file) != out.size()) {
            writeError = errno ? errno : EIO;
            break;
        }
        time.samplePos += kExportBlock;
        time.flags = 0;
    }

    state_.exporting = false;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    time.flags = kVstTransportChanged;
    buses.render(effect);
    time.flags = 0;
    state_.blockSize = previousBlockSize;
    if (previousBlockSize > 0)
        dispatch(effect, effSetBlockSize, previousBlockSize);
    audio.unlock();

    result.rendered = true;
    result.frames = static_cast<uint32_t>(time.samplePos + 0.0001);
    return result;
}

} // namespace host
