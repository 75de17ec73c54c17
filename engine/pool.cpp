#include "engine/pool.h"

#include "engine/timing/position_table.h"
#include "platform/system/aligned_memory.h"

#include <cstdint>
#include <new>

template <typename T, int N>
template <typename Make>
void TesselPoolBlock<T, N>::create(Make make)
{
    // A record type may ask for more than the allocation's alignment (a
    // voice starts on a cache line): the block has room to move up to it.
    constexpr size_t kSlack = alignof(T) > platform::kAudioAlignment ? alignof(T) : 0;
    void* block = platform::alignedAlloc(sizeof(T) * N + kSlack);
    if (!block)
        return;
    block_ = block;
    const auto start = reinterpret_cast<uintptr_t>(block);
    records_ = reinterpret_cast<T*>(kSlack ? (start + kSlack - 1) / kSlack * kSlack : start);
    for (int i = 0; i < N; ++i) {
        make(&records_[i]);
        freeStack_[i] = &records_[i];
    }
}

template <typename T, int N>
TesselPoolBlock<T, N>::~TesselPoolBlock()
{
    if (!records_)
        return;
    for (int i = 0; i < N; ++i)
        records_[i].~T();
    platform::alignedFree(block_);
    block_ = nullptr;
    records_ = nullptr;
}

template <typename T, int N>
bool TesselPoolBlock<T, N>::owns(const T* p) const
{
    if (!records_ || p < records_ || p >= records_ + N)
        return false;
    const auto offset = reinterpret_cast<const char*>(p) - reinterpret_cast<const char*>(records_);
    return offset % static_cast<long>(sizeof(T)) == 0;
}

template <typename T, int N>
T* TesselPoolBlock<T, N>::pop()
{
    if (!records_ || count_ >= N)
        return nullptr;
    T* record = freeStack_[count_++];
    out_[record - records_] = 1;
    return record;
}

template <typename T, int N>
bool TesselPoolBlock<T, N>::push(T* record)
{
    uint8_t& out = out_[record - records_];
    if (!out || count_ <= 0)
        return false;
    out = 0;
    freeStack_[--count_] = record;
    return true;
}

template <typename T, int N>
template <typename Tidy>
void TesselPoolBlock<T, N>::releaseAllInUse(Tidy tidy)
{
    if (!records_)
        return;
    for (int i = 0; i < N; ++i)
        if (out_[i]) {
            tidy(&records_[i]);
            push(&records_[i]);
        }
}

template class TesselPoolBlock<TesselVoiceEvent, 16384>;
template class TesselPoolBlock<TesselVoice, 4096>;
template class TesselPoolBlock<TesselVoiceListNode, 1024>;

// Events ---------------------------------------------------------------------

TesselEventNodePool::TesselEventNodePool()
{
    create([](TesselVoiceEvent* p) { new (p) TesselVoiceEvent(); });
}

TesselEventNodePool::~TesselEventNodePool()
{
    releaseAllInUse([](TesselVoiceEvent* e) { e->unlink(); });
}

TesselVoiceEvent* TesselEventNodePool::acquire(const TesselVoiceEvent* source)
{
    TesselFlagGuard guard(busy_);
    if (!guard.held())
        return nullptr;
    TesselVoiceEvent* record = pop();
    if (!record)
        return nullptr;
    *record = template_;
    if (source)
        record->copyValues(*source);
    return record;
}

void TesselEventNodePool::release(TesselVoiceEvent* record)
{
    TesselFlagGuard guard(busy_);
    if (!guard.held() || !owns(record))
        return;
    record->unlink();
    push(record);
}

// Voices ---------------------------------------------------------------------

TesselVoicePool::TesselVoicePool(TesselPositionTable* table) : template_(table)
{
    create([table](TesselVoice* p) { new (p) TesselVoice(table); });
}

TesselVoicePool::~TesselVoicePool()
{
    // Each voice's destructor returns its events to the event-node pool.
    releaseAllInUse([](TesselVoice* v) { v->reset(); });
}

TesselVoice* TesselVoicePool::acquire(const TesselVoice* source)
{
    TesselVoice* voice = nullptr;
    {
        TesselFlagGuard guard(busy_);
        if (!guard.held())
            return nullptr;
        voice = pop();
    }
    // Copies take event records from the event pool, not from this one. A
    // copy of the source overwrites all the template would have set.
    if (voice)
        voice->copyFrom(source ? *source : template_);
    return voice;
}

void TesselVoicePool::release(TesselVoice* voice)
{
    TesselFlagGuard guard(busy_);
    if (!guard.held() || !owns(voice) || !out_[voice - records_])
        return;
    voice->reset();
    push(voice);
}

// Voice-list nodes -------------------------------------------------------------

TesselVoiceListPool::TesselVoiceListPool()
{
    create([](TesselVoiceListNode* p) { new (p) TesselVoiceListNode(); });
}

TesselVoiceListPool::~TesselVoiceListPool()
{
    releaseAllInUse([](TesselVoiceListNode* n) { n->release(); });
}

TesselVoiceListNode* TesselVoiceListPool::acquire(const TesselVoiceListNode* source)
{
    TesselVoiceListNode* node = nullptr;
    {
        TesselFlagGuard guard(busy_);
        if (!guard.held())
            return nullptr;
        node = pop();
        if (node)
            *node = template_;
    }
    if (node && source)
        node->assign(*source);
    return node;
}

bool TesselVoiceListPool::release(TesselVoiceListNode* node)
{
    TesselFlagGuard guard(busy_);
    if (!guard.held() || !owns(node) || !out_[node - records_])
        return false;
    node->release();
    return push(node);
}

// Process-wide -------------------------------------------------------------------

bool TesselPools::create()
{
    if (!positions)
        positions = new (std::nothrow) TesselPositionTable();
    if (!events) {
        events = new (std::nothrow) TesselEventNodePool();
        if (events && !events->valid()) {
            delete events;
            events = nullptr;
        }
    }
    if (!voices) {
        voices = new (std::nothrow) TesselVoicePool(positions);
        if (voices && !voices->valid()) {
            delete voices;
            voices = nullptr;
        }
    }
    if (!nodes) {
        nodes = new (std::nothrow) TesselVoiceListPool();
        if (nodes && !nodes->valid()) {
            delete nodes;
            nodes = nullptr;
        }
    }
    return positions && events && voices && nodes;
}

void TesselPools::destroy()
{
    delete nodes;
    nodes = nullptr;
    delete voices;
    voices = nullptr;
    delete events;
    events = nullptr;
    delete positions;
    positions = nullptr;
}
