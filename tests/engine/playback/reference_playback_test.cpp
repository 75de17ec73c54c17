// Every real module the tests install, played by the engine and by
// libopenmpt: the lengths and the loudness over time must stay as close as
// they are now. The figures are what bench/compare_set.sh printed when they
// were set; where they fall short of 1, the differences are the importers'
// and the engine's by design (global volume and the volume-column effects
// that meet an effect left out, exact tick lengths where the reference rounds
// them to whole frames, slides in linear pitch rather than Amiga periods, the
// tuning of MOD notes).

#include "offline/reference_comparison.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

namespace {

struct RealModule {
    const char* path;
    const char* package;
    double length;    // our length over the reference's
    double whole;     // loudness correlation over the whole song
    double stretch;   // mean over 10 s stretches at their best alignment
};

constexpr double kLengthMargin = 0.005;
constexpr double kCorrelationMargin = 0.02;

const RealModule kModules[] = {
    {"/usr/share/games/biniax2/music/biniax_common00.it", "biniax2-data", 1.000, 0.999, 0.995},
    {"/usr/share/games/biniax2/music/biniax_common01.it", "biniax2-data", 1.000, 0.998, 0.962},
    {"/usr/share/games/biniax2/music/biniax_common02.it", "biniax2-data", 1.000, 0.995, 0.990},
    {"/usr/share/games/biniax2/music/biniax_common03.it", "biniax2-data", 1.000, 0.999, 0.999},
    {"/usr/share/games/biniax2/music/biniax_common04.it", "biniax2-data", 1.000, 0.999, 0.999},
    {"/usr/share/games/biniax2/music/biniax_common05.it", "biniax2-data", 1.000, 0.999, 0.997},
    {"/usr/share/games/biniax2/music/biniax_common06.it", "biniax2-data", 1.000, 0.999, 0.998},
    {"/usr/share/games/biniax2/music/biniax_common07.it", "biniax2-data", 1.000, 0.998, 0.996},
    {"/usr/share/games/ceferino/music/menu.xm", "ceferino-data", 0.999, 0.975, 0.980},
    {"/usr/share/games/circuslinux/data/music/finally.mod", "circuslinux-data", 1.000, 0.998, 0.954},
    {"/usr/share/games/circuslinux/data/music/hiscore.mod", "circuslinux-data", 1.001, 0.999, 0.998},
    {"/usr/share/games/circuslinux/data/music/hiscreen.mod", "circuslinux-data", 1.003, 0.979, 0.979},
    {"/usr/share/games/circuslinux/data/music/kaupunki.mod", "circuslinux-data", 1.000, 0.991, 0.988},
    {"/usr/share/games/circuslinux/data/music/klovninarki.mod", "circuslinux-data", 1.000, 0.989, 0.986},
    // Sample mode: cell instrument n plays sample n.
    {"/usr/share/games/gltron/music/song_revenge_of_cats.it", "gltron", 1.000, 0.632, 0.973},
    {"/usr/share/games/heroes/mod/endscroll.xm", "heroes-sound-tracks", 1.000, 0.641, 0.939},
    {"/usr/share/games/heroes/mod/heroes01.xm", "heroes-sound-tracks", 1.000, 0.695, 0.978},
    {"/usr/share/games/heroes/mod/heroes02.xm", "heroes-sound-tracks", 1.001, 0.248, 0.833},
    {"/usr/share/games/heroes/mod/heroes03.xm", "heroes-sound-tracks", 0.999, 0.900, 0.991},
    {"/usr/share/games/heroes/mod/heroes04.xm", "heroes-sound-tracks", 1.000, 0.630, 0.984},
    {"/usr/share/games/heroes/mod/heroes05.xm", "heroes-sound-tracks", 1.000, 0.994, 0.991},
    {"/usr/share/games/heroes/mod/heroes06.xm", "heroes-sound-tracks", 1.000, 0.759, 0.861},
    {"/usr/share/games/heroes/mod/heroes07.xm", "heroes-sound-tracks", 1.000, 0.590, 0.928},
    {"/usr/share/games/heroes/mod/heroes08.xm", "heroes-sound-tracks", 0.999, 0.888, 0.990},
    {"/usr/share/games/heroes/mod/heroes09.xm", "heroes-sound-tracks", 1.000, 0.770, 0.988},
    {"/usr/share/games/heroes/mod/heroes10.xm", "heroes-sound-tracks", 1.000, 0.648, 0.986},
    {"/usr/share/games/heroes/mod/intro.xm", "heroes-sound-tracks", 1.004, 0.992, 0.981},
    {"/usr/share/games/heroes/mod/menu.xm", "heroes-sound-tracks", 1.000, 0.626, 0.973},
    // A held drone dominates: its loop's small ripples part with the tuning of the MOD notes.
    {"/usr/share/games/ironseed/sound/SECTOR.MOD", "ironseed-data", 1.001, 0.901, 0.691},
    // Looped drones with slides in linear pitch rather than Amiga periods.
    {"/usr/share/games/madbomber/music/fdn-arab.s3m", "madbomber-data", 1.000, 0.950, 0.799},
    {"/usr/share/games/njam/data/dali.xm", "njam-data", 1.000, 0.999, 0.999},
    {"/usr/share/games/njam/data/ritam.s3m", "njam-data", 1.000, 1.000, 1.000},
    // The order list names a pattern the file lacks: 64 empty rows here, skipped there.
    {"/usr/share/games/njam/data/satisfy.xm", "njam-data", 1.036, 0.999, 0.998},
    // Volume-column slides; the rest is volume-column effects beside an effect.
    {"/usr/share/games/rafkill/music/song1.xm", "rafkill-data", 1.000, 0.652, 0.730},
    // 272 sample headers, most of them empty notes of the author: the 32 with sound get slots.
    // The order list ends with a pattern the file lacks: 64 empty rows here, skipped there.
    {"/usr/share/games/rafkill/music/song4.xm", "rafkill-data", 1.015, 0.822, 0.886},
    // Held notes whose volume envelope ends give way to the next note.
    {"/usr/share/games/vodovod/flow.xm", "vodovod", 1.000, 0.999, 1.000},
};

class ReferencePlayback : public testing::TestWithParam<RealModule> {};

// "heroes_sound_tracks_heroes01_xm": package and file name, letters and digits only.
std::string testName(const testing::TestParamInfo<RealModule>& info)
{
    std::string name = std::string(info.param.package) + "_" +
                       std::filesystem::path(info.param.path).filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

} // namespace

TEST_P(ReferencePlayback, StaysAsCloseToTheReferencePlayer)
{
    const RealModule& m = GetParam();
    ASSERT_TRUE(std::filesystem::exists(m.path))
        << m.path << " is missing: install the Debian package " << m.package << " (scripts/install-packages.sh)";
    const offline::ReferenceComparison c = offline::compareWithReference(m.path, offline::RenderSettings{});
    ASSERT_TRUE(c.ours.rendered) << "the engine cannot play it";
    ASSERT_TRUE(c.reference.rendered) << "libopenmpt cannot play it";
    EXPECT_NEAR(c.lengthRatio(), m.length, kLengthMargin);
    EXPECT_GE(c.agreement.whole, m.whole - kCorrelationMargin);
    EXPECT_GE(c.agreement.stretchMean, m.stretch - kCorrelationMargin);
}

INSTANTIATE_TEST_SUITE_P(InstalledModules, ReferencePlayback, testing::ValuesIn(kModules), testName);
