#include "host/host_callback.h"

#include "host_fixture.h"

#include <cstring>

using namespace host;
using hosttest::HostStateTest;

namespace {

VstIntPtr ask(int32_t opcode, void* ptr = nullptr)
{
    return hostCallback(nullptr, opcode, 0, 0, ptr, 0.0f);
}

} // namespace

TEST(HostCallback, AnswersTheVersionBeforeAnyStateExists)
{
    ASSERT_EQ(hostState(), nullptr);
    EXPECT_EQ(ask(audioMasterVersion), 2300);
    EXPECT_EQ(ask(audioMasterGetTime), 0);
    EXPECT_EQ(ask(audioMasterGetVendorVersion), 0);
    EXPECT_EQ(ask(audioMasterSetTime), 0);
}

TEST_F(HostStateTest, CallbackAnswers)
{
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(ask(audioMasterGetProductString, text), 0);
    EXPECT_STREQ(text, "Quorbel Host");
    EXPECT_EQ(ask(audioMasterGetVendorString, text), 0);
    EXPECT_STREQ(text, kHostVendor);

    EXPECT_EQ(ask(audioMasterGetTime), reinterpret_cast<VstIntPtr>(&state.timeInfo));
    EXPECT_EQ(hostCallback(nullptr, audioMasterGetTime, 0, 0xFFFF, nullptr, 0), ask(audioMasterGetTime));
    EXPECT_EQ(ask(audioMasterSetTime), 0);
    EXPECT_EQ(state.timeInfo.flags, kVstTransportChanged);

    EXPECT_EQ(ask(audioMasterCanDo, const_cast<char*>("sendVstEvents")), 0);
    EXPECT_EQ(ask(audioMasterCurrentId), 0);
    EXPECT_EQ(ask(12345), 0);
    EXPECT_EQ(ask(-1), 0);
}

TEST_F(HostStateTest, VendorVersionFromTheHostVersion)
{
    EXPECT_EQ(vendorVersion(0.9f), 900);
    EXPECT_EQ(vendorVersion(1.1f), 1100);
    EXPECT_EQ(vendorVersion(0.0f), 0);
    state.hostVersion = 0.9f;
    EXPECT_EQ(ask(audioMasterGetVendorVersion), 900);
}

TEST_F(HostStateTest, IdleMessageIsPrintedOnce)
{
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ask(audioMasterIdle), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "(Future idle calls will not be displayed!)\n");
}
