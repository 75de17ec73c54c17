#include "editor/core/channel_edits.h"

#include "editor/core/editor_page_services.h"
#include "model/song/module.h"
#include "patterneditor/grid/pattern_grid.h"
#include "patterneditor/pattern_editor_page.h"

#include <cstring>

namespace {

// The edit runs under the song lock on a channel in 0..63. A mute is
// listening, not an edit to offer to save.
template <class Edit>
bool editChannel(TesselModule* song, int32_t channel, Edit edit, bool songEdit = true)
{
    if (!song || channel < 0 || channel >= kChannels)
        return false;
    platform::MutexLock lock(song->songLock(), editLockWaitMs);
    if (!lock)
        return false;
    edit(song->channels[static_cast<size_t>(channel)]);
    if (songEdit)
        song->markEdited();
    return true;
}

} // namespace

bool storeChannelVolume(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, int32_t volume)
{
    if (!editChannel(song, channel, [volume](TesselChannel& c) { c.setVolume(volume); }))
        return false;
    redrawPatternChannel(editor, channel, false);
    return true;
}

bool storeChannelPanning(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, int32_t panning)
{
    if (!editChannel(song, channel, [panning](TesselChannel& c) { c.setPanning(panning); }))
        return false;
    redrawPatternChannel(editor, channel, false);
    return true;
}

bool storeChannelColour(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, uint32_t colour)
{
    if (!editChannel(song, channel, [colour](TesselChannel& c) { c.colour = colour & 0xFFFFFF; }))
        return false;
    redrawPatternChannel(editor, channel, true);
    return true;
}

bool storeChannelName(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, const char* name)
{
    char text[kChannelNameLength + 1] = {};
    std::memcpy(text, name, kChannelNameLength);
    if (!editChannel(song, channel, [&text](TesselChannel& c) { std::memcpy(c.name, text, sizeof text); }))
        return false;
    redrawPatternChannel(editor, channel, true);
    return true;
}

bool toggleChannelMute(TesselEditorPageServices* editor, TesselModule* song, int32_t channel)
{
    if (!editChannel(song, channel, [](TesselChannel& c) { c.mute = c.mute ? 0 : 1; }, false))
        return false;
    redrawPatternChannel(editor, channel, false);
    return true;
}

void paddedChannelName(const TesselModule& song, int32_t channel, char* out)
{
    std::memset(out, ' ', kChannelNameLength);
    out[kChannelNameLength] = '\0';
    if (channel < 0 || channel >= kChannels)
        return;
    const char* name = song.channels[static_cast<size_t>(channel)].name;
    const size_t length = strnlen(name, kChannelNameLength);
    std::memcpy(out, name, length);
}

void redrawPatternChannel(TesselEditorPageServices* editor, int32_t channel, bool header)
{
    TesselPatternEditorPage* page = editor ? editor->patternEditorPage() : nullptr;
    if (!page)
        return;
    if (header)
        if (TesselPatternUI* grid = page->patternGrid())
            grid->renderChannelHeader(channel);
    page->setDirtyChannel(true, channel);
}
