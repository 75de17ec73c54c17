#pragma once
// A real engine behind the fake editor for the file box, and a scratch
// folder of everything a browser meets: mixed-case folders and files,
// hidden ones, a FIFO, links good and broken, a WAV, a module the engine
// saved with samples in slots 1 and 3, an instrument file, another-format
// module and an archive with a dated sample inside. Every file and folder
// is dated 9 July 2021, 08:05 local time.

#include "engine/engine.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_update_tables.h"
#include "pagekit/file_box.h"
#include "gui/offscreen_context.h"
#include "model/model_globals.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_helpers.h"
#include "page_fixture.h"
#include "platform/status_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

// The fake editor with an engine of its own.
class EngineEditor : public FakeEditor {
public:
    TesselEngine* engine() override { return engineLink; }
    TesselEngine* engineLink = nullptr;
};

// A constant tone long enough for any test.
inline void fillTone(TesselSample& sample, int index, const char* name)
{
    constexpr uint32_t kFrames = 44100;
    ASSERT_TRUE(sample.audio.allocate(1, kFrames + 6));
    std::fill(sample.audio.buffers[0], sample.audio.buffers[0] + kFrames + 6, 0.25f);
    sample.index = index;
    sample.setName(name);
    sample.length = kFrames;
    sample.channels = 1;
    sample.bits = 16;
    sample.speed = 44100;
    sample.fileRate = 44100;
    sample.pitch = 60;
}

class FileBoxTest : public ::testing::Test {
protected:
    static constexpr CRect kBoxRect{10, 20, 410, 220};

    void SetUp() override
    {
        modelGlobals().reset();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        fillRateTables(44100.0);
        editor.engineLink = engine.get();
    }
    void TearDown() override
    {
        engine.reset();
        modelGlobals().reset();
        platform::clearStatusText();
    }

    // The whole scratch folder, dated.
    void buildFolder()
    {
        for (const char* name : {"alpha", "Beta", ".hidden_folder"})
            ASSERT_EQ(mkdir(scratch.file(name).c_str(), 0700), 0);
        scratch.write("Zeta.txt", "zeta");
        scratch.write("apple.TXT", "apples and pears");
        scratch.write(".hidden", "hidden");
        scratch.write("tune.it", "IMPM not really");
        ASSERT_EQ(mkfifo(scratch.file("pipe.zip").c_str(), 0600), 0);

        TesselSample drum;
        fillTone(drum, 0, "Drum");
        ASSERT_TRUE(drum.saveFile(scratch.file("drum.wav")));
        ASSERT_EQ(symlink(scratch.file("drum.wav").c_str(), scratch.file("link.wav").c_str()), 0);
        ASSERT_EQ(symlink(scratch.file("alpha").c_str(), scratch.file("linkdir").c_str()), 0);
        ASSERT_EQ(symlink(scratch.file("gone.wav").c_str(), scratch.file("broken.wav").c_str()), 0);

        // The song: samples in slots 1 and 3, instrument 1 using sample 1.
        fillTone(engine->song.samples[0], 0, "Kick");
        fillTone(engine->song.samples[2], 2, "Snare");
        engine->song.instruments[0].setName("Drums");
        std::string module = scratch.file("song.zip");
        ASSERT_TRUE(engine->saveModule(module));
        ASSERT_TRUE(engine->song.instruments[0].saveFile(scratch.file("strings.zip"), engine->song.samples));

        // The archive: a 1234-byte sample dated 5 March 2009, 14:07, and a text.
        const std::string kick = scratch.write("kick-source", std::string(1234, 'k'));
        setLocalTime(kick, 2009, 3, 5, 14, 7, 0);
        ASSERT_TRUE(zipAddFile(kick.c_str(), scratch.file("pack.zip").c_str(), "kick.wav"));
        ASSERT_TRUE(zipAddFile(scratch.file("Zeta.txt").c_str(), scratch.file("pack.zip").c_str(), "readme.txt"));
        ASSERT_EQ(unlink(kick.c_str()), 0);

        // A module that fails to load, one folder down.
        scratch.write("alpha/bad.xm", "not a module at all");
        for (const char* name : {"Zeta.txt", "apple.TXT", "tune.it", "drum.wav", "song.zip", "strings.zip",
                                 "pack.zip", "alpha/bad.xm", "alpha", "Beta", "."})
            setLocalTime(scratch.file(name), 2021, 7, 9, 8, 5, 0);
    }

    std::unique_ptr<TesselFileBox> box(const std::string& start, int32_t mode = TesselFileBox::kSampleBrowser)
    {
        return std::make_unique<TesselFileBox>(kBoxRect, start, &editor, mode);
    }
    // Waits for the first listing the way the page's idle would.
    static void settle(TesselFileBox& b)
    {
        while (b.firstScanPending() && !b.idle())
            usleep(1000);
    }

    ScratchFolder scratch;
    EngineEditor editor;
    std::unique_ptr<TesselEngine> engine;

private:
};
