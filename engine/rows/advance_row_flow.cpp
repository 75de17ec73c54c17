// Flow commands while one pattern loops: tempo, speed, the break's row and
// pattern loops, acted on as the row starts.
#include "engine/engine.h"

#include "engine/rows/pattern_loop.h"

#include <algorithm>

void TesselEngine::applyRowFlow(TesselPlayPosition& at, int channel)
{
    if (!at.pattern || channel < 0 || channel >= kChannels)
        return;
    const TesselTrack* track = at.pattern->tracks.trackAt(channel);
    const TesselSubrow& cell = track ? static_cast<const TesselSubrow&>(track->rowOrBlank(at.row)) : TesselRow::blank();
    const int parameter = cell.effect.parameter;
    switch (cell.effect.command) {
    case '@':
        if (parameter > 0)
            setTempo(parameter);
        return;
    case 'A':
        if (parameter != 0)
            setSpeed(std::clamp(parameter, 1, 100));
        return;
    case 'C':
        if (at.pendingRow < 0)
            at.pendingRow = parameter;
        return;
    default:
        break;
    }
    const bool loopCommand = cell.effect.command == 'S' && (parameter & 0xF0) == 0xB0;
    if (!loopCommand && at.row != 0)
        return;
    const int loopRow = stepPatternLoop(at.loops.data(), kChannels, channel, loopCommand ? parameter & 0x0F : 0, at.row);
    if (loopRow >= 0)
        at.pendingRow = loopRow;
}
