#pragma once
// The three fixed pools of the replay engine: voice events, voices and
// voice-list nodes. The audio thread never allocates; every record comes from
// here. Each pool is one 16-byte aligned block of records with a free stack
// and a busy flag that is taken without waiting: a pool found busy gives null
// (acquire) or keeps the record out of the pool for good (release). The real
// serialisation is the song lock. Created and deleted by the engine under the
// song lock; process-wide.

#include "engine/voice/voice.h"
#include "engine/voice/voice_event.h"
#include "engine/voice/voice_list.h"

#include <atomic>
#include <cstdint>

using TesselBusyFlag = std::atomic<uint8_t>;

// Holds the busy flag while (and only when) it set it.
class TesselFlagGuard {
public:
    explicit TesselFlagGuard(TesselBusyFlag& flag)
        : flag_(flag.exchange(1, std::memory_order_acquire) == 0 ? &flag : nullptr)
    {
    }
    ~TesselFlagGuard()
    {
        if (flag_)
            flag_->store(0, std::memory_order_release);
    }
    TesselFlagGuard(const TesselFlagGuard&) = delete;
    TesselFlagGuard& operator=(const TesselFlagGuard&) = delete;
    bool held() const { return flag_ != nullptr; }

private:
    TesselBusyFlag* flag_;
};

// Storage and free stack shared by the three pools. Records are constructed
// in place at creation and destroyed with the pool.
template <typename T, int kCapacity>
class TesselPoolBlock {
public:
    static constexpr int capacity = kCapacity;

    TesselPoolBlock(const TesselPoolBlock&) = delete;
    TesselPoolBlock& operator=(const TesselPoolBlock&) = delete;

    bool valid() const { return records_ != nullptr; }
    int inUse() const { return count_; }
    bool owns(const T* p) const;
    TesselBusyFlag& busyFlag() { return busy_; }

protected:
    TesselPoolBlock() = default;
    ~TesselPoolBlock();
    template <typename Make>
    void create(Make make);
    // Caller holds the busy flag.
    T* pop();
    bool push(T* record);   // false for a record that is not out of the pool
    template <typename Tidy>
    void releaseAllInUse(Tidy tidy);

    void* block_ = nullptr;   // the allocation; records_ starts at T's alignment in it
    T* records_ = nullptr;
    int32_t count_ = 0;
    T* freeStack_[kCapacity] = {};
    uint8_t out_[kCapacity] = {};   // 1 while acquired: a second release is ignored
    TesselBusyFlag busy_{0};
};

class TesselEventNodePool : public TesselPoolBlock<TesselVoiceEvent, 16384> {
public:
    TesselEventNodePool();
    ~TesselEventNodePool();
    // Any thread holding the song lock; never waits.
    TesselVoiceEvent* acquire(const TesselVoiceEvent* source);
    void release(TesselVoiceEvent* record);

private:
    TesselVoiceEvent template_;
};

class TesselVoicePool : public TesselPoolBlock<TesselVoice, 4096> {
public:
    explicit TesselVoicePool(TesselPositionTable* table);
    ~TesselVoicePool();
    TesselVoice* acquire(const TesselVoice* source);
    void release(TesselVoice* voice);

private:
    TesselVoice template_;
};

class TesselVoiceListPool : public TesselPoolBlock<TesselVoiceListNode, 1024> {
public:
    TesselVoiceListPool();
    ~TesselVoiceListPool();
    TesselVoiceListNode* acquire(const TesselVoiceListNode* source);
    // False when busy or when the node is not one of this pool's.
    bool release(TesselVoiceListNode* node);

private:
    TesselVoiceListNode template_;
};

struct TesselPositionTable;

// The process-wide pools and position table; null until an engine creates them.
struct TesselPools {
    static inline TesselPositionTable* positions = nullptr;
    static inline TesselEventNodePool* events = nullptr;
    static inline TesselVoicePool* voices = nullptr;
    static inline TesselVoiceListPool* nodes = nullptr;
    static inline int users = 0;   // engines set up with them

    // Creates what is missing, in the order position table, events, voices,
    // nodes; a failed allocation leaves its pointer null. True when all exist.
    static bool create();
    // Deletes in the reverse order and nulls the pointers.
    static void destroy();
};
