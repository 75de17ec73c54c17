#pragma once
// A published host state for one test, withdrawn again at its end.

#include "host/host_state.h"
#include "host/plugin_loader.h"
#include "test_synth.h"

#include <gtest/gtest.h>

namespace hosttest {

class HostStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host::hostStartup(state)); }
    void TearDown() override
    {
        host::closePlugin(state);
        host::hostShutdown(state);
        ASSERT_EQ(host::hostState(), nullptr);
    }

    // Loads the test synth with stdout captured; returns what was printed.
    std::string loadSynth()
    {
        ::testing::internal::CaptureStdout();
        const bool loaded = host::loadPlugin(state, QB_TEST_SYNTH);
        std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded) << out;
        return out;
    }

    testsynth::Probe probe() { return testsynth::probe(state.effect); }

    host::HostState state;
};

} // namespace hosttest
