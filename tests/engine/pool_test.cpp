#include "engine/pool.h"
#include "engine/timing/position_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

class Pools : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TesselPools::create()); }
    void TearDown() override { TesselPools::destroy(); }

    TesselEventNodePool& events() { return *TesselPools::events; }
    TesselVoicePool& voices() { return *TesselPools::voices; }
    TesselVoiceListPool& nodes() { return *TesselPools::nodes; }
};

} // namespace

TEST_F(Pools, FreshEventHoldsTheTemplateAndCopiesOnlyValues)
{
    TesselVoiceEvent* e = events().acquire(nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->gain0, 0.0f);
    EXPECT_EQ(e->gain1, 0.0f);
    EXPECT_EQ(e->pitch, 1.0f);
    EXPECT_EQ(e->start, 0);
    EXPECT_EQ(e->end, 0);
    EXPECT_EQ(e->state, 0);
    EXPECT_EQ(e->bus, 1);
    EXPECT_EQ(e->previous, nullptr);
    EXPECT_EQ(e->next, nullptr);

    TesselVoiceEvent source;
    source.gain0 = 0.5f;
    source.pitch = 2.0f;
    source.end = 128;
    source.state = 9;
    source.bus = 0;
    source.next = &source;
    TesselVoiceEvent* copy = events().acquire(&source);
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->differs(source));
    EXPECT_EQ(copy->end, 128);
    EXPECT_EQ(copy->next, nullptr);
    EXPECT_EQ(events().inUse(), 2);
}

TEST_F(Pools, ExhaustionGivesNullAndLeavesThePoolUnchanged)
{
    std::vector<TesselVoiceEvent*> e;
    for (int i = 0; i < 16384; ++i)
        e.push_back(events().acquire(nullptr));
    EXPECT_EQ(events().acquire(nullptr), nullptr);
    EXPECT_EQ(events().inUse(), 16384);

    std::vector<TesselVoice*> v;
    for (int i = 0; i < 4096; ++i)
        v.push_back(voices().acquire(nullptr));
    EXPECT_EQ(voices().acquire(nullptr), nullptr);
    EXPECT_EQ(voices().inUse(), 4096);

    std::vector<TesselVoiceListNode*> n;
    for (int i = 0; i < 1024; ++i)
        n.push_back(nodes().acquire(nullptr));
    EXPECT_EQ(nodes().acquire(nullptr), nullptr);
    EXPECT_EQ(nodes().inUse(), 1024);

    for (auto* p : e)
        ASSERT_NE(p, nullptr);
    for (auto* p : v)
        ASSERT_NE(p, nullptr);
    for (auto* p : n)
        ASSERT_NE(p, nullptr);

    // A record given back can be had again.
    events().release(e[100]);
    EXPECT_EQ(events().acquire(nullptr), e[100]);
}

TEST_F(Pools, ForeignAndRepeatedReleasesChangeNothing)
{
    TesselVoiceEvent* e = events().acquire(nullptr);
    TesselVoice* v = voices().acquire(nullptr);
    TesselVoiceListNode* n = nodes().acquire(nullptr);

    TesselVoiceEvent ownEvent;
    TesselVoice ownVoice;
    TesselVoiceListNode ownNode;
    events().release(&ownEvent);
    voices().release(&ownVoice);
    EXPECT_FALSE(nodes().release(&ownNode));
    // an address inside the block that is not a record
    events().release(reinterpret_cast<TesselVoiceEvent*>(reinterpret_cast<char*>(e) + 4));
    EXPECT_EQ(events().inUse(), 1);
    EXPECT_EQ(voices().inUse(), 1);
    EXPECT_EQ(nodes().inUse(), 1);

    events().release(e);
    events().release(e);
    voices().release(v);
    voices().release(v);
    EXPECT_TRUE(nodes().release(n));
    EXPECT_FALSE(nodes().release(n));
    EXPECT_EQ(events().inUse(), 0);
    EXPECT_EQ(voices().inUse(), 0);
    EXPECT_EQ(nodes().inUse(), 0);
    // the free stacks were not corrupted: distinct records come back
    TesselVoiceEvent* a = events().acquire(nullptr);
    TesselVoiceEvent* b = events().acquire(nullptr);
    EXPECT_NE(a, b);
}

