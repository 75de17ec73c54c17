// One tick of a voice's four envelopes: sustain and release loops, the
// value on the current segment, and the advance by the tick's step.
#include "engine/timing/position_table.h"
#include "engine/voice/voice.h"

#include "model/instrument/instrument.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kMaxPosition = 65535;

// Node data from a file is checked here: indices stay inside the node
// count and values inside 0..64.
class EnvelopeView {
public:
    explicit EnvelopeView(const TesselEnvelope& e)
        : envelope_(e), count_(static_cast<int32_t>(std::min<uint32_t>(e.nodeCount, kEnvelopeNodes)))
    {
    }
    int32_t count() const { return count_; }
    int32_t index(int32_t i) const { return std::clamp<int32_t>(i, 0, count_ - 1); }
    const TesselEnvelopeNode& node(int32_t i) const { return envelope_.node(index(i)); }
    int32_t tick(int32_t i) const { return node(i).tick; }
    const TesselEnvelope& envelope() const { return envelope_; }

private:
    const TesselEnvelope& envelope_;
    int32_t count_;
};

float clampValue(float v)
{
    return std::clamp(v, 0.0f, 64.0f);
}

// Sustain or release loop: jump back (type 1) or turn round (type 2).
void loopStep(TesselEnvelopeState& e, int32_t& position, const TesselLoop& loop, const EnvelopeView& view)
{
    const int32_t start = view.index(loop.begin);
    const int32_t end = view.index(loop.end);
    if (loop.type == 1) {
        if (position >= view.tick(end)) {
            e.node = static_cast<uint8_t>(start);
            position = view.tick(start);
            e.backwards = 0;
        }
    } else if (loop.type == 2) {
        if (e.backwards && position <= view.tick(start)) {
            e.backwards = 0;
            position = 2 * view.tick(start) - position;
        } else if (!e.backwards && position >= view.tick(end)) {
            e.backwards = 1;
            position = std::max(0, 2 * view.tick(end) - position);
        }
    }
}

void stepEnvelope(TesselEnvelopeState& e, const EnvelopeView& view)
{
    int32_t position = e.position;
    const TesselEnvelope& def = view.envelope();
    e.node = static_cast<uint8_t>(view.index(e.node));

    if (e.phase == 1) {
        if (def.sustain.type == 0)
            e.phase = 3;
        else
            loopStep(e, position, def.sustain, view);
    }
    if (e.phase == 3) {
        if (def.loop.type == 0) {
            const TesselEnvelopeNode& last = view.node(view.count() - 1);
            if (position >= last.tick - 1) {
                e.value = clampValue(last.value);
                if (e.running == 2)
                    e.secondValue = clampValue(last.value2);
                e.running = 0;
                e.position = static_cast<uint16_t>(position);
                return;
            }
        } else {
            loopStep(e, position, def.loop, view);
        }
    }

    const TesselEnvelopeNode& at = view.node(e.node);
    const bool hasNext = e.node + 1 < view.count();
    const float offset = static_cast<float>(position - at.tick);
    e.value = clampValue(at.value + offset * (hasNext ? view.node(e.node + 1).slope : 0.0f));
    if (e.running == 2)
        e.secondValue = clampValue(at.value2 + offset * (hasNext ? view.node(e.node + 1).slope2 : 0.0f));

    // A step in milliseconds may pass several nodes at once.
    int32_t node = e.node;
    if (e.backwards) {
        position = std::max(0, position - e.step);
        while (node > 0 && view.tick(node) >= position)
            --node;
    } else {
        position = std::min(kMaxPosition, position + e.step);
        while (node + 1 < view.count() && position >= view.tick(node + 1))
            ++node;
    }
    e.node = static_cast<uint8_t>(node);
    e.position = static_cast<uint16_t>(position);
}

} // namespace

void TesselVoice::tickEnvelopes()
{
    if (!instrument)
        return;
    for (int i = 0; i < kEnvelopes; ++i) {
        TesselEnvelopeState& e = envelopes[i];
        const TesselEnvelope& def = instrument->envelopes[static_cast<size_t>(i)];
        if (def.enabled == TesselEnvelope::Milliseconds) {
            const double ms = positionTable ? positionTable->msPerTick : 1.0;
            e.step = static_cast<uint16_t>(std::clamp(std::trunc(ms + 0.5001), 0.0, static_cast<double>(kMaxPosition)));
        }
        const EnvelopeView view(def);
        if (!e.enabled || !e.running || view.count() == 0)
            continue;
        stepEnvelope(e, view);
        if (i == kVolumeEnvelope && e.running == 0)
            startFade();
    }
}
