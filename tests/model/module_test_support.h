#pragma once
// Module tests change the process-wide song values; this puts them back.

#include "model/model_globals.h"
#include "model/song/module.h"
#include "platform/system/version.h"

#include <gtest/gtest.h>

#include <memory>

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override { restore(); }
    void TearDown() override { restore(); }

    static void restore()
    {
        modelGlobals().reset();
    }
    static std::unique_ptr<TesselModule> makeSong() { return std::make_unique<TesselModule>(); }
};
