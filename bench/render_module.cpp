// Offline render of one song file: how fast the engine plays it, and what
// comes out (peak, rms, optionally a 32-bit float WAV). With
// --compare-openmpt the same file is also rendered with libopenmpt in the
// same run, for a speed ratio against a known reference player.
//
//   render_module FILE [--rate N] [--block N] [--max-seconds S] [--out FILE.wav] [--compare-openmpt]
//                 [--repeat N]
//
// With --repeat N each player renders the song N times, in turn, and its
// fastest render is the time quoted: a busy machine slows single renders.
#include "offline/offline_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string file;
    int rate = 44100;
    int block = 512;
    double maxSeconds = 600.0;
    std::string out;
    bool compare = false;
    int repeat = 1;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--rate" && more)
            o.rate = std::atoi(argv[++i]);
        else if (a == "--block" && more)
            o.block = std::atoi(argv[++i]);
        else if (a == "--max-seconds" && more)
            o.maxSeconds = std::atof(argv[++i]);
        else if (a == "--out" && more)
            o.out = argv[++i];
        else if (a == "--compare-openmpt")
            o.compare = true;
        else if (a == "--repeat" && more)
            o.repeat = std::atoi(argv[++i]);
        else if (!a.empty() && a[0] != '-' && o.file.empty())
            o.file = a;
        else
            return false;
    }
    return !o.file.empty() && o.rate >= 8000 && o.rate <= 384000 && o.block >= 1 && o.maxSeconds > 0.0 &&
           o.repeat >= 1;
}

// What a render produced; the frames themselves only when they are written out.
struct Rendered {
    bool keep = false;
    double peak = 0.0;
    double sumOfSquares = 0.0;
    std::vector<float> left, right;
    offline::RenderResult run;

    void add(const float* l, const float* r, size_t n)
    {
        // Sums in locals: through the members every frame would wait on the last one's store.
        double p = peak;
        double sum = sumOfSquares;
        for (size_t i = 0; i < n; ++i) {
            p = std::max({p, std::fabs(static_cast<double>(l[i])), std::fabs(static_cast<double>(r[i]))});
            sum += static_cast<double>(l[i]) * l[i] + static_cast<double>(r[i]) * r[i];
        }
        peak = p;
        sumOfSquares = sum;
        if (keep) {
            left.insert(left.end(), l, l + n);
            right.insert(right.end(), r, r + n);
        }
    }
    offline::FrameSink sink()
    {
        return [this](const float* l, const float* r, size_t n) { add(l, r, n); };
    }
    size_t frames() const { return run.frames; }
    double seconds(int rate) const { return run.seconds(rate); }
    double rms() const
    {
        return frames() ? std::sqrt(sumOfSquares / (2.0 * static_cast<double>(frames()))) : 0.0;
    }
};

void put32(std::ofstream& s, uint32_t v)
{
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    s.write(b, 4);
}

bool writeWav(const std::string& path, const Rendered& r, int rate)
{
    std::ofstream s(path, std::ios::binary);
    if (!s)
        return false;
    const auto frames = static_cast<uint32_t>(r.frames());
    const uint32_t data = frames * 8;
    s.write("RIFF", 4);
    put32(s, 36 + data);
    s.write("WAVEfmt ", 8);
    put32(s, 16);
    put32(s, 3 | (2u << 16));   // IEEE float, two channels
    put32(s, static_cast<uint32_t>(rate));
    put32(s, static_cast<uint32_t>(rate) * 8);
    put32(s, 8 | (32u << 16));  // block align, bits
    s.write("data", 4);
    put32(s, data);
    for (uint32_t i = 0; i < frames; ++i) {
        s.write(reinterpret_cast<const char*>(&r.left[i]), 4);
        s.write(reinterpret_cast<const char*>(&r.right[i]), 4);
    }
    return static_cast<bool>(s);
}

double realtimeFactor(const Rendered& r, int rate)
{
    return r.run.cpuSeconds > 0.0 ? r.seconds(rate) / r.run.cpuSeconds : 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: render_module FILE [--rate N] [--block N] [--max-seconds S] [--out FILE.wav] "
                             "[--compare-openmpt] [--repeat N]\n");
        return 2;
    }
    const offline::RenderSettings settings{o.rate, o.block, o.maxSeconds};
    Rendered ours;
    ours.keep = !o.out.empty();
    ours.run = offline::renderWithEngine(o.file, settings, ours.sink());
    if (!ours.run.rendered) {
        std::fprintf(stderr, "render_module: cannot load or play %s\n", o.file.c_str());
        return 1;
    }
    if (!ours.run.warning.empty())
        std::fprintf(stderr, "render_module: loaded with a warning:%s\n", ours.run.warning.c_str());
    Rendered theirs;
    if (o.compare) {
        theirs.run = offline::renderWithOpenmpt(o.file, settings, theirs.sink());
        if (!theirs.run.rendered) {
            std::fprintf(stderr, "render_module: libopenmpt cannot load %s\n", o.file.c_str());
            return 1;
        }
    }
    const offline::FrameSink ignore = [](const float*, const float*, size_t) {};
    for (int i = 1; i < o.repeat; ++i) {
        ours.run.cpuSeconds = std::min(ours.run.cpuSeconds, offline::renderWithEngine(o.file, settings, ignore).cpuSeconds);
        if (o.compare)
            theirs.run.cpuSeconds =
                std::min(theirs.run.cpuSeconds, offline::renderWithOpenmpt(o.file, settings, ignore).cpuSeconds);
    }

    std::printf("file: %s\nrate: %d\nblock: %d\n", o.file.c_str(), o.rate, o.block);
    std::printf("song_seconds: %.3f\ncpu_seconds: %.3f\n", ours.seconds(o.rate), ours.run.cpuSeconds);
    std::printf("realtime_factor: %.1f\npeak: %.6f\nrms: %.6f\n", realtimeFactor(ours, o.rate), ours.peak, ours.rms());
    if (!o.out.empty() && !writeWav(o.out, ours, o.rate)) {
        std::fprintf(stderr, "render_module: cannot write %s\n", o.out.c_str());
        return 1;
    }
    if (o.compare) {
        const double theirFactor = realtimeFactor(theirs, o.rate);
        std::printf("openmpt_seconds: %.3f\nopenmpt_cpu_seconds: %.3f\nspeed_ratio: %.3f\n",
                    theirs.seconds(o.rate), theirs.run.cpuSeconds,
                    theirFactor > 0.0 ? realtimeFactor(ours, o.rate) / theirFactor : 0.0);
    }
    return 0;
}