TEST_F(Pools, BusyPoolRefusesAcquireAndKeepsReleasedRecordsOut)
{
    TesselVoiceEvent* e = events().acquire(nullptr);
    {
        TesselFlagGuard outside(events().busyFlag());
        ASSERT_TRUE(outside.held());
        TesselFlagGuard second(events().busyFlag());
        EXPECT_FALSE(second.held());
        EXPECT_EQ(events().acquire(nullptr), nullptr);
        events().release(e);
    }
    EXPECT_EQ(events().busyFlag().load(), 0);
    EXPECT_EQ(events().inUse(), 1);   // lost for good

    TesselVoiceListNode* n = nodes().acquire(nullptr);
    TesselFlagGuard outside(nodes().busyFlag());
    EXPECT_FALSE(nodes().release(n));
    EXPECT_EQ(nodes().acquire(nullptr), nullptr);
}

TEST_F(Pools, ReleasingANodeReturnsItsVoiceAndTheVoicesEvents)
{
    TesselVoiceListNode* n = nodes().acquire(nullptr);
    n->voice = voices().acquire(nullptr);
    ASSERT_NE(n->voice, nullptr);
    TesselVoiceEvent e;
    e.state = 1;
    ASSERT_TRUE(n->voice->appendEvent(e));
    ASSERT_TRUE(n->voice->appendEvent(e));
    ASSERT_TRUE(n->voice->appendEvent(e));
    EXPECT_EQ(n->voice->events->chainLength(), 3);
    EXPECT_EQ(events().inUse(), 3);
    EXPECT_EQ(voices().inUse(), 1);

    EXPECT_TRUE(nodes().release(n));
    EXPECT_EQ(nodes().inUse(), 0);
    EXPECT_EQ(voices().inUse(), 0);
    EXPECT_EQ(events().inUse(), 0);
    EXPECT_EQ(n->voice, nullptr);
}

TEST_F(Pools, EventChainOperations)
{
    TesselVoiceEvent* head = events().acquire(nullptr);
    TesselVoiceEvent s;
    s.pitch = 0.5f;
    ASSERT_TRUE(head->append(s));
    s.pitch = 0.25f;
    ASSERT_TRUE(head->append(s));
    EXPECT_EQ(head->chainLength(), 3);
    EXPECT_EQ(head->last()->pitch, 0.25f);
    TesselVoiceEvent* middle = head->next;
    middle->setFlags(5);
    EXPECT_EQ(head->state, 0);
    EXPECT_EQ(middle->state, 5);
    EXPECT_EQ(head->last()->state, 5);

    middle->unlink();
    EXPECT_EQ(head->chainLength(), 2);
    EXPECT_EQ(head->next->pitch, 0.25f);
    EXPECT_EQ(head->next->previous, head);
    EXPECT_EQ(middle->next, nullptr);

    // an event whose next is itself ends the chain
    TesselVoiceEvent self;
    self.next = &self;
    EXPECT_EQ(self.chainLength(), 1);
    EXPECT_EQ(self.last(), &self);

    TesselVoiceEvent other = s;
    EXPECT_FALSE(other.differs(s));
    other.bus = 3;
    EXPECT_TRUE(other.differs(s));
    other = s;
    other.start = 77;   // the span is not compared
    EXPECT_FALSE(other.differs(s));
}

TEST_F(Pools, VoiceCopyTakesOnlyTheEventsThePoolSupplies)
{
    TesselVoice* a = voices().acquire(nullptr);
    a->note = 48;
    a->volume = 33;
    a->row.pitch = 60;
    a->subrowIndex = 2;
    a->setState(9);
    TesselVoiceEvent e;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(a->appendEvent(e));

    std::vector<TesselVoiceEvent*> hog;
    while (TesselVoiceEvent* h = events().acquire(nullptr))
        hog.push_back(h);
    for (int i = 0; i < 3; ++i)
        events().release(hog[i]);

    TesselVoice* b = voices().acquire(a);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->note, 48);
    EXPECT_EQ(b->volume, 33);
    EXPECT_EQ(b->row.pitch, 60);
    EXPECT_EQ(b->subrowIndex, 2);
    EXPECT_EQ(b->state(), 9);
    ASSERT_NE(b->events, nullptr);
    EXPECT_EQ(b->events->chainLength(), 3);
    EXPECT_EQ(b->positionTable, TesselPools::positions);

    voices().release(b);
    EXPECT_EQ(events().inUse(), 16384 - 3 + 0);   // b's three came back, a still holds five
}

