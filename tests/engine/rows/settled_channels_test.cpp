// The row step remembers which channels' blank cells change nothing, and
// passes them without reading their voices again until something marks the
// list. Real modules (from the Debian packages scripts/install-packages.sh
// installs) played with auditions, key releases, stops and restarts in
// between: a remembered channel is always one the full check passes, and
// the song sounds the same as when nothing is remembered.
#include "engine/block_fixture.h"

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr const char* kModules[] = {
    "/usr/share/games/biniax2/music/biniax_common00.it",
    "/usr/share/games/njam/data/ritam.s3m",
    "/usr/share/games/ceferino/music/menu.xm",
};

class SettledChannels : public BlockTest {
protected:
    // Six seconds of the module in blocks of 256 frames, both channels. With
    // `remember` off every block starts with nothing remembered.
    std::vector<float> play(const std::string& path, bool remember)
    {
        engine = std::make_unique<TesselEngine>();
        engine->attachPlugin(&plugin);
        engine->editor = &editor;
        {
            platform::MutexLock lock(engine->song.songLock(), 1000);
            engine->setSampleRate(44100.0f);
        }
        EXPECT_NE(engine->loadModule(path), 0);
        EXPECT_TRUE(engine->playSong(-1, 0));
        std::mt19937 random(7);
        std::vector<float> out;
        for (int block = 0; block < 6 * 44100 / 256; ++block) {
            disturb(random);
            if (!remember)
                engine->busyLists.forgetSettled();
            EXPECT_TRUE(engine->process(256));
            expectRememberedChannelsSettled();
            for (int j = 0; j < 2; ++j)
                out.insert(out.end(), engine->output.channel[j], engine->output.channel[j] + 256);
        }
        return out;
    }

    // Now and then, between blocks, what an editor or a keyboard does.
    void disturb(std::mt19937& random)
    {
        const int channel = static_cast<int>(random() % 16);
        switch (random() % 60) {
        case 0: {
            TesselSubrow key;
            key.pitch = static_cast<int16_t>(48 + random() % 24);
            key.instrument = 1;
            engine->playNote(key, channel);
            engine->stopNote(1, key.pitch);
            break;
        }
        case 1:
            engine->stop();
            EXPECT_TRUE(engine->playSong(-1, 0));
            break;
        case 2:
            engine->stopNow();
            EXPECT_TRUE(engine->playSong(-1, 0));
            break;
        default:
            break;
        }
    }

    void expectRememberedChannelsSettled()
    {
        const uint16_t flags = engine->tickFlags;
        engine->tickFlags = engine->settledTickFlags_;
        for (int c = 0; c < kChannels; ++c) {
            if (engine->busyLists.settled(c)) {
                EXPECT_TRUE(engine->blankCellSettled(c)) << "channel " << c;
            }
        }
        engine->tickFlags = flags;
    }
};

} // namespace

TEST_F(SettledChannels, ARememberedChannelIsSettledAndTheSongSoundsTheSame)
{
    for (const char* module : kModules) {
        SCOPED_TRACE(module);
        ASSERT_TRUE(std::filesystem::exists(module)) << "scripts/install-packages.sh installs the game data packages";
        const std::vector<float> remembered = play(module, true);
        const std::vector<float> plain = play(module, false);
        ASSERT_EQ(remembered.size(), plain.size());
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_EQ(remembered[i], plain[i]) << "sample " << i;
    }
}
