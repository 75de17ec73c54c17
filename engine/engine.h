#pragma once
// The replay engine of one plug-in instance: the song, the output block, the
// play positions, the 65 channel voice lists, the held notes, the timing
// lists and the transport state. Only one runs per process; the pools,
// tables and live channel records it fills are process-wide.

#include "engine/bus_buffer.h"
#include "engine/busy_lists.h"
#include "engine/engine_links.h"
#include "engine/line_plan.h"
#include "engine/midi/host_sync.h"
#include "engine/midi/midi_input.h"
#include "engine/random.h"
#include "engine/timing/play_position.h"
#include "engine/timing/playlist.h"
#include "engine/timing/timing_lists.h"
#include "engine/voice/voice_list.h"
#include "model/instrument/instrument.h"
#include "model/song/module.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TesselEngineMidiHost;
class TesselMidiOut;
struct VstEvents;
struct VstTimeInfo;

constexpr int kVoiceLists = TesselChannelVoiceList::kCount;
static_assert(TesselBusyLists::kLists == kVoiceLists);
constexpr int kHeldInstruments = 100;
constexpr int kHeldNotes = 120;
constexpr uint32_t kEngineLockWaitMs = 5000;

// Transport states; 2 or more counts as playing.
enum TesselTransport : int32_t {
    kStoppedReleased = 0,
    kStoppedCut = 1,
    kPlayingSong = 4,
    kPlayingPattern = 5,
};

struct TesselMidiInSlot {
    int32_t count = 0;       // keys held on the channel
    int32_t lastNote = 0;
    int32_t unused2 = -1;
    int32_t unused3 = 0;
    int32_t unused4 = -1;
    int32_t lastVolume = -1;
    int32_t unused6 = -1;

    void reset() { *this = TesselMidiInSlot{}; }
};

class TesselEngine {
public:
    // Plug-in construction thread; waits up to 5000 ms for the song lock.
    TesselEngine();
    // Plug-in deletion thread; waits up to 5000 ms for the song lock.
    ~TesselEngine();
    TesselEngine(const TesselEngine&) = delete;
    TesselEngine& operator=(const TesselEngine&) = delete;

    // False when the song lock could not be had during construction: the
    // pools, tables and timing lists are then missing, and `process` and the
    // auditions refuse to run.
    bool usable() const { return usable_; }

    // Plug-in constructor, right after the engine exists.
    void attachPlugin(TesselPluginLink* owner);
    bool hostVendorIs(const char* text) const;

    // Row timing from tempo, speed, rows per quarter and sample rate into the
    // position table. Caller holds the song lock or runs before any block.
    void computeTiming();
    // Editor thread: stops and removes every voice; waits 1000 ms for the song lock.
    void stopNow();

    // Timing lists. Each rebuild takes its scratch list's mutex (no time
    // limit) before the song lock. Without the caller's lock the copy waits
    // 1000 ms for the song lock (100 ms per pattern when all are rebuilt,
    // and once that was refused the rest only try) and a time-out keeps the
    // old list. Editor or audio thread.
    void rebuildSongPlaylist(const TesselPlayPosition* from, bool callerHoldsLock = true);
    void rebuildPatternPlaylist(int pattern, bool callerHoldsLock);
    void rebuildPatternPlaylists(bool callerHoldsLock);
    // Appends the pattern's rows, resolving speed, tempo, loops, jumps and breaks.
    TesselPatternTiming buildPatternTiming(const TesselPattern& pattern, TesselPlaylist& list, int order) const;
    // Ticks of that row for the pattern editor's row column, plus 0.1.
    double speedAtRow(int pattern, int row) const;

    // For display on the editor's thread, written by the audio thread: the
    // order position of the playing song (-1 in pitch mode, where nothing
    // keeps a pitch-order position yet; else the order index of the song
    // timing-list entry last played) and the tempo the timing was last
    // computed from. Any thread; never blocks.
    int32_t getPlayingOrder() const;
    double shownTempo() const { return shownTempo_.load(std::memory_order_relaxed); }

    // Audio thread; waits 100 ms for the song lock. False when nothing was rendered.
    bool process(int frames);
    // Editor thread auditions; false when refused or not played.
    bool playSample(int note, int sample);
    bool playNote(const TesselSubrow& subrow, int channel);
    bool previewNote(const TesselSubrow& subrow, TesselModule* module);
    // Editor thread, before a preview module is reset, loaded or freed: the
    // preview channel's voices that play its samples or instruments are
    // silenced and their keys forgotten. Waits timeoutMs for the song lock
    // (re-entrant); false, with nothing changed, on time-out.
    bool removePreviewVoices(const TesselModule& module, uint32_t timeoutMs);
    bool playRow(int pattern, int row);

