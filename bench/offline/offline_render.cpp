#include "offline/offline_render.h"

#include "engine/engine.h"
#include "engine/song_files/module_file.h"
#include "model/file_kind.h"
#include "platform/status_text.h"

#include <libopenmpt/libopenmpt.h>
#include <libopenmpt/libopenmpt_ext.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <vector>
#include <xmmintrin.h>

namespace offline {
namespace {

// The plug-in and editor the engine's block asks for: no host time
// information, so the song keeps its own tempo.
class OfflineHost : public TesselPluginLink, public TesselEditorLink {
public:
    OfflineHost(TesselEngine& engine, float rate) : engine_(engine)
    {
        engine.attachPlugin(this);
        engine.editor = this;
        platform::MutexLock lock(engine.song.songLock(), 1000);
        engine.setSampleRate(rate);
    }
    ~OfflineHost()
    {
        engine_.stopNow();
        engine_.editor = nullptr;
        engine_.plugin = nullptr;
    }
    OfflineHost(const OfflineHost&) = delete;
    OfflineHost& operator=(const OfflineHost&) = delete;

    intptr_t canHostDo(const char*) override { return 0; }
    const char* hostVendor() const override { return ""; }
    int32_t hostBlockSize() const override { return blockSize_; }
    void noteHostBlockSize(int32_t frames) override { blockSize_ = frames; }

private:
    TesselEngine& engine_;
    int32_t blockSize_ = 0;
};

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Rendered frames handed to the sink a stretch at a time, with the clock
// stopped: the time counted is the player's render and the copy of its
// frames, not what the caller's sink does with them.
class TimedStretch {
public:
    explicit TimedStretch(const FrameSink& sink) : sink_(sink), left_(kFrames), right_(kFrames) {}
    void start() { begin_ = threadCpuSeconds(); }
    // Blocks of at most kFrames frames.
    void add(const float* l, const float* r, size_t n)
    {
        if (count_ + n > kFrames)
            flush();
        std::copy(l, l + n, left_.data() + count_);
        std::copy(r, r + n, right_.data() + count_);
        count_ += n;
    }
    // Hands over what is left; the seconds counted.
    double finish()
    {
        flush();
        return seconds_;
    }

    static constexpr size_t kFrames = 65536;

private:
    void flush()
    {
        const double now = threadCpuSeconds();
        seconds_ += now - begin_;
        if (count_ > 0)
            sink_(left_.data(), right_.data(), count_);
        count_ = 0;
        begin_ = threadCpuSeconds();
    }

    const FrameSink& sink_;
    std::vector<float> left_, right_;
    size_t count_ = 0;
    double begin_ = 0.0;
    double seconds_ = 0.0;
};

size_t capFrames(const RenderSettings& settings)
{
    return static_cast<size_t>(settings.maxSeconds * settings.rate);
}

// Notices the song coming back to an order position it has played before:
// where a looping song's length ends.
class OrderWatch {
public:
    // False once the position just entered was played before.
    bool enter(int order)
    {
        if (order == current_)
            return true;
        current_ = order;
        if (order < 0 || order >= kOrderEntries)
            return true;
        if (played_[static_cast<size_t>(order)])
            return false;
        played_[static_cast<size_t>(order)] = true;
        return true;
    }

private:
    int current_ = -1;
    std::vector<bool> played_ = std::vector<bool>(kOrderEntries, false);
};

} // namespace

RenderResult renderWithEngine(const std::string& path, const RenderSettings& settings, const FrameSink& sink)
{
    // The engine's block sets flush-to-zero on this thread; the caller gets its own mode back.
    struct FloatModeKeeper {
        unsigned int saved = _mm_getcsr();
        ~FloatModeKeeper() { _mm_setcsr(saved); }
    } floatMode;
    RenderResult result;
    TesselEngine engine;
    if (!engine.usable())
        return result;
    OfflineHost host(engine, static_cast<float>(settings.rate));
    // A warning (samples beyond the song's slots, 4-bit samples) still leaves
    // a playable song; a file the engine cannot read leaves the empty one,
    // which is no render of it.
    result.loadResult = engine.loadModule(path);
    if (!songLoadIsWhole(songFileKind(path), result.loadResult)) {
        result.loadResult = 0;
        return result;
    }
    if (result.loadResult == 1)
        result.warning = platform::statusText();
    if (settings.soloChannel >= 0)
        for (int c = 0; c < kChannels; ++c)
            engine.song.channels[static_cast<size_t>(c)].mute = c != settings.soloChannel;
    if (!engine.playSong(-1, 0))
        return result;
    const size_t cap = capFrames(settings);
    const auto block = static_cast<size_t>(std::max(settings.block, 1));
    OrderWatch orders;
    TimedStretch stretch(sink);
    stretch.start();
    bool going = true;
    while (going && result.frames < cap && engine.isPlaying()) {
        const int part = static_cast<int>(std::min({block, cap - result.frames, size_t{TesselBusBuffer::kFrames}}));
        if (!engine.process(part)) {
            result.cpuSeconds = stretch.finish();
            return result;
        }
        stretch.add(engine.output.channel[0], engine.output.channel[1], static_cast<size_t>(part));
        result.frames += static_cast<size_t>(part);
        going = orders.enter(engine.currentOrder);
    }
    result.cpuSeconds = stretch.finish();
    result.rendered = true;
    return result;
}

RenderResult renderWithOpenmpt(const std::string& path, const RenderSettings& settings, const FrameSink& sink)
{
    RenderResult result;
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    openmpt_module_ext* ext = openmpt_module_ext_create_from_memory(bytes.data(), bytes.size(), nullptr, nullptr,
                                                                    nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!ext)
        return result;
    openmpt_module* mod = openmpt_module_ext_get_module(ext);
    result.loadResult = 2;
    openmpt_module_ext_interface_interactive interactive{};
    if (settings.soloChannel >= 0 &&
        openmpt_module_ext_get_interface(ext, LIBOPENMPT_EXT_C_INTERFACE_INTERACTIVE, &interactive,
                                         sizeof interactive))
        for (int32_t c = 0; c < openmpt_module_get_num_channels(mod); ++c)
            interactive.set_channel_mute_status(ext, c, c != settings.soloChannel);
    openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 2);   // linear
    const size_t cap = capFrames(settings);
    std::vector<float> left(std::min(static_cast<size_t>(std::max(settings.block, 1)), TimedStretch::kFrames));
    std::vector<float> right(left.size());
    TimedStretch stretch(sink);
    stretch.start();
    while (result.frames < cap) {
        const size_t want = std::min(left.size(), cap - result.frames);
        const size_t got = openmpt_module_read_float_stereo(mod, settings.rate, want, left.data(), right.data());
        if (got == 0)
            break;
        stretch.add(left.data(), right.data(), got);
        result.frames += got;
    }
    result.cpuSeconds = stretch.finish();
    result.rendered = true;
    openmpt_module_ext_destroy(ext);
    return result;
}

} // namespace offline
