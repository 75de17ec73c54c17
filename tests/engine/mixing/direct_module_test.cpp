// Real modules (from the Debian packages scripts/install-packages.sh
// installs) played through the engine with the plain mixing path and with
// the direct path: the same output, within 1e-5, frame by frame.
#include "engine/block_fixture.h"
#include "mix_path_scope.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct ModuleSet {
    const char* folder;
    const char* extension;
    const char* package;
};

constexpr ModuleSet kSets[] = {
    {"/usr/share/games/biniax2/music", ".it", "biniax2-data"},
    {"/usr/share/games/njam/data", ".s3m", "njam-data"},
    {"/usr/share/games/circuslinux/data/music", ".mod", "circuslinux-data"},
    {"/usr/share/games/ceferino/music", ".xm", "ceferino-data"},
};

class DirectModules : public BlockTest {
protected:
    // The first `seconds` of the module in blocks of `block` frames, both channels.
    std::vector<float> play(const std::string& path, double seconds, int block)
    {
        engine = std::make_unique<TesselEngine>();
        engine->attachPlugin(&plugin);
        engine->editor = &editor;
        {
            platform::MutexLock lock(engine->song.songLock(), 1000);
            engine->setSampleRate(44100.0f);
        }
        std::vector<float> out;
        EXPECT_NE(engine->loadModule(path), 0) << path;
        EXPECT_TRUE(engine->playSong(-1, 0)) << path;
        for (int done = 0; done < seconds * 44100 && engine->isPlaying(); done += block) {
            EXPECT_TRUE(engine->process(block));
            for (int j = 0; j < 2; ++j)
                out.insert(out.end(), engine->output.channel[j], engine->output.channel[j] + block);
        }
        return out;
    }
};

} // namespace

TEST_F(DirectModules, EveryRealModuleSoundsTheSameOnBothPaths)
{
    int modules = 0;
    for (const ModuleSet& set : kSets) {
        std::vector<std::string> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(set.folder, error))
            if (entry.path().extension() == set.extension)
                files.push_back(entry.path().string());
        ASSERT_FALSE(files.empty()) << "no " << set.extension << " modules in " << set.folder
                                    << ": scripts/install-packages.sh installs " << set.package;
        for (const std::string& file : files) {
            SCOPED_TRACE(file);
            // Blocks of two sizes: one a whole number of tiles, one not.
            const int block = modules % 2 ? 333 : 512;
            std::vector<float> plain;
            {
                MixPathScope scope(TesselMixPath::Plain, 0);
                plain = play(file, 4.0, block);
            }
            ASSERT_GT(plain.size(), 44100u) << "the module played";
            for (int level : directPathLevels()) {
                SCOPED_TRACE(testing::Message() << "level " << level);
                MixPathScope scope(TesselMixPath::Direct, level);
                const std::vector<float> direct = play(file, 4.0, block);
                ASSERT_EQ(plain.size(), direct.size());
                for (size_t i = 0; i < plain.size(); ++i)
                    ASSERT_NEAR(plain[i], direct[i], 1e-5f) << "sample " << i;
            }
            ++modules;
        }
    }
    EXPECT_GE(modules, 15);
}
