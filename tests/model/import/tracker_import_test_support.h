#pragma once
// Imports S3M and MOD images built in memory into a fresh song; the status
// text and the song-wide values are put back afterwards.

#include "model/import/mod_import.h"
#include "model/import/import_test_fixture.h"
#include "model/import/s3m_import.h"
#include "model/import/tracker_file_builder.h"
#include "platform/status_text.h"

class TrackerImportTest : public ImportTest {
protected:
    int importS3m(const tracker_file::Bytes& bytes, const TesselSongSettings& fallback = {})
    {
        return importScreamTracker3(bytes.data(), bytes.size(), *song, fallback);
    }
    int importModImage(const tracker_file::Bytes& bytes) { return importMod(bytes.data(), bytes.size(), *song); }

    const TesselRow* row(int pattern, int track, int r) const
    {
        return song->patterns[static_cast<size_t>(pattern)].findRow(track, r);
    }
    const TesselSample& sample(int i) const { return song->samples[static_cast<size_t>(i)]; }

};
