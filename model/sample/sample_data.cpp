#include "model/sample/sample_data.h"

#include "platform/system/aligned_memory.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {

int32_t clampedFrame(double frame)
{
    return static_cast<int32_t>(std::clamp(frame, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

} // namespace

void TesselSamplePos::carryFraction()
{
    if (!std::isfinite(fraction)) {
        fraction = 0.0f;
        return;
    }
    const float whole = std::floor(fraction);
    frame = clampedFrame(static_cast<double>(frame) + whole);
    fraction -= whole;
    if (fraction >= 1.0f) {   // rounding of a tiny negative fraction
        fraction = 0.0f;
        frame = clampedFrame(static_cast<double>(frame) + 1.0);
    }
}

void TesselSamplePos::reflect(int32_t boundary)
{
    frame = clampedFrame(2.0 * boundary - frame);
    fraction = -fraction;
    carryFraction();
}

struct TesselSampleData::Storage {
    float* buffers[kMaxSampleChannels] = {nullptr, nullptr};
    ~Storage()
    {
        for (float* buffer : buffers)
            platform::alignedFree(buffer);
    }
};

void TesselSampleData::adopt(std::shared_ptr<Storage> storage)
{
    for (int c = 0; c < kMaxSampleChannels; ++c)
        buffers[c] = storage->buffers[c];
    storage_ = std::move(storage);
}

void TesselSampleData::free()
{
    frames = 0;
    channels = 0;
    storage_.reset();
    for (float*& buffer : buffers)
        buffer = nullptr;
}

bool TesselSampleData::allocate(int n, uint32_t m)
{
    free();
    if (n < 0 || n > kMaxSampleChannels)
        return false;
    auto storage = std::make_shared<Storage>();
    for (int c = 0; c < n; ++c) {
        storage->buffers[c] = static_cast<float*>(platform::alignedAlloc(sizeof(float) * m));
        if (!storage->buffers[c] && m != 0)
            return false;
    }
    adopt(std::move(storage));
    channels = n;
    frames = m;
    return true;
}

void TesselSampleData::swap(TesselSampleData& other) noexcept
{
    std::swap(buffers, other.buffers);
    std::swap(frames, other.frames);
    std::swap(channels, other.channels);
    storage_.swap(other.storage_);
}

void TesselSampleData::share(const TesselSampleData& other)
{
    if (&other == this)
        return;
    storage_ = other.storage_;
    for (int c = 0; c < kMaxSampleChannels; ++c)
        buffers[c] = other.buffers[c];
    frames = other.frames;
    channels = other.channels;
}

bool TesselSampleData::assign(const TesselSampleData& other)
{
    if (&other == this)
        return true;
    free();
    if (!other.storage_ || other.frames == 0) {
        // Nothing to copy: no block either, so that settings alone are
        // assigned without an allocation (as a load does under the song lock).
        channels = other.channels;
        frames = other.frames;
        return true;
    }
    auto storage = std::make_shared<Storage>();
    for (int c = 0; c < kMaxSampleChannels; ++c) {
        if (!other.buffers[c] || other.frames == 0)
            continue;
        storage->buffers[c] = static_cast<float*>(platform::alignedAlloc(sizeof(float) * other.frames));
        if (!storage->buffers[c])
            return false;
        std::copy(other.buffers[c], other.buffers[c] + other.frames, storage->buffers[c]);
    }
    adopt(std::move(storage));
    channels = other.channels;
    frames = other.frames;
    return true;
}

void TesselSampleData::silence()
{
    for (float* buffer : buffers)
        if (buffer)
            std::fill(buffer, buffer + frames, 0.0f);
}

void TesselSampleData::holdFrom(uint32_t f)
{
    if (f >= frames)
        return;
    for (float* buffer : buffers)
        if (buffer)
            std::fill(buffer + f + 1, buffer + frames, buffer[f]);
}
