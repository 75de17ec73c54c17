#include "editor/sample_list/sample_edit.h"

#include "model/song/module.h"
#include "platform/system/mutex.h"

#include <algorithm>
#include <utility>

TesselSampleEdit::TesselSampleEdit(TesselModule* song, int32_t index)
    : song_(song && index >= 0 && index < kSamples ? song : nullptr), index_(index)
{
}

const TesselSample& TesselSampleEdit::sample() const
{
    static const TesselSample empty;
    if (copy_)
        return *copy_;
    return song_ ? song_->samples[static_cast<size_t>(index_)] : empty;
}

TesselSample* TesselSampleEdit::copy()
{
    if (copy_ || failed_ || !song_)
        return copy_.get();
    const TesselSample& slot = song_->samples[static_cast<size_t>(index_)];
    auto made = std::make_unique<TesselSample>(slot);
    if (!isWholeCopy(*made, slot)) {
        failed_ = true;
        return nullptr;
    }
    copy_ = std::move(made);
    return copy_.get();
}

TesselSample* TesselSampleEdit::fresh()
{
    if (!song_)
        return nullptr;
    copy_ = std::make_unique<TesselSample>();
    copy_->index = index_;
    failed_ = false;
    return copy_.get();
}

bool TesselSampleEdit::commit()
{
    if (!isChanged() || !song_)
        return false;
    clampSampleLoops(*copy_);
    platform::MutexLock lock(song_->songLock(), editLockWaitMs);
    if (!lock)
        return false;
    moveSampleInto(song_->samples[static_cast<size_t>(index_)], *copy_);
    song_->markEdited();
    copy_.reset();
    changed_ = false;
    return true;
}

void clampSampleLoops(TesselSample& sample)
{
    const int32_t length = std::max(sample.length, 0);
    for (TesselLoop* loop : {&sample.loop, &sample.sustain}) {
        loop->setBegin(std::clamp(loop->begin, 0, length));
        loop->setEnd(std::clamp(loop->end, 0, length));
        if (loop->end < loop->begin)
            loop->type = 0;
    }
}

bool isWholeCopy(const TesselSample& copy, const TesselSample& source)
{
    if (copy.audio.frames != source.audio.frames || copy.length != source.length)
        return false;
    for (int c = 0; c < kMaxSampleChannels; ++c)
        if ((source.audio.buffers[c] != nullptr) != (copy.audio.buffers[c] != nullptr))
            return false;
    return true;
}

void moveSampleInto(TesselSample& slot, TesselSample& from)
{
    TesselSampleData audio;
    audio.swap(from.audio);
    // Without audio in `from`, assign copies only settings, texts and numbers.
    slot.assign(from);
    slot.audio.swap(audio);
}
