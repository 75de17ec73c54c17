#pragma once
// Imports files built in memory into a fresh song; the status text and the
// song-wide values are put back afterwards.

#include "model/import/it_file_builder.h"
#include "model/import/it_import.h"
#include "model/import/import_test_fixture.h"
#include "platform/status_text.h"

class ItImportTest : public ImportTest {
protected:
    int import(const ittest::Bytes& bytes)
    {
        report = {};
        return importImpulseTracker(bytes.data(), bytes.size(), *song, &report);
    }

    TesselImportReport report;
};
