#pragma once
// The engine's output block: what the mixer adds voices into and the plug-in
// copies to the host.

#include <atomic>
#include <cstdint>

struct TesselOutputBus;

struct TesselBusBuffer {
    static constexpr int kFrames = 16384;
    static constexpr int kChannels = 2;

    // Audio thread, at the start of each block: the frames in use become 0.0;
    // the read state stays.
    void silence();
    // After a block-size change, a load or a new song: nothing pending, the
    // frames in use zeroed.
    void clear();
    void resetPending() { pending = 0; }
    // Any thread: the next block clears first (applyClearRequest on the
    // audio thread), since the plug-in copies the block without the lock.
    void requestClear() { clearRequested.store(true, std::memory_order_release); }
    void applyClearRequest()
    {
        // A plain load first: the exchange locks the bus, and requests are rare.
        if (clearRequested.load(std::memory_order_relaxed) && clearRequested.exchange(false, std::memory_order_acquire))
            clear();
    }

    // The plug-in's side of the block.
    // True when the block is set up for that channel-count request.
    bool isReady(int requested) const { return ready != 0 && renderedFor == requested; }
    // Audio thread: copies the pending block's first min(frames, kFrames)
    // frames into up to `count` host channels and clears the pending flag.
    void copyTo(float** outputs, int count, int frames);

    TesselOutputBus* bus = nullptr;
    int32_t frames = 0;
    uint8_t requestedChannels = 0;
    uint8_t maxChannels = kChannels;
    uint8_t channels = kChannels;
    uint8_t renderedFor = 0;
    uint8_t pending = 0;
    uint8_t ready = 1;
    std::atomic<bool> clearRequested{false};
    // After the fields every block reads, so those share the engine's first
    // lines; on a cache line of their own, as the mixer's vector stores want.
    alignas(64) float channel[kChannels][kFrames] = {};
};
