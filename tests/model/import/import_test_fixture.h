#pragma once
// A fresh song to import into; the status text and the song-wide values are
// put back around each test.

#include "model/audio_files/sample_audio_support.h"
#include "model/module_test_support.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <memory>

class ImportTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        platform::clearStatusText();
        song = makeSong();
    }
    void TearDown() override
    {
        platform::clearStatusText();
        ModuleTest::TearDown();
    }

    std::unique_ptr<TesselModule> song;
};
