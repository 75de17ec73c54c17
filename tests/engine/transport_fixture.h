#pragma once
// An engine for transport tests, with the engine's usage-log actions
// recorded and the process-wide rate tables and hooks restored afterwards.

#include "engine_fixture.h"

#include "engine/engine_actions.h"
#include "engine/voice/voice_update_tables.h"

#include <utility>
#include <vector>

class TransportTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        actions().clear();
        TesselEngineHooks::logAction = [](int action, int32_t value) { actions().emplace_back(action, value); };
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        platform::clearStatusText();
    }
    void TearDown() override
    {
        EngineTest::TearDown();
        TesselEngineHooks::logAction = nullptr;
        fillRateTables(44100.0);
    }

    static std::vector<std::pair<int, int32_t>>& actions()
    {
        static std::vector<std::pair<int, int32_t>> list;
        return list;
    }
    static bool logged(int action, int32_t value)
    {
        for (const auto& a : actions())
            if (a.first == action && a.second == value)
                return true;
        return false;
    }
};
