#include "model/sample/sample.h"

#include "model/text_field.h"

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

void TesselLoop::keepWithin(int32_t last)
{
    if (type < 0 || type > 2)
        type = 0;
    last = std::max(last, 0);
    setBegin(std::clamp(begin, 0, last));
    setEnd(std::clamp(end, 0, last));
}

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
    unreadAudio.reset();
    filename.clear();
    filename.shrink_to_fit();
    audio.free();
}

void TesselSample::clearData()
{
    unreadAudio.reset();
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
    setBlankPadded(name, kSampleNameLength, text);
}

void TesselSample::assignData(const TesselSample& other, bool sharedAudio)
{
    if (&other == this)
        return;
    clearData();
    unreadAudio = other.unreadAudio;
    filename = other.filename;
    speed = other.speed;
    pitch = other.pitch;
    fileRate = other.fileRate;
    bits = other.bits;
    std::memcpy(header, other.header, sizeof header);
    if (sharedAudio) {
        audio.share(other.audio);
    } else if (!audio.assign(other.audio)) {
        clearData();   // never a length without the audio behind it
        return;
    }
    channels = other.channels;
    length = other.length;
    overview = other.overview;
}

void TesselSample::assign(const TesselSample& other, bool sharedAudio)
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
    assignData(other, sharedAudio);
    loop.assign(other.loop);
    sustain.assign(other.sustain);
    vibrato = other.vibrato;
}

void TesselSample::takeFrom(TesselSample& other)
{
    if (&other == this)
        return;
    TesselSampleData incoming;
    incoming.swap(other.audio);
    TesselSampleData outgoing;
    outgoing.swap(audio);
    // The file name changes hands too: a copy of a long one would allocate.
    std::string incomingName;
    incomingName.swap(other.filename);
    assign(other);   // settings and file facts; no audio or name left to copy or free
    audio.swap(incoming);
    filename.swap(incomingName);
    // The other slot frees this one's old audio and name whenever it goes.
    other.audio.swap(outgoing);
    other.filename.swap(incomingName);
}

bool TesselSample::isEmpty() const
{
    return isAllBlank(name, kSampleNameLength) && defaultVolume == 64 && globalVolume == 64 &&
           defaultPan == -1 && defaultDepth == -1 && defaultRotation == -1 && reserved == 0 && isDataEmpty() &&
           loop.isEmpty() && sustain.isEmpty() && vibrato.isZero();
}
