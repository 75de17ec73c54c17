#pragma once
// Saves and restores the process-wide values that building an engine changes.

#include "engine/engine.h"
#include "engine/pool.h"
#include "model/model_globals.h"
#include "model/song/pattern.h"
#include "platform/status_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        modelGlobals().reset();
        status_ = platform::statusText();
    }
    void TearDown() override
    {
        engine.reset();
        TesselEngineHooks::buildCommandTree = nullptr;
        TesselEngineHooks::loadPreferences = nullptr;
        TesselEngine::lockWaitMs = kEngineLockWaitMs;
        modelGlobals().reset();
        platform::setStatusText(status_.c_str());
    }

    std::unique_ptr<TesselEngine> engine;

private:
    std::string status_;
};
