#pragma once
// Imports a generated XM image into a fresh song; the status text and the
// process-wide song values are put back around each test.

#include "model/audio_files/memory_file.h"
#include "model/song/module.h"
#include "model/import/import_test_fixture.h"
#include "model/import/xm_file_builder.h"
#include "model/import/xm_import.h"
#include "platform/status_text.h"

#include <memory>
#include <string>

class XmImportTest : public ImportTest {
protected:
    int import(const std::string& image)
    {
        TesselMemoryFile file;
        file.assign(image.data(), static_cast<uint32_t>(image.size()));
        return importFastTracker(file, *song);
    }
    int import(const xmtest::Module& module) { return import(module.build()); }

    // The stored cell at (pattern, channel, row), or the blank row.
    const TesselRow& cellAt(int pattern, int channel, int row) const
    {
        const TesselTrack* track = song->patterns[static_cast<size_t>(pattern)].tracks.trackAt(channel);
        return track ? track->rowOrBlank(row) : TesselRow::blank();
    }

    // One pattern of one row holding the given cell on channel 0.
    static xmtest::Module oneCell(const xmtest::Bytes& cell)
    {
        xmtest::Module m;
        m.channels = 1;
        m.patterns.push_back({1, cell});
        return m;
    }

};
