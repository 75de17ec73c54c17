#pragma once
// Imports files built in memory into a fresh song; the status text and the
// song-wide values are put back afterwards.

#include "model/it_file_builder.h"
#include "model/it_import.h"
#include "model/module_test_support.h"
#include "platform/status_text.h"

class ItImportTest : public ModuleTest {
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

    int import(const ittest::Bytes& bytes)
    {
        report = {};
        return importImpulseTracker(bytes.data(), bytes.size(), *song, &report);
    }

    std::unique_ptr<TesselModule> song;
    TesselImportReport report;
};
