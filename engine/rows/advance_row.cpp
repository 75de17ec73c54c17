// The row advance of song and pattern playback: on a new row each channel's
// cell goes to row processing and the status line shows where playback is;
// on a later tick of the row the cells' further subrows for that tick play.
#include "engine/engine.h"

#include "engine/engine_status.h"
#include "platform/status_text.h"
#include "platform/vst2_records.h"

#include <cstring>

namespace {

constexpr uint16_t kPlaybackFlag = 0x100;

int patternNumber(const TesselModule& song, const TesselPattern* pattern)
{
    return static_cast<int>(pattern - song.patterns.data());
}

// A status line put together piece by piece: the audio thread writes one on
// every row, and the general formatter costs far more than these few pieces
// (its code and locale data are cold on most blocks). What does not fit is
// cut at the line's end, the terminator always kept.
class StatusLine {
public:
    explicit StatusLine(char* out) : out_(out) { out_[0] = '\0'; }

    StatusLine& text(const char* piece)
    {
        while (*piece && used_ + 1 < platform::kStatusTextSize)
            out_[used_++] = *piece++;
        out_[used_] = '\0';
        return *this;
    }

    // Decimal, with at least minDigits characters: zeros fill after any sign.
    StatusLine& number(int value, int minDigits = 1)
    {
        char digits[16];
        int n = 0;
        unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
        do {
            digits[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
        char piece[20];
        int used = 0;
        if (value < 0)
            piece[used++] = '-';
        for (int fill = minDigits - n - used; fill > 0; --fill)
            piece[used++] = '0';
        while (n)
            piece[used++] = digits[--n];
        piece[used] = '\0';
        return text(piece);
    }

private:
    char* out_;
    size_t used_ = 0;
};

// Puts "<pattern>:<row>  <inner>" in front of the chained text.
void chainRowText(const TesselModule& song, const TesselPattern& pattern, int row, char* text)
{
    char inner[platform::kStatusTextSize];
    std::memcpy(inner, text, sizeof inner);
    // Deeper chains are cut at the line's end.
    StatusLine line(text);
    if (pattern.label[0])
        line.text(pattern.label);
    else
        line.number(patternNumber(song, &pattern), 3);
    line.text(":").number(row, 3).text("  ").text(inner);
}

// Only over an empty line or an earlier playing message, and never waiting.
void playingStatus(const char* status)
{
    platform::trySetStatusText(status, "Playing");
}

} // namespace

void TesselEngine::advanceRow(const VstTimeInfo* time, int frame)
{
    TesselAudioThreadScope audioThread;
    if (positions.empty() || transport < kPlayingSong)
        return;
    TesselPlayPosition& main = positions.front();
    // Tick 0 starts a row (-1: nothing acted on yet).
    if (main.tick > 0) {
        playFurtherSubrows(frame);
        return;
    }
    if (editor)
        editor->setPlaybackPosition(-1, -1, -1);

    char text[platform::kStatusTextSize] = {};
    bool handled[kChannels] = {};
    for (size_t i = positions.size(); i-- > 1;)
        advanceFurtherPosition(positions[i], text, handled, frame);
    if (!advanceMainPosition(text))
        return;

    tickFlags |= kPlaybackFlag;
    for (int c = 0; c < kChannels; ++c)
        if (!handled[c])
            playChannelCell(c, main.pattern, main.row, frame);
    tickFlags &= static_cast<uint16_t>(~kPlaybackFlag);

    char status[platform::kStatusTextSize];
    StatusLine line(status);
    if (transport == kPlayingSong) {
        const bool hostPlays = time && (time->flags & kVstTransportPlaying);
        line.text(hostPlays ? "Playing Song with Host" : "Playing Song").text(" (Order: ").number(currentOrder);
        line.text(" / Pattern: ").text(text).text(")");
    } else {
        line.text("Playing Looped Pattern (").text(text).text(")");
    }
    playingStatus(status);
}

// Finds the main position's row, applies what it changes in the timing,
// and chains its text; false when there is nothing to play.
bool TesselEngine::advanceMainPosition(char* text)
{
    TesselPlayPosition& at = positions.front();
    if (transport == kPlayingSong) {
        if (at.entry < 0 || at.entry >= songTiming.count) {
            engineStatus("End of order list.");
            return false;
        }
        const TesselPlaylistEntry& entry = songTiming.entries()[at.entry];
        currentOrder = entry.order;
        playingOrder_.store(currentOrder, std::memory_order_relaxed);
        if (entry.order >= 0 && entry.order < kOrderEntries) {
            const int32_t p = song.orderList.entries[static_cast<size_t>(entry.order)].pattern;
            if (p >= 0 && p < kPatterns)
                at.pattern = &song.patterns[static_cast<size_t>(p)];
        }
        if (!at.pattern) {
            engineStatusFormat("No entry in order list (Order: %d)", currentOrder);
            return false;
        }
        at.row = entry.row;
        setSpeed(entry.speed);
        if (!hostSendsTime && nextTempoChange != 0 && nextTempoChange == at.entry) {
            const auto change = songTiming.tempoMap.find(at.entry);
            if (change != songTiming.tempoMap.end())
                setTempoEntry(change->second);
        }
    } else {
        if (!at.pattern)
            return false;
        int row = at.pendingRow >= 0 ? at.pendingRow : at.entry;
        at.pendingRow = -1;
        const int length = at.pattern->length();
        if (length <= 0)
            return false;
        if (row >= length)
            row %= length;
        if (row < 0)
            row = 0;
        // Playback goes on from the row chosen here: the song time follows
        // it so that the next row is the one after it.
        at.time += row - at.entry;
        at.entry = row;
        at.row = row;
        for (int c = 0; c < kChannels; ++c)
            applyRowFlow(at, c);
    }
    chainRowText(song, *at.pattern, at.row, text);
    if (editor)
        editor->setPlaybackPosition(transport == kPlayingSong ? currentOrder : -1, patternNumber(song, at.pattern),
                                    at.row);
    return true;
}

// A further position plays its pattern's own timing list, and only the
// channels whose cell at its row holds something.
void TesselEngine::advanceFurtherPosition(TesselPlayPosition& at, char* text, bool* handled, int frame)
{
    if (!at.pattern)
        return;
    const int p = patternNumber(song, at.pattern);
    if (p < 0 || p >= kPatterns || !patternTiming[static_cast<size_t>(p)])
        return;
    const TesselPlaylist& list = *patternTiming[static_cast<size_t>(p)];
    if (list.count <= 0)
        return;
    if (at.entry >= list.count) {
        int32_t restart = 0;
        while (restart < list.count && list.entries()[restart].row != list.startRow)
            ++restart;
        at.entry = restart < list.count ? restart : 0;
    }
    if (at.entry < 0)
        at.entry = 0;
    at.row = list.entries()[at.entry].row;
    chainRowText(song, *at.pattern, at.row, text);

    tickFlags |= kPlaybackFlag;
    for (int c = 0; c < kChannels; ++c)
        if (!handled[c] && at.pattern->findRow(c, at.row)) {
            playChannelCell(c, at.pattern, at.row, frame);
            handled[c] = true;
        }
    tickFlags &= static_cast<uint16_t>(~kPlaybackFlag);
}

void TesselEngine::playChannelCell(int channel, const TesselPattern* pattern, int row, int frame)
{
    const TesselTrack* track = pattern ? pattern->tracks.trackAt(channel) : nullptr;
    const TesselRow& cell = track ? track->rowOrBlank(row) : TesselRow::blank();
    rowPattern_[static_cast<size_t>(channel)] = pattern;
    rowNumber_[static_cast<size_t>(channel)] = row;
    // Most channels of most songs sit idle on blank cells.
    if (&cell == &TesselRow::blank() && passesBlankCell(channel))
        return;
    processChannelRow(channel, &cell, row, frame);
}

// The row is looked up again on every tick: an edit between ticks may have
// added, removed or freed it, and nothing tells the audio thread so.
void TesselEngine::playFurtherSubrows(int frame)
{
    const int tick = positions.front().tick;
    tickFlags |= kPlaybackFlag;
    for (int c = 0; c < kChannels; ++c) {
        const TesselPattern* pattern = rowPattern_[static_cast<size_t>(c)];
        if (!pattern)
            continue;
        // Most rows have no further subrows: that is seen from the row slot
        // and the row alone, before the channel's voice is looked at (most
        // of the 64 channels of a song play nothing). A row with a list is
        // never empty, and inside the length it makes its track non-empty,
        // so it is the row the pattern's lookup would find; only a row
        // beyond the length needs it.
        const TesselTrack* track = pattern->tracks.trackAt(c);
        const int number = rowNumber_[static_cast<size_t>(c)];
        if (!track)
            continue;
        const TesselRow* row = number >= 0 && number < track->length() ? track->rowAt(number)
                                                                        : pattern->findRow(c, number);
        if (!row || !row->hasSubrowList())
            continue;
        const TesselChannelVoiceList& list = voiceLists[static_cast<size_t>(c)];
        if (!list.head || !list.head->voice)
            continue;
        if (const TesselSubrow* subrow = row->findSubrow(tick))
            processChannelRow(c, subrow, tick, frame);
    }
    tickFlags &= static_cast<uint16_t>(~kPlaybackFlag);
}
