#pragma once
// Module tests change the process-wide song values; this puts them back.

#include "model/module.h"
#include "platform/version.h"

#include <gtest/gtest.h>

#include <memory>

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override { restore(); }
    void TearDown() override { restore(); }

    static void restore()
    {
        patternDefaults() = {};
        songCounter() = -1;
        documentVersion() = platform::programVersion();
        patternMap().fill(-1);
    }
    static std::unique_ptr<TesselModule> makeSong() { return std::make_unique<TesselModule>(); }
};
