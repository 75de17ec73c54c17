// How closely the engine's playback of song files follows libopenmpt's:
// the length of each render and the correlation of their loudness over
// time (RMS in 50 ms windows every 10 ms, in dB), over the whole song and
// per 10 s stretch at its best alignment within 300 ms (the mean, the
// median and the worst of the stretches). Ends with the median of each file
// kind and how many files fall below 0.9 and 0.8 by their stretch median.
// The usual measure plays 90 s of each: --max-seconds 90.
//
//   compare_module FILE... [--rate N] [--block N] [--max-seconds S] [--solo CHANNEL] [--curves FOLDER]
//
// --solo plays one channel (counted from 0) in both players, to find the
// channel where two renders part.
// --curves writes each file's two loudness curves to FOLDER/NAME.txt (time,
// ours, reference; one window a line) for a closer look.
#include "offline/reference_comparison.h"

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
        else if (a == "--solo" && more)
            o.settings.soloChannel = std::atoi(argv[++i]);
        else if (a == "--curves" && more)
            o.curves = argv[++i];
        else if (!a.empty() && a[0] != '-')
            o.files.push_back(a);
        else
            return false;
    }
    const auto& s = o.settings;
    return !o.files.empty() && s.rate >= 8000 && s.rate <= 384000 && s.block >= 1 && s.maxSeconds > 0.0 &&
           s.soloChannel < 64;
}

std::string kind(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    std::string k = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : k)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

bool writeCurves(const std::string& folder, const std::string& file, const offline::LoudnessCurve& oursCurve,
                 const offline::LoudnessCurve& referenceCurve)
{
    const std::vector<double>& ours = oursCurve.decibels();
    const std::vector<double>& reference = referenceCurve.decibels();
    const size_t slash = file.find_last_of('/');
    std::ofstream out(folder + "/" + (slash == std::string::npos ? file : file.substr(slash + 1)) + ".txt");
    for (size_t i = 0; i < std::max(ours.size(), reference.size()); ++i)
        out << static_cast<double>(i) * oursCurve.stepSeconds() << ' '
            << (i < ours.size() ? ours[i] : offline::kSilenceDb) << ' '
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
        std::fprintf(stderr, "usage: compare_module FILE... [--rate N] [--block N] [--max-seconds S] [--solo CHANNEL] "
                             "[--curves FOLDER]\n");
        return 2;
    }
    const int rate = o.settings.rate;
    std::map<std::string, std::vector<double>> wholeByKind, stretchByKind, medianByKind;
    int failed = 0;
    std::printf("%-44s %9s %9s %7s %7s %7s %7s %7s\n", "file", "ours_s", "openmpt_s", "length", "whole", "stretch",
                "median", "worst");
    for (const std::string& file : o.files) {
        const offline::ReferenceComparison c = offline::compareWithReference(file, o.settings);
        if (!c.rendered()) {
            std::printf("%-44s cannot be rendered by %s\n", file.c_str(),
                        c.ours.rendered ? "libopenmpt" : "the engine");
            ++failed;
            continue;
        }
        const offline::LoudnessAgreement& a = c.agreement;
        std::printf("%-44s %9.2f %9.2f %7.3f %7.3f %7.3f %7.3f %7.3f%s%s\n", file.c_str(), c.ours.seconds(rate),
                    c.reference.seconds(rate), c.lengthRatio(), a.whole, a.stretchMean, a.stretchMedian,
                    a.stretchMin, c.ours.warning.empty() ? "" : "  warning: ", c.ours.warning.c_str());
        if (!o.curves.empty() && !writeCurves(o.curves, file, c.oursCurve, c.referenceCurve))
            std::fprintf(stderr, "compare_module: cannot write the curves of %s to %s\n", file.c_str(),
                         o.curves.c_str());
        wholeByKind[kind(file)].push_back(a.whole);
        stretchByKind[kind(file)].push_back(a.stretchMean);
        medianByKind[kind(file)].push_back(a.stretchMedian);
    }
    const auto below = [](const std::vector<double>& values, double limit) {
        return std::count_if(values.begin(), values.end(), [limit](double v) { return v < limit; });
    };
    std::vector<double> all;
    for (const auto& [k, values] : wholeByKind) {
        const std::vector<double>& medians = medianByKind[k];
        all.insert(all.end(), medians.begin(), medians.end());
        std::printf("median %-5s of %3zu files: whole %.3f, stretch %.3f, stretch median %.3f (%td below 0.9, %td "
                    "below 0.8)\n",
                    k.c_str(), values.size(), median(values), median(stretchByKind[k]), median(medians),
                    below(medians, 0.9), below(medians, 0.8));
    }
    std::printf("all %zu files: stretch median %.3f (%td below 0.9, %td below 0.8)\n", all.size(), median(all),
                below(all, 0.9), below(all, 0.8));
    return failed ? 1 : 0;
}
