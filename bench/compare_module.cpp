// How closely the engine's playback of song files follows libopenmpt's:
// the length of each render and the correlation of their loudness over
// time (RMS in 50 ms windows, in dB), over the whole song and per 10 s
// stretch at its best alignment within 300 ms. Ends with the median of each
// file kind.
//
//   compare_module FILE... [--rate N] [--block N] [--max-seconds S] [--curves FOLDER]
//
// --curves writes each file's two loudness curves to FOLDER/NAME.txt (time,
// ours, reference; one window a line) for a closer look.
#include "offline/loudness.h"
#include "offline/offline_render.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Options {
    std::vector<std::string> files;
    offline::RenderSettings settings;
    std::string curves;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--rate" && more)
            o.settings.rate = std::atoi(argv[++i]);
        else if (a == "--block" && more)
            o.settings.block = std::atoi(argv[++i]);
        else if (a == "--max-seconds" && more)
            o.settings.maxSeconds = std::atof(argv[++i]);
        else if (a == "--curves" && more)
            o.curves = argv[++i];
        else if (!a.empty() && a[0] != '-')
            o.files.push_back(a);
        else
            return false;
    }
    const auto& s = o.settings;
    return !o.files.empty() && s.rate >= 8000 && s.rate <= 384000 && s.block >= 1 && s.maxSeconds > 0.0;
}

std::string kind(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    std::string k = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : k)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

bool writeCurves(const std::string& folder, const std::string& file, const std::vector<double>& ours,
                 const std::vector<double>& reference)
{
    const size_t slash = file.find_last_of('/');
    std::ofstream out(folder + "/" + (slash == std::string::npos ? file : file.substr(slash + 1)) + ".txt");
    for (size_t i = 0; i < std::max(ours.size(), reference.size()); ++i)
        out << i * 0.05 << ' ' << (i < ours.size() ? ours[i] : offline::kSilenceDb) << ' '
            << (i < reference.size() ? reference[i] : offline::kSilenceDb) << '\n';
    return static_cast<bool>(out);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: compare_module FILE... [--rate N] [--block N] [--max-seconds S] [--curves FOLDER]\n");
        return 2;
    }
    const int rate = o.settings.rate;
    std::map<std::string, std::vector<double>> wholeByKind, stretchByKind;
    int failed = 0;
    std::printf("%-44s %9s %9s %7s %7s %7s %7s\n", "file", "ours_s", "openmpt_s", "length", "whole", "stretch",
                "worst");
    for (const std::string& file : o.files) {
        offline::LoudnessCurve ours(rate), theirs(rate);
        const auto mine = offline::renderWithEngine(
            file, o.settings, [&](const float* l, const float* r, size_t n) { ours.add(l, r, n); });
        const auto reference = offline::renderWithOpenmpt(
            file, o.settings, [&](const float* l, const float* r, size_t n) { theirs.add(l, r, n); });
        if (!mine.rendered || !reference.rendered) {
            std::printf("%-44s cannot be rendered by %s\n", file.c_str(), mine.rendered ? "libopenmpt" : "the engine");
            ++failed;
            continue;
        }
        const auto agreement = offline::compareLoudness(ours.decibels(), theirs.decibels());
        const double theirSeconds = reference.seconds(rate);
        std::printf("%-44s %9.2f %9.2f %7.3f %7.3f %7.3f %7.3f\n", file.c_str(), mine.seconds(rate), theirSeconds,
                    theirSeconds > 0.0 ? mine.seconds(rate) / theirSeconds : 0.0, agreement.whole,
                    agreement.stretchMean, agreement.stretchMin);
        if (!o.curves.empty() && !writeCurves(o.curves, file, ours.decibels(), theirs.decibels()))
            std::fprintf(stderr, "compare_module: cannot write the curves of %s to %s\n", file.c_str(),
                         o.curves.c_str());
        wholeByKind[kind(file)].push_back(agreement.whole);
        stretchByKind[kind(file)].push_back(agreement.stretchMean);
    }
    for (const auto& [k, values] : wholeByKind)
        std::printf("median %-5s of %3zu files: whole %.3f, stretch %.3f\n", k.c_str(), values.size(),
                    median(values), median(stretchByKind[k]));
    return failed ? 1 : 0;
}
