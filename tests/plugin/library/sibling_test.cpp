// The two exports that load and release the sibling library.
#include "library/test_host.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

using Call = int32_t (*)();

class SiblingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(TestHost::get().load(error)) << error;
        connect = reinterpret_cast<Call>(TestHost::get().symbol("QuorbelConnect"));
        disconnect = reinterpret_cast<Call>(TestHost::get().symbol("QuorbelDisconnect"));
        ASSERT_TRUE(connect && disconnect);
    }
    void TearDown() override
    {
        disconnect();
        TestHost::get().unload();
    }

    Call connect = nullptr;
    Call disconnect = nullptr;
};

TEST_F(SiblingTest, WithoutTheSiblingConnectFailsAndDisconnectSucceeds)
{
    EXPECT_EQ(disconnect(), 1);
    EXPECT_EQ(connect(), 0);   // no "Ostra.so" on the search path
    EXPECT_EQ(disconnect(), 1);
}

TEST_F(SiblingTest, ConnectRunsEntryTwoOnceAndDisconnectEntryThree)
{
    void* standIn = dlopen(QB_OSTRA_STAND_IN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(standIn, nullptr) << dlerror();
    using Counts = void (*)(int32_t*, int32_t*);
    auto counts = reinterpret_cast<Counts>(dlsym(standIn, "OstraCalls"));
    ASSERT_NE(counts, nullptr);
    int32_t entry2 = 0, entry3 = 0;

    EXPECT_EQ(connect(), 42);   // entry 2's result is passed on
    EXPECT_EQ(connect(), 1);    // already loaded: no second call
    counts(&entry2, &entry3);
    EXPECT_EQ(entry2, 1);
    EXPECT_EQ(entry3, 0);

    EXPECT_EQ(disconnect(), 1);
    counts(&entry2, &entry3);
    EXPECT_EQ(entry3, 1);
    EXPECT_EQ(disconnect(), 1);   // nothing loaded any more
    counts(&entry2, &entry3);
    EXPECT_EQ(entry3, 1);

    EXPECT_EQ(connect(), 42);   // loads again
    counts(&entry2, &entry3);
    EXPECT_EQ(entry2, 2);
    dlclose(standIn);
}

} // namespace
