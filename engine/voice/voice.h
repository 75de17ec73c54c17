#pragma once
// One sounding note of the engine: a sample or MIDI note started on a
// channel, with its own copy of the subrow that started it. Voices live in the
// voice pool and hang on channels through voice-list nodes. This file holds
// the record, its life and its event chain; note handling builds on it.

#include "engine/voice/voice_event.h"
#include "model/instrument/envelope.h"
#include "model/song/subrow.h"

#include <cstddef>
#include <cstdint>

class TesselRandom;
class TesselSample;
class TesselInstrument;
class TesselChannel;
struct TesselPositionTable;
struct TesselVoiceWalk;

// Voice state byte (the state of the current event).
namespace voice_state {
constexpr uint8_t kIdle = 0x00;
constexpr uint8_t kActive = 0x01;
constexpr uint8_t kDelayed = 0x02;     // waiting for a delayed note
constexpr uint8_t kReleased = 0x04;
constexpr uint8_t kSample = 0x08;
constexpr uint8_t kMidi = 0x10;
constexpr uint8_t kNoRamp = 0x20;      // next gain update jumps to the target
} // namespace voice_state

struct TesselEnvelopeState {
    uint8_t enabled = 0;
    uint8_t running = 1;     // 0 ended, 1 one value, 2 two values
    uint8_t backwards = 0;
    uint8_t phase = 1;       // 1 key held, 3 released
    uint8_t node = 0;
    float value = 0.0f;
    float secondValue = 0.0f;
    uint16_t position = 0;
    uint16_t step = 1;
};

struct TesselVoiceMidiState {
    int32_t stage = 0;       // 0 nothing sent, 1 program sent, 2 note on sent
    int32_t note = 0;
    int32_t channel = 0;
    int32_t port = 0;
    int32_t bend = -1;       // last values sent; -1 = none
    int32_t volume = -1;
    int32_t panning = -1;
};

// The fields that TesselVoice::assign copies: all but the current event, the
// event chain, the position table and the row copy.
struct TesselVoiceFields {
    float filterHistory[8] = {};
    int8_t key = -1;
    // With the current event's state and the row copy, what a row reads of
    // each of the 64 channels to see that it has nothing to do (most
    // channels of a song play nothing): on the voice's first line.
    uint8_t subrowIndex = 255;   // 255 = none
    uint16_t flags = 0;
    TesselInstrument* instrument = nullptr;
    TesselChannel* channelSettings = nullptr;
    TesselChannel* liveChannel = nullptr;
    int32_t leftGain = 0;      // value / 2^24
    int32_t rightGain = 0;
    TesselEnvelopeState envelopes[kEnvelopes];
    int8_t note = -1;
    char noteText[4] = {};
    int8_t volume = 0;
    int8_t effectiveVolume = 0;
    uint8_t cutoff = 127;
    uint8_t effectiveCutoff = 127;
    uint8_t lastCutoff = 127;
    uint8_t resonance = 0;
    uint8_t effectiveResonance = 0;
    uint8_t lastResonance = 0;
    uint8_t newNoteAction = 0;   // 0 cut, 1 continue, 2 note off, 3 fade
    uint8_t velocity = 0;
    uint8_t instrumentNumber = 0;
    uint8_t autoVibratoPhase = 0;
    int8_t effectivePanning = 0;
    uint16_t panning = 0;
    uint16_t autoVibratoDepth = 0;
    int32_t separation = 0;
    int16_t fade = -1;           // 0..1024; -1 = not fading
    float pitchFactor = 1.0f;
    float startPitchFactor = 1.0f;
    int32_t volumeProduct = 0;
    TesselVoiceMidiState midi;
    TesselVoiceMidiState previousMidi;
    uint8_t depth = 0;
    uint8_t effectiveDepth = 0;
    uint8_t rotation = 0;

    // What the mixer reads and writes in every block, last, beside the
    // voice's current event and event chain: a block paced at real time finds
    // all of it cold, and together it fills three cache lines, not five.
    float filter[3] = {1.0f, 0.0f, 0.0f};   // a0, b1, b2; 1, 0, 0 = bypass
    int32_t position = -1;
    float fraction = 0.0f;
    float peaks[2] = {};
    float ramp[4] = {};        // current and target of channel 0, then of channel 1
    // The mixer's exact state beyond position, fraction and ramp: the
    // position to 2^-32 of a frame (used while position and fraction are its
    // rounding), and for each channel the gain its ramp started from and the
    // frames it has run toward the current target (0: starts afresh).
    int64_t exactPosition = 0;
    float rampFrom[2] = {};
    int32_t rampAge[2] = {};
    TesselSample* sample = nullptr;
    uint8_t backwards = 0;
    uint8_t sustainState = 1;    // 1 sustain loop applies, 3 released
};
// The voice is line-aligned: a row's check stays on the first line, and the
// mixer's fields start one.
static_assert(offsetof(TesselVoiceFields, liveChannel) + sizeof(TesselChannel*) <= 64);
static_assert(offsetof(TesselVoiceFields, filter) % 64 == 0);