    TesselPlayPosition& position() { return positions.front(); }

    // Transport. The editor calls these on its thread; the audio block calls
    // playSong, playPattern, stop and advanceRow with the song lock held (the
    // lock is re-entrant, so the 1000 ms waits inside succeed at once).
    // False when the song cannot play (empty order list, row not in the song);
    // order -1 starts from the beginning.
    bool playSong(int order, int row);
    // Loops one pattern from a row; position null = the current one.
    void playPattern(int pattern, int row, TesselPlayPosition* at = nullptr);
    // Stops, letting notes release (transport 0 until they have faded).
    void stop();
    // Re-initialises: stops at once, resets MIDI, rebuilds the timing lists.
    void reset();
    // The song or a pattern is playing; false once the song passed its end.
    bool isPlaying() const;
    // Releases the voices of one held key; takes the song lock unless held.
    void stopNote(int instrument, int note, bool callerHoldsLock = false);
    // Caller holds the song lock or runs before any block.
    void setTempo(double bpm);
    void setTempoEntry(const TesselTempoEntry& entry);
    // Rates of 0 or less are ignored.
    void setSampleRate(float rate);
    // Tempo, speed, 'C' and pattern loops of one channel while a pattern loops.
    void applyRowFlow(TesselPlayPosition& at, int channel);
    // Audio thread, song lock held: a new tick at frame `frame` of the block.
    void advanceRow(const VstTimeInfo* time, int frame);

    // Module files. `saveModule` writes the song to path (".zip" is appended
    // when missing, in the caller's string); false when the new file could not
    // be completed, and then the old file is untouched. What it writes is the
    // song at one instant: copied under the song lock (1000 ms wait; false
    // without it), written after the lock is let go.
    bool saveModule(std::string& path);
    // Loads any song file into module (null: the song): 0 nothing loaded (the
    // document ended early, or the song lock not had in 1000 ms), 1 no
    // loadable kind or no song in it, 2 loaded, or the importer's result.
    // All or nothing: the file is read apart, and only a whole song takes the
    // module's place (playback stopped); any other result leaves the module,
    // its file name and playback as they were. The song lock is held only
    // for an exchange whose cost does not grow with either song: the new
    // song's timing lists are built before it, the old song is freed and the
    // editor refreshed after it.
    int loadModule(const std::string& path, TesselModule* module = nullptr);
    int loadModuleFile(const std::string& path, TesselModule* module = nullptr);
    int importImpulseTracker(const std::string& path, TesselModule* module = nullptr);
    int importFastTracker(const std::string& path, TesselModule* module = nullptr);
    int importScreamTracker3(const std::string& path, TesselModule* module = nullptr);
    int importMod(const std::string& path, TesselModule* module = nullptr);
    // Editor thread: stops at once, then puts an empty song in place, made
    // apart and exchanged under the song lock (1000 ms) as a load's is: the
    // preferred tempo, resolution and rows per beat, no file name, no voices,
    // fresh timing lists, the instruments' ports resolved. False, with
    // nothing erased, when the lock was not had.
    bool newSong();
    // How long the last whole-song replacement held the song lock, in
    // seconds, for the load benchmark. Any thread; never blocks.
    double lastSwapLockSeconds() const { return lastSwapLockSeconds_.load(std::memory_order_relaxed); }
    // Caller holds the song lock. After a load: channels given the MIDI
    // output, the bus count taken from the song, instruments' MIDI ports
    // resolved, the output block's clear asked of the audio thread. Its work
    // does not grow with the song.
    void applyLoadedSong();

    // Mixer. Audio thread inside the block, song lock held; never allocates
    // or locks. Renders every voice of the lists into the output block and
    // returns past-note nodes of idle voices to the pool; the number of voices
    // that were active or had events. With `busy`, only the lists it marks,
    // and those found quiet are unmarked; with `nextLines` too, the lines the
    // next block's voices will read are noted there.
    static int renderVoices(std::array<TesselChannelVoiceList, kVoiceLists>& lists, TesselBusBuffer& out,
                            int frames, TesselBusyLists* busy = nullptr, TesselLinePlan* nextLines = nullptr);
    // No waiting note delay, past note, events or voice that is not idle.
    static bool quietList(const TesselChannelVoiceList& list);
    // Whatever changes a list's voices marks it busy. Builds with
    // QB_AUDIO_CHECKS (the sanitizer builds) check before each block that
    // every list the mark skips is quiet, and abort naming the first that
    // is not: a list left unmarked would not sound.
    static void assertQuietUnmarked(const std::array<TesselChannelVoiceList, kVoiceLists>& lists,
                                    const TesselBusyLists& busy);

