#pragma once
// The pages' writes of one channel's settings (name, colour, volume,
// panning, mute). Each waits 1000 ms for the song lock and writes nothing on
// time-out; then the pattern editor draws the channel again, its header
// strip too. GUI thread only.

#include <cstdint>

class TesselEditorPageServices;
class TesselModule;

constexpr int kChannelNameLength = 14;

// False when nothing was written (no song, a channel outside 0..63, the
// lock busy).
bool storeChannelVolume(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, int32_t volume);
bool storeChannelPanning(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, int32_t panning);
// COLORREF; 0xFFFFFF is none.
bool storeChannelColour(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, uint32_t colour);
// Exactly kChannelNameLength characters (trailing blanks kept).
bool storeChannelName(TesselEditorPageServices* editor, TesselModule* song, int32_t channel, const char* name);
bool toggleChannelMute(TesselEditorPageServices* editor, TesselModule* song, int32_t channel);

// The channel's name as an edit starts from it: blank-padded to
// kChannelNameLength characters, so that nothing typed lands behind a
// shorter name's end. `out` holds kChannelNameLength + 1 characters.
void paddedChannelName(const TesselModule& song, int32_t channel, char* out);

// The pattern editor draws the channel again, its header strip rendered
// anew when the name or colour changed.
void redrawPatternChannel(TesselEditorPageServices* editor, int32_t channel, bool header);
