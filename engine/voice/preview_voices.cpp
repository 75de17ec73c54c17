// Silencing a file browser's preview before its module changes under it.
#include "engine/engine.h"
#include "engine/voice/voice.h"

namespace {

template <typename Slot, size_t N>
bool inSlots(const Slot* p, const std::array<Slot, N>& slots)
{
    return p && p >= slots.data() && p < slots.data() + N;
}

bool playsFrom(const TesselVoice& voice, const TesselModule& module)
{
    return inSlots(voice.sample, module.samples) || inSlots(voice.instrument, module.instruments);
}

} // namespace

bool TesselEngine::removePreviewVoices(const TesselModule& module, uint32_t timeoutMs)
{
    platform::MutexLock lock(song.songLock(), timeoutMs);
    if (!lock)
        return false;
    bool removed = false;
    for (TesselVoiceListNode* node = voiceLists[TesselChannelVoiceList::kPreview].head; node; node = node->next)
        if (node->voice && playsFrom(*node->voice, module)) {
            node->reset();
            removed = true;
        }
    // The browser's keys are held in row 0 on the preview list.
    if (removed)
        for (int32_t& held : heldNotes[0])
            if (held == kVoiceLists)
                held = 0;
    return true;
}
