#include "platform/midi/midi_ports.h"

#include <gtest/gtest.h>

// The machine running the tests may have no sequencer at all, or one with
// a few ports; either way the list is consistent and bad indices are refused.
TEST(SystemMidiPorts, ListsWhateverTheMachineHasAndRefusesBadIndices)
{
    auto ports = platform::openSystemMidiPorts();
    ASSERT_NE(ports, nullptr);
    ASSERT_GE(ports->count(), 0);
    for (int i = 0; i < ports->count(); ++i)
        EXPECT_FALSE(ports->name(i).empty()) << i;
    EXPECT_EQ(ports->name(-1), "");
    EXPECT_EQ(ports->name(ports->count()), "");
    EXPECT_FALSE(ports->open(ports->count()));
    EXPECT_FALSE(ports->send(-1, 0x403C90));
    ports->close(ports->count());
}
