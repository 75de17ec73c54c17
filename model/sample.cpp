#include "model/sample.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

std::atomic<TesselRenderVariant> renderVariant{TesselRenderVariant::Linear};

TesselRenderVariant chooseRenderVariant()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("sse2"))
        return TesselRenderVariant::LinearSse;
#endif
    return TesselRenderVariant::Linear;
}

} // namespace

TesselRenderVariant sampleRenderVariant()
{
    return renderVariant.load(std::memory_order_relaxed);
}

TesselSample::TesselSample()
{
    renderVariant.store(chooseRenderVariant(), std::memory_order_relaxed);
    reset();
}

TesselSample::TesselSample(const TesselSample& other) : TesselSample()
{
    index = other.index;
    assign(other);
}

void TesselSample::reset()
{
    setName("");
    defaultVolume = 64;
    globalVolume = 64;
    defaultPan = -1;
    defaultDepth = -1;
    defaultRotation = -1;
    reserved = 0;
    clearData();
    loop.reset();
    sustain.reset();
    vibrato = TesselVibrato{};
}

void TesselSample::destroyData()
{
    filename.clear();
    filename.shrink_to_fit();
    audio.free();
}

void TesselSample::clearData()
{
    filename.clear();
    std::memset(header, 0, sizeof header);
    bits = 0;
    fileRate = 0;
    speed = 0;
    pitch = 60;
    audio.free();
    channels = 0;
    length = 0;
    for (auto& channel : overview)
        channel.fill(TesselOverviewPair{});
}

void TesselSample::setName(const char* text)
{
    const size_t n = text ? std::min(std::strlen(text), static_cast<size_t>(kSampleNameLength)) : 0;
    std::memset(name, ' ', kSampleNameLength);
    if (n)
        std::memcpy(name, text, n);
    name[kSampleNameLength] = '\0';
}

void TesselSample::assignData(const TesselSample& other)
{
    if (&other == this)
        return;
    clearData();
    filename = other.filename;
    speed = other.speed;
    pitch = other.pitch;
    fileRate = other.fileRate;
    bits = other.bits;
    std::memcpy(header, other.header, sizeof header);
    audio.assign(other.audio);
    channels = other.channels;
    length = other.length;
    overview = other.overview;
}

void TesselSample::assign(const TesselSample& other)
{
    if (&other == this)
        return;
    reset();
    std::memcpy(name, other.name, sizeof name);
    name[kSampleNameLength] = '\0';
    defaultVolume = other.defaultVolume;
    globalVolume = other.globalVolume;
    defaultPan = other.defaultPan;
    defaultDepth = other.defaultDepth;
    defaultRotation = other.defaultRotation;
    assignData(other);
    loop.assign(other.loop);
    sustain.assign(other.sustain);
    vibrato = other.vibrato;
}

bool TesselSample::isEmpty() const
{
    static const char blanks[kSampleNameLength + 1] = "                         ";
    return std::memcmp(name, blanks, kSampleNameLength) == 0 && defaultVolume == 64 && globalVolume == 64 &&
           defaultPan == -1 && defaultDepth == -1 && defaultRotation == -1 && reserved == 0 && isDataEmpty() &&
           loop.isEmpty() && sustain.isEmpty() && vibrato.isZero();
}
