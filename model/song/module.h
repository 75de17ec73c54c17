#pragma once
// The song: timing settings, output bus, order list, 200 patterns, 99
// samples, 99 instruments, 64 channel settings and the song lock. Every
// module of the process opens the same song lock by name.

#include "model/instrument/instrument.h"
#include "model/model_globals.h"
#include "model/sample/sample.h"
#include "model/song/channel.h"
#include "model/song/order_list.h"
#include "model/song/output_bus.h"
#include "model/song/pattern.h"
#include "platform/system/mutex.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

class TesselEngine;
class ZipArchive;

constexpr int kModuleTextSize = 64;
// How long an edit waits for the song lock before it gives up, changing
// nothing.
constexpr uint32_t kEditLockWaitMs = 1000;
// The wait every edit takes: kEditLockWaitMs, except in tests that hold the
// song lock elsewhere on purpose and need not wait out the product's second.
inline std::atomic<uint32_t> editLockWaitMs{kEditLockWaitMs};
// What the song's timing can be set to: the tempo effect and the importers
// give 1 to 255 bpm, a host at most 999; the importers 1 to 255 ticks a row
// (the speed slider and effect 1 to 100); 16 x rowsPerQuarter rows fill a
// pattern.
constexpr double kMinSongTempo = 1.0;
constexpr double kMaxSongTempo = 999.0;
constexpr double kMinSongSpeed = 1.0;
constexpr double kMaxSongSpeed = 255.0;
constexpr int kMaxRowsPerQuarter = kMaxRows / 16;

class TesselModule {
public:
    // Timing modes.
    enum : uint8_t { Resolution = 0, Speed = 1 };

    // Without an owner the module resets itself to 120 bpm, 6 and 4 rows per
    // quarter; an owner resets it with its own defaults.
    explicit TesselModule(TesselEngine* owner = nullptr);
    ~TesselModule() = default;
    TesselModule(const TesselModule&) = delete;
    TesselModule& operator=(const TesselModule&) = delete;

    // Caller holds the song lock. Also sets the process-wide pattern defaults,
    // document version and song counter. rowsPerQuarter is kept to 1..16 so
    // that the default pattern length fits 256 rows.
    void reset(double tempo, double resolution, int rowsPerQuarter);

    // Caller holds the song lock. This module takes the other's song, all but
    // the file name: patterns, audio and key maps change hands without a
    // copy, and the other keeps what is left of this one's, to be freed after
    // the lock. Allocates and frees nothing; its work does not grow with
    // what either song holds.
    void takeSongFrom(TesselModule& other);
    // Caller holds the other's song lock. This module becomes a copy of the
    // other's song, file name and all: what a save writes while the song
    // plays and changes on (a save takes it in one take only when edits keep
    // coming between the turns it otherwise takes it in). Cells are copied as
    // they lie, without any conversion, and the samples' audio is shared, not
    // copied, so the time under the lock is that of a copy of the cells.
    // False when some sample's audio could not be had: the copy is not the song.
    bool copySongFrom(const TesselModule& other);
    // The parts of copySongFrom, for a copy taken in turns: the settings,
    // channels and path; one sample (false when its audio could not be
    // copied whole); one instrument. The patterns go by
    // TesselPattern::assignOutline and TesselTrackTable::assignTrack.
    void copyOutlineFrom(const TesselModule& other);
    bool copySampleFrom(const TesselModule& other, size_t i);
    void copyInstrumentFrom(const TesselModule& other, size_t i);

    // Patterns renumbered in order of first use in the order list, the unused
    // ones after them; the order list follows.
    void renumberPatterns();
    // map[i] is the new number of pattern i; false (nothing changed) unless
    // it is a permutation of 0..199.
    bool applyPatternMap(const TesselPatternMap& map);
    // The first pattern from `from` to 199 that is empty with the default
    // length, steps and label; -1 when none is, or `from` lies outside.
    int findEmptyPattern(int from) const;
    // After an import: 'T' becomes the tempo '@', unsupported letters go,
    // then empty tracks are freed.
    void convertImportedEffects();

    // The song document "Module.xml" (module_document.cpp). Writing sets the
    // document version to the program's own and cuts the bus name to 13
    // characters; with the store flag each sample's audio is added to the
    // zip at `zipPath`.
    void writeXml(FILE* file, const std::string& zipPath, bool storeAudio);
    void writeOrderXml(FILE* file) const;
    void writeOutputsXml(FILE* file);
    // Resets the song, then reads the module element's attributes and
    // children; sample audio comes from the open module file (none without
    // one). 2 at the closing element, 0 when the input ends first.
    int readXml(TesselMemoryFile& buffer, ZipArchive* archive, const TesselElement& element);

    // What a cell plays at, for the cursor guide: -1 without an instrument
    // (or one outside 1..99); the key map row's value when set; else the
    // instrument's, the sample's or the channel's default.
    int cellVolume(const TesselSubrowData& cell, int channel) const;
    int cellPanning(const TesselSubrowData& cell, int channel) const;

    // The song lock; the audio block waits 100 ms, edits 1000 ms.
    platform::RecursiveTimedMutex& songLock() { return *mutex_; }
    TesselEngine* owner() const { return owner_; }

    char text[kModuleTextSize] = {};
    uint8_t timingMode = Resolution;
    double tempo = 120.0;
    double resolution = 6.0;   // ticks per row in speed mode
    int32_t rowsPerQuarter = 4;
    TesselOutputBus outputBus;
    int32_t reserved = 1;
    int32_t midiIn = 1;
    TesselOrderList orderList;
    std::array<TesselPattern, kPatterns> patterns;
    std::array<TesselSample, kSamples> samples;
    std::array<TesselInstrument, kInstruments> instruments;
    std::array<TesselChannel, kChannels> channels;
    // Path of the song's file: empty until a successful save or load of this song.
    std::string songPath;

    // Whether the song changed since it was loaded, saved or erased: before
    // it is replaced or the program quits the user is offered to save it.
    // Edits mark it on the editor's thread; the flag alone is atomic.
    void markEdited() { edited_.store(true, std::memory_order_relaxed); }
    void markUnedited() { edited_.store(false, std::memory_order_relaxed); }
    bool edited() const { return edited_.load(std::memory_order_relaxed); }

private:
    // The text, timing, output bus and order list, which every song copy takes.
    void copySettingsFrom(const TesselModule& other);

    platform::SharedMutex mutex_;   // released before the slots are destroyed
    std::atomic<bool> edited_{false};
    TesselEngine* owner_ = nullptr;
};
