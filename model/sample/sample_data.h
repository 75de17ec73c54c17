#pragma once
// A sample's audio: up to two 16-byte aligned float buffers, and positions
// inside them.

#include <cstdint>
#include <memory>

constexpr int kMaxSampleChannels = 2;

// A position inside sample data: whole frame and fraction 0 <= fraction < 1.
struct TesselSamplePos {
    int32_t frame = 0;
    float fraction = 0.0f;

    bool operator==(const TesselSamplePos&) const = default;
    bool isAfter(const TesselSamplePos& other) const
    {
        return frame > other.frame || (frame == other.frame && fraction > other.fraction);
    }
    // Mirrors the position at a boundary frame (ping-pong loops).
    void reflect(int32_t boundary);
    // Brings the fraction back into 0..1, moving the whole frame by what it carries.
    void carryFraction();
};

class TesselSampleData {
public:
    TesselSampleData() = default;
    ~TesselSampleData() { free(); }
    TesselSampleData(const TesselSampleData&) = delete;
    TesselSampleData& operator=(const TesselSampleData&) = delete;

    void free();
    // n buffers of m floats; false (and nothing allocated) for more than two
    // channels or when memory is short.
    bool allocate(int n, uint32_t m);
    // False when memory is short; this data is then empty.
    bool assign(const TesselSampleData& other);
    // Exchanges the buffers: audio changes hands without a copy.
    void swap(TesselSampleData& other) noexcept;
    // Reads the same frames as `other`, which keep living while either holds
    // them: a song's copy for saving takes its audio this way under the song
    // lock, at the cost of a reference count. A sample's frames are never
    // changed in place once it is in a song (edits work on a copy that is
    // swapped in), so what a holder reads stays as it was.
    void share(const TesselSampleData& other);
    void silence();
    // Every frame after f takes frame f's value: the guard frames behind the last frame.
    void holdFrom(uint32_t f);

    float* channel(int c) { return (c >= 0 && c < kMaxSampleChannels) ? buffers[c] : nullptr; }
    const float* channel(int c) const { return (c >= 0 && c < kMaxSampleChannels) ? buffers[c] : nullptr; }

    float* buffers[kMaxSampleChannels] = {nullptr, nullptr};
    uint32_t frames = 0;
    int32_t channels = 0;

private:
    // Owns the buffers above; shared by the holders of one sample's frames.
    struct Storage;
    void adopt(std::shared_ptr<Storage> storage);
    std::shared_ptr<Storage> storage_;
};