    // How long construction and destruction wait for the song lock; tests shorten it.
    static inline uint32_t lockWaitMs = kEngineLockWaitMs;
    // Makes the MIDI output of each new engine; empty = the machine's ports
    // and a timer thread. Tests put fake ports in.
    static inline std::function<std::unique_ptr<TesselMidiOut>()> makeMidiOut;

    // What a block reads whatever it plays, side by side at the object's
    // start (and the output block's own fields right after): a block paced
    // at real time finds all of it cold, and the rest of the object spans
    // megabytes.
    int16_t blockFrames = 0;
    // Set by the block process (2 new row, 8 new tick, 0x100 while playback
    // processes a row); each voice whose row is processed takes it as its flags.
    uint16_t tickFlags = 0;
    uint16_t settledTickFlags_ = 0;   // the tick flags the busy lists' settled marks hold for
    uint8_t hostSendsTime = 1;
    bool hostLoopArmed = false;
    // Written by the audio thread (the host's transport) and the editor's;
    // the editor's pages read it while blocks play.
    std::atomic<int32_t> transport{kStoppedCut};
    int32_t currentOrder = 0;
    int32_t nextTempoChange = 0;
    float sampleRate = 0.0f;
    double speed = 6.0;
    double tempo = 120.0;
    TesselPluginLink* plugin = nullptr;
    TesselEditorLink* editor = nullptr;
    // The engine's own MIDI output (ownMidiOut_); song and live channels point to it.
    TesselMidiOut* midiOut = nullptr;
    std::vector<TesselPlayPosition> positions;

private:
    bool usable_ = false;
    // The song position's step per frame, as computeTiming last left it in
    // the position table (this engine's own, though the table is shared).
    double rowsPerFrame_ = 0.0;
    // The song's lock, which the block takes first: the song keeps its handle
    // at its far end.
    platform::RecursiveTimedMutex* songLock_ = nullptr;

public:
    // The voice lists before the output block's 64 KB channels, so that a
    // small block finds them on the page of the fields above.
    std::array<TesselChannelVoiceList, kVoiceLists> voiceLists;
    // The lists the block and the tick visit. Whatever starts a voice of a
    // list or gives it an event outside row processing and the tick update
    // (which mark it themselves) marks it.
    TesselBusyLists busyLists;
    // Noted by each block's mixing pass, fetched as the next block starts.
    TesselLinePlan voiceLines;
    TesselBusBuffer output;
    TesselInstrument auditionInstrument;
    // [instrument][note]: 0 = not held, else 1 + the voice list that holds it.
    int32_t heldNotes[kHeldInstruments][kHeldNotes] = {};
    TesselEnginePreferences preferences;
    TesselPlaylist songTiming{kSongTimingCapacity, 120.0, 6.0};
    std::array<std::unique_ptr<TesselPlaylist>, kPatterns> patternTiming;
    char libraryFolder[1024] = {};
    int32_t cleared[2] = {};
    TesselModule song{this};
    std::array<TesselMidiInSlot, kVoiceLists> midiInSlots;
    int32_t midiNoteChannel[128] = {};

    // The instruments' volume and panning swings draw from this.
    TesselRandom random;

    // Row processing, song lock held (audio thread in the block, or an
    // audition); the tick flags word is at the start of the object.
    // The voice tick update of one voice list at frame `blockOffset`: pending
    // note delays count down, the current voice runs its effect slots in tick
    // mode, every voice computes its tick, records its event and sends MIDI.
    void updateTick(int list, int blockOffset);
    // No node of the list waits for a note or holds a sounding voice: its
    // tick update would only count the MIDI queues.
    static bool idleList(const TesselChannelVoiceList& list);
    // The channel row step on list `list` (0..64) at node 0 with the song.
    void processChannelRow(int list, const TesselSubrow* subrow, int subrowIndex, int blockOffset);
    // The channel row step of the blank cell on song channel `channel`, with
    // the tick flags as they are, would write only what is there: the list's
    // current voice has no instrument and took the blank cell last. Playback
    // passes such cells.
    bool blankCellSettled(int channel) const;
    // blankCellSettled, remembered in the busy lists for as long as nothing
    // marks the list and the tick flags stay those it was found with.
    bool passesBlankCell(int channel);