TEST_F(Pools, NodeAssignFollowsWhichNodesHaveVoices)
{
    TesselVoiceListNode* withVoice = nodes().acquire(nullptr);
    withVoice->voice = voices().acquire(nullptr);
    withVoice->voice->note = 12;
    withVoice->delay = 3;

    TesselVoiceListNode* empty = nodes().acquire(nullptr);
    empty->assign(*withVoice);   // only the source has one: a copy is acquired
    ASSERT_NE(empty->voice, nullptr);
    EXPECT_NE(empty->voice, withVoice->voice);
    EXPECT_EQ(empty->voice->note, 12);
    EXPECT_EQ(empty->delay, 3);
    EXPECT_EQ(voices().inUse(), 2);

    withVoice->voice->note = 13;
    empty->assign(*withVoice);   // both have one: copied in place
    EXPECT_EQ(empty->voice->note, 13);
    EXPECT_EQ(voices().inUse(), 2);

    TesselVoiceListNode none;
    none.delay = -1;
    empty->assign(none);   // only the node has one: it is returned
    EXPECT_EQ(empty->voice, nullptr);
    EXPECT_EQ(empty->delay, -1);
    EXPECT_EQ(voices().inUse(), 1);

    withVoice->reset();
    EXPECT_EQ(withVoice->delay, -1);
    EXPECT_EQ(withVoice->voice->note, -1);
    EXPECT_EQ(withVoice->voice->state(), 0);
}

TEST_F(Pools, ChannelListInsertAppendAndRelease)
{
    TesselChannelVoiceList list;
    EXPECT_EQ(list.channel, -1);
    EXPECT_EQ(list.nodeAt(0), nullptr);

    TesselVoiceListNode source;
    source.voice = voices().acquire(nullptr);
    source.voice->note = 7;
    source.delay = 2;

    ASSERT_TRUE(list.insert(nullptr, &source));   // a reset node becomes the head
    TesselVoiceListNode* first = list.head;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->delay, -1);
    ASSERT_NE(first->voice, nullptr);
    EXPECT_EQ(first->voice->note, -1);

    ASSERT_TRUE(first->append(source));
    ASSERT_TRUE(first->append(source));
    EXPECT_EQ(list.nodeAt(2)->voice->note, 7);
    EXPECT_EQ(list.nodeAt(3), nullptr);

    ASSERT_TRUE(list.insert(first, &source));   // in front of the head: new head
    EXPECT_EQ(list.head->next, first);
    EXPECT_EQ(list.head->delay, 2);
    ASSERT_TRUE(list.insert(first, nullptr));    // between two nodes
    EXPECT_EQ(list.nodeAt(1)->next, first);
    EXPECT_EQ(first->previous, list.nodeAt(1));
    EXPECT_EQ(nodes().inUse(), 5);

    ASSERT_TRUE(list.insert(nullptr, nullptr));  // the old head follows as a past note
    EXPECT_EQ(nodes().inUse(), 6);
    EXPECT_EQ(list.nodeAt(5)->voice->note, 7);

    EXPECT_TRUE(first->releaseFollowing());
    EXPECT_EQ(first->next, nullptr);
    EXPECT_EQ(nodes().inUse(), 4);

    list.releaseAll();
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(nodes().inUse(), 0);
    EXPECT_EQ(voices().inUse(), 1);   // the source's own voice
    voices().release(source.voice);
}

TEST_F(Pools, ReleaseFollowingRetriesABusyPoolButNotForever)
{
    TesselVoiceListNode* head = nodes().acquire(nullptr);
    TesselVoiceListNode blank;
    ASSERT_TRUE(head->append(blank));
    ASSERT_TRUE(head->append(blank));

    // busy for a moment: the retries get through
    nodes().busyFlag().store(1);
    std::thread holder([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        nodes().busyFlag().store(0);
    });
    EXPECT_TRUE(head->releaseFollowing());
    holder.join();
    EXPECT_EQ(head->next, nullptr);
    EXPECT_EQ(nodes().inUse(), 1);

    // busy for good: the loop gives up and the chain stays whole
    ASSERT_TRUE(head->append(blank));
    nodes().busyFlag().store(1);
    EXPECT_FALSE(head->releaseFollowing());
    EXPECT_NE(head->next, nullptr);
    nodes().busyFlag().store(0);
    EXPECT_TRUE(head->releaseFollowing());
}

TEST_F(Pools, PoolsTearDownWithRecordsStillInUse)
{
    TesselVoiceListNode source;
    source.voice = voices().acquire(nullptr);
    TesselChannelVoiceList list;
    ASSERT_TRUE(list.insert(nullptr, &source));
    ASSERT_TRUE(list.head->append(source));
    TesselVoiceEvent e;
    ASSERT_TRUE(list.head->voice->appendEvent(e));
    ASSERT_TRUE(list.head->next->voice->appendEvent(e));
    // The pools go while records are out: they take everything back.
    list.head = nullptr;
    TesselPools::destroy();
    EXPECT_EQ(TesselPools::nodes, nullptr);
    ASSERT_TRUE(TesselPools::create());
}
