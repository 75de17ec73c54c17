// Unrolling one pattern into a timing list: speed and tempo changes, pattern
// loops, jumps and breaks are resolved here so that playback never has to
// replay the song to find a position.
#include "engine/engine.h"
#include "engine/rows/pattern_loop.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

class PatternWalk {
public:
    PatternWalk(const TesselModule& song, TesselPlaylist& list, int order, double speed)
        : song_(song), list_(list), order_(order), speed_(speed)
    {
    }

    TesselPatternTiming run(const TesselPattern& pattern)
    {
        const int length = pattern.length();
        for (int row = 0; row < length && !stop_ && list_.count < list_.capacity; ++row) {
            add_ = true;
            for (int c = 0; c < kChannels && add_; ++c)
                row = readCell(pattern, c, row);
            if (add_ && list_.count < list_.capacity)
                list_.append(order_, row, speed_);
        }
        result_.speed = speed_;
        return result_;
    }

private:
    // Returns the row the walk continues from (a loop jumps back).
    int readCell(const TesselPattern& pattern, int channel, int row)
    {
        const TesselTrack* track = pattern.tracks.trackAt(channel);
        const TesselSubrow& cell = track ? static_cast<const TesselSubrow&>(track->rowOrBlank(row)) : TesselRow::blank();
        const char letter = cell.effect.command;
        const int parameter = cell.effect.parameter;
        switch (letter) {
        case '@':
            if (parameter > 0)
                changeTempo(parameter);
            return row;
        case 'A':
            if (parameter != 0)
                speed_ = std::clamp(parameter, 1, 100);
            return row;
        case 'B':
            if (parameter >= 0 && parameter < 256) {
                result_.jump = parameter;
                stop_ = true;
            }
            return row;
        case 'C':
            result_.breakRow = parameter;
            stop_ = true;
            return row;
        default:
            break;
        }
        const bool loopCommand = letter == 'S' && (parameter & 0xF0) == 0xB0;
        if (loopCommand)
            return stepLoop(channel, parameter & 0x0F, row);
        // Row 0 starts every channel's loop at row 0; the parameter of any
        // other command must not arm a loop there.
        if (row == 0)
            return stepLoop(channel, 0, row);
        return row;
    }

    int stepLoop(int channel, int x, int row)
    {
        const int loopRow = stepPatternLoop(loops_.data(), kChannels, channel, x, row);
        if (loopRow < 0)
            return row;
        if (list_.count < list_.capacity)
            list_.append(order_, row, speed_);
        add_ = false;
        return loopRow - 1;
    }

    void changeTempo(int tempo)
    {
        const int32_t at = list_.count;
        auto& map = list_.tempoMap;
        if (auto same = map.find(at); same != map.end()) {
            same->second.tempo = tempo;
            return;
        }
        const double start = list_.timeAt(at, song_.rowsPerQuarter, song_.timingMode == TesselModule::Speed);
        auto it = map.emplace(at, TesselTempoEntry{static_cast<double>(tempo), start, 0}).first;
        if (it != map.begin())
            std::prev(it)->second.nextChange = at;
        if (auto later = std::next(it); later != map.end())
            it->second.nextChange = later->first;
    }

    const TesselModule& song_;
    TesselPlaylist& list_;
    int order_;
    double speed_;
    bool stop_ = false;
    bool add_ = true;
    TesselPatternTiming result_;
    std::array<TesselLoopState, kChannels> loops_{};
};

} // namespace

TesselPatternTiming buildPatternTiming(const TesselModule& song, const TesselPattern& pattern, TesselPlaylist& list,
                                       int order)
{
    const double speed = list.count > 0 ? list.entries()[list.count - 1].speed : song.resolution;
    return PatternWalk(song, list, order, speed).run(pattern);
}

TesselPatternTiming TesselEngine::buildPatternTiming(const TesselPattern& pattern, TesselPlaylist& list, int order) const
{
    return ::buildPatternTiming(song, pattern, list, order);
}