    // Audio block, host synchronisation and MIDI input.
    // Audio thread: the host's MIDI notes entered into the pattern editor's
    // pattern. The notes sound at once (song lock, 100 ms wait); the cells
    // they write wait in midiInputRequests.cells for enterMidiCells.
    void processMidiInput(const VstEvents* events);
    // Editor's thread: writes the waiting MIDI notes into their cells under
    // the song lock; those meant for a song since replaced, or for rows their
    // pattern no longer has, are dropped.
    // False when the lock could not be had: the notes wait for the next call.
    bool enterMidiCells();
    // Host position in song rows: from ppqPos when valid, else samplePos.
    double hostRows(const VstTimeInfo& time) const;
    // Song rows per host quarter note (rowsPerQuarter; times 6/S in speed mode).
    double rowsPerHostQuarter() const;
    TesselMidiInputRequests midiInputRequests;

private:
    // Whole-song replacement (song_swap.cpp). Before the lock, on the new
    // song that nobody else sees yet: its order length, empty tracks freed,
    // channels on the engine's MIDI output, instruments' ports resolved.
    void prepareIncomingSong(TesselModule& incoming);
    // Puts `incoming` in `target`'s place under the song lock (1000 ms),
    // exchanging only what has a fixed size: playback stopped (a load) or
    // its voices dropped (`erase`: New, which stopped before, and which also
    // forgets held keys and play positions), the song's records, and for the
    // engine's own song the timing lists (`lists`) and the file name
    // (`path`, which keeps the old one). `incoming` keeps the old song for
    // the caller to free after the lock. False, with nothing changed, when
    // the lock was not had.
    bool swapInSong(TesselModule& target, TesselModule& incoming, TesselTimingLists* lists, std::string& path,
                    bool erase);
    // Song lock held: every voice back to the pool, every list marked for the block.
    void dropVoices();
    void construct();
    void findLibrary();
    void hangTemplateVoices();
    void setOrderToFirstPatterns();
    bool auditionAllowed() const { return usable_; }
    // Transport helpers: reset the lists' current voices and copy the song's
    // channel settings into the live records; set the speed and timing.
    void restartChannels();
    void setSpeed(double ticks);
    void enterStopped(int32_t state, int action);
    // The row advance (advance_row.cpp).
    bool advanceMainPosition(char* text);
    void advanceFurtherPosition(TesselPlayPosition& at, char* text, bool* handled, int frame);
    void playChannelCell(int channel, const TesselPattern* pattern, int row, int frame);
    void playFurtherSubrows(int frame);
    // The pattern and row whose cell each channel played last; later ticks
    // of the row play that cell's further subrows.
    std::array<const TesselPattern*, kChannels> rowPattern_{};
    std::array<int32_t, kChannels> rowNumber_{};

    // Pieces of `process`, song lock held.
    void resizeBlock(int frames);
    TesselHostLoop followHost(const VstTimeInfo* time);
    void hostTransportChanged(const VstTimeInfo& time);
    bool pullsBackOverPlayedTick(const TesselPlayPosition& pos, double t) const;
    TesselHostLoop hostCycle(const VstTimeInfo& time, double rows, double offset);
    void logHostTransport(bool changed, bool plays, bool cycle, const TesselHostLoop& loop);
    void stepHostLoop(const TesselHostLoop& loop);
    TesselRowEvents stepRowEvents();
    // Steps the song position over up to `limit` frames that stepRowEvents
    // would find without a new tick or row (rowsPerSample each); returns how many.
    int skipQuietFrames(int limit, double rowsPerSample);
    void runTick(const VstTimeInfo* time, TesselRowEvents events, int frame);
    void settleAfterStop(const VstTimeInfo* time);
    void enterMidiNote(TesselNoteEntry& entry, int note, int velocity, bool& entered);
    void releaseMidiNote(int note, int instrument);

    bool ownsPools_ = false;
    std::atomic<int32_t> playingOrder_{0};
    std::atomic<double> shownTempo_{120.0};
    std::atomic<double> lastSwapLockSeconds_{0.0};
    // Declared after its host, so that the output is destroyed first.
    std::unique_ptr<TesselEngineMidiHost> midiHost_;
    std::unique_ptr<TesselMidiOut> ownMidiOut_;
};