// Line-aligned in its pool, so that the fields a block reads take the fewest lines.
class alignas(64) TesselVoice : public TesselVoiceFields {
public:
    explicit TesselVoice(TesselPositionTable* table = nullptr);
    ~TesselVoice();
    TesselVoice(const TesselVoice&) = delete;
    TesselVoice& operator=(const TesselVoice&) = delete;

    void reset();
    void initState();
    void assign(const TesselVoice& other) { static_cast<TesselVoiceFields&>(*this) = other; }
    // assign, the current event, a copy of each of the other's events (as far
    // as the event pool supplies them), the row copy and the position table.
    void copyFrom(const TesselVoice& other);
    void freeEvents();
    bool appendEvent(const TesselVoiceEvent& source);

    // Note start and release (audio thread, or any thread holding the song lock).
    // Starts the note of the voice's sample and instrument: envelopes from
    // the instrument, loops of the sample back at their stored bounds.
    void startNote();
    // The state byte a new note takes: 9 for a sample with audio, 0x11 for a
    // MIDI instrument, else 0.
    uint8_t noteState() const;
    void resetEnvelopes();
    // Each does nothing to an idle voice. The fade is `startFade` because
    // `fade` is the fade level.
    void cut();
    void startFade();
    void noteOff();
    void setVolume(int v);
    void setCutoff(int v);
    void setResonance(int v);
    void setPanning(int v);
    // The instrument's key-map subrow for the key; null without instrument or key.
    const TesselSubrow* keyMapEntry() const;
    // Records the current event in the block's chain when it changed: spanning
    // the whole block, replacing a last event that starts at frame 0.
    void recordEvent(int blockFrames);

    uint8_t state() const { return current.state; }
    // The mute of the song's channel the voice plays on, read where the
    // editor sets it (a preview voice's record stands for itself).
    bool channelMuted() const;
    void setState(uint8_t s) { current.state = s; }

    // Mixer. Audio thread, song lock held; never allocates or locks.
    // Scratch channels hold kScratchFrames floats: a block and the four
    // values the four-frame routine may write after the last frame.
    static constexpr int kScratchFrames = 16384 + 4;
    // Renders the current event into frames start..end-1 of the scratch
    // channels; returns the frame after the last one rendered (0 when nothing).
    // A voice whose event keeps every rendered channel's gain at 0 without a
    // filter renders nothing but its position: render returns what it
    // would, the frames silent.
    int render(float* const scratch[2], int channels);
    bool silentEvent(int channels) const;
    // The walk of the current event from the voice's position, and the
    // walk's end kept in the voice.
    TesselVoiceWalk startWalk() const;
    void keepWalk(const TesselVoiceWalk& walk);
    // The resonant filter acts (coefficients other than the bypass).
    bool filtered() const { return filter[0] != 1.0f || filter[1] != 0.0f || filter[2] != 0.0f; }
    // The resonant filter over frames start..end-1 of the scratch channels
    // (named apart from the coefficient field `filter`).
    void applyFilter(float* const scratch[2], int channels, int end);

    // Voice update. Row processing calls the defaults by the row flags
    // (0x40 pitch, 0x80 instrument, 1 note after startNote, then 0x40
    // separation), then runEffectSlots and computeTick; on each later tick
    // runEffectSlots (current voice only) and computeTick. Song lock held.
    float noteFactor(int32_t note) const;
    void takePitchDefaults();
    void takeInstrumentDefaults();
    void takeNoteDefaults(TesselRandom& random);
    void takeSeparation();
    void runEffectSlots();
    void computeTick();
    void tickEnvelopes();
    void updateEffectiveVolume();
    void updateEffectivePanning();
    void updateEffectiveDepth();
    void tickPitch();
    void updateEffectiveFilter();
    void updateFilter();
    void computeGains();   // volume product, fade, auto-vibrato, channel gains
    void applyGains();

    // Row processing, song lock held. The voice row step at frame
    // `blockOffset`: defaults by the row flags, the mix columns, the effect
    // set-up, the derived values and the MIDI step. Envelopes, fade and
    // auto-vibrato do not advance here: the tick update that follows does.
    void updateRow(int blockOffset, TesselRandom& random);
    // The volume, panning and depth columns of the voice's row.
    void applyMixColumns();
    // The tick computation without the steps that advance in time.
    void computeRowValues();
    // Records the current event from frame `offset` to `blockFrames`: an
    // event that starts earlier ends at `offset` and a copy follows it; one
    // that starts there takes the new values.
    void recordEventAt(int offset, int blockFrames);

    TesselVoiceEvent current;
    TesselVoiceEvent* events = nullptr;
    TesselPositionTable* positionTable = nullptr;
    TesselSubrow row;
};
