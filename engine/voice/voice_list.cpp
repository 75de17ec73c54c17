#include "engine/voice/voice_list.h"

#include "engine/pool.h"

#include <chrono>
#include <immintrin.h>
#include <thread>

namespace {

// How long a busy voice-list pool is retried: the holder is inside one
// constant-time pool operation, so it is free again almost at once; a flag
// that stays set must not hang the caller beyond the audio thread's own wait
// for the song lock.
constexpr auto kBusyRetryLimit = std::chrono::milliseconds(100);
constexpr int kSpinsBeforeYield = 64;

} // namespace

void TesselVoiceListNode::assign(const TesselVoiceListNode& source)
{
    if (&source == this)
        return;
    delay = source.delay;
    TesselVoicePool* pool = TesselPools::voices;
    if (voice && source.voice) {
        voice->copyFrom(*source.voice);
    } else if (voice) {
        if (pool)
            pool->release(voice);
        voice = nullptr;
    } else if (source.voice && pool) {
        voice = pool->acquire(source.voice);
    }
}

void TesselVoiceListNode::reset()
{
    delay = -1;
    if (voice) {
        voice->reset();
        voice->setState(voice_state::kIdle);
    }
}

void TesselVoiceListNode::release()
{
    if (voice && TesselPools::voices)
        TesselPools::voices->release(voice);
    voice = nullptr;
    if (previous)
        previous->next = next;
    if (next)
        next->previous = previous;
    previous = nullptr;
    next = nullptr;
}

TesselVoiceListNode* TesselVoiceListNode::last()
{
    TesselVoiceListNode* n = this;
    while (n->next)
        n = n->next;
    return n;
}

bool TesselVoiceListNode::append(const TesselVoiceListNode& source)
{
    TesselVoiceListPool* pool = TesselPools::nodes;
    TesselVoiceListNode* node = pool ? pool->acquire(&source) : nullptr;
    if (!node)
        return false;
    TesselVoiceListNode* tail = last();
    tail->next = node;
    node->previous = tail;
    return true;
}

bool TesselVoiceListNode::releaseFollowing()
{
    TesselVoiceListPool* pool = TesselPools::nodes;
    if (!pool)
        return next == nullptr;
    const auto deadline = std::chrono::steady_clock::now() + kBusyRetryLimit;
    while (TesselVoiceListNode* n = next) {
        for (int tries = 1; !pool->release(n); ++tries) {
            if (!pool->owns(n) || std::chrono::steady_clock::now() >= deadline)
                return false;
            if (tries < kSpinsBeforeYield)
                _mm_pause();
            else
                std::this_thread::yield();
        }
    }
    return true;
}

TesselChannelVoiceList::~TesselChannelVoiceList()
{
    releaseAll();
}

TesselVoiceListNode* TesselChannelVoiceList::nodeAt(int n) const
{
    TesselVoiceListNode* node = head;
    for (; node && n > 0; --n)
        node = node->next;
    return n == 0 ? node : nullptr;
}

bool TesselChannelVoiceList::insert(TesselVoiceListNode* before, const TesselVoiceListNode* source)
{
    TesselVoiceListPool* pool = TesselPools::nodes;
    TesselVoiceListNode* node = pool ? pool->acquire(source) : nullptr;
    if (!node)
        return false;
    if (!before) {
        node->reset();
        before = head;
    }
    if (before) {
        node->previous = before->previous;
        node->next = before;
        if (before->previous)
            before->previous->next = node;
        before->previous = node;
    }
    if (before == head)
        head = node;
    return true;
}

void TesselChannelVoiceList::releaseAll()
{
    TesselVoiceListPool* pool = TesselPools::nodes;
    while (TesselVoiceListNode* node = head) {
        head = node->next;
        // A node the pool cannot take back (busy, foreign, or no pool) is
        // still detached so that the list ends empty.
        if (!pool || !pool->release(node))
            node->release();
    }
}
