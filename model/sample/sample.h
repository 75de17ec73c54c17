#pragma once
// One of the song's 99 sample slots: settings, audio and the waveform overview.

#include "model/sample/sample_data.h"
#include "model/sample/sample_loop.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TesselMemoryFile;
class ZipArchive;
struct ZipStoredEntry;
struct TesselWavLoopInfo;

constexpr int kSamples = 99;
constexpr int kSampleNameLength = 25;
constexpr int kOverviewColumns = 412;
constexpr int kWavHeaderCopySize = 44;

// Results of the sample and instrument file loads.
enum TesselFileResult : unsigned {
    kFileUnreadable = 0,     // the audio could not be read (or the song lock not taken)
    kFileWrongKind = 1,
    kFileLoaded = 2,
    kFileNothingFound = 3,   // no markup, or no element in it that could be read
    kFileNoFreeSlot = 4,     // some sample of an instrument found no free slot
};

// One overview column on the display scale -50..50.
struct TesselOverviewPair {
    int32_t high = 0;
    int32_t low = 1;
    bool operator==(const TesselOverviewPair&) const = default;
};
using TesselOverview = std::array<std::array<TesselOverviewPair, kOverviewColumns>, kMaxSampleChannels>;

// The mixer's sample render routine, chosen once per process from the
// processor by every slot constructor; the engine maps it to the routine.
enum class TesselRenderVariant { Linear, LinearSse };
TesselRenderVariant sampleRenderVariant();

class TesselSample {
public:
    TesselSample();
    // A copy of the whole slot, index included (the pages edit copies).
    TesselSample(const TesselSample& other);
    TesselSample& operator=(const TesselSample&) = delete;
    ~TesselSample() = default;

    void reset();
    void clearData();
    // Frees the data part: file name and audio.
    void destroyData();
    void setName(const char* text);
    std::string nameText() const { return std::string(name, kSampleNameLength); }
    // Data part only: file facts, audio, overview. The audio is copied, or
    // with `sharedAudio` held together with `other` (see TesselSampleData::share).
    void assignData(const TesselSample& other, bool sharedAudio = false);
    // Settings and data; the index and the reserved flag stay.
    void assign(const TesselSample& other, bool sharedAudio = false);
    // As assign, but the audio buffers change hands instead of being copied
    // or freed: the other slot is left holding this one's old audio.
    void takeFrom(TesselSample& other);
    void buildOverview();

    bool isDataEmpty() const
    {
        return filename.empty() && speed == 0 && fileRate == 0 && length == 0 && !unreadAudio;
    }
    bool isEmpty() const;

    // Normaliser of the sample page: largest absolute value over all channels
    // (0 without audio), multiply every value, and scale to full range
    // (target 0 = the peak).
    float peak() const;
    void scale(float factor);
    void normalise(float target);

    // Audio files (wav_reader.cpp, wav_writer.cpp, flac_decoder.cpp,
    // ogg_decoder.cpp). A failed read leaves the data part cleared; the loop
    // information, when given, receives the "smpl" chunk.
    bool readWav(TesselMemoryFile& image, TesselWavLoopInfo* loopInfo);
    bool readWavFile(const std::string& path, TesselWavLoopInfo* loopInfo);
    bool loadFlac(const std::string& path);
    bool loadOgg(const std::string& path);
    // PCM at the slot's bit depth (float data as 32-bit PCM); false when the
    // file cannot be created or written.
    bool writeWav(const std::string& path) const;

    // Sample files (sample_file*.cpp). Kind 0 goes by the file name; a load
    // gives an unset loop or sustain end the length.
    unsigned loadFile(const std::string& path, int kind = 0);
    unsigned loadWav(const std::string& path);
    // The n-th "sample" element of the zip's "Sample.xml"; a failure leaves the slot as it was.
    unsigned loadZip(const std::string& path, int n = 0);
    // A name ending "wav" (any case) becomes a WAV file, any other a zipped
    // sample. Written beside the target and renamed over it, so a failed
    // save leaves the old file as it was.
    bool saveFile(const std::string& path, int index = 0) const;
    // ".zip" is added unless the name ends in it (any case).
    bool saveZip(const std::string& path, int index = 0) const;

    // Document markup (sample_markup.cpp). With the store flag the slot's
    // audio goes into the zip at `zipPath` as "Sample %.3d.wav".
    void writeXml(int slot, FILE* file, const std::string& zipPath, bool storeAudio) const;
    bool writeDataXml(FILE* file, const std::string& zipPath, int slot, bool storeAudio) const;
    // Reads "index" (outside 0..98 it becomes -1), resets, then the settings,
    // the audio entry of the open archive (none without one) and the
    // children; false when the input ends first.
    bool readXml(TesselMemoryFile& buffer, ZipArchive* archive, const TesselElement& element);
    // The "samplefile" element, self-contained or holding the file name as text.
    bool readDataXml(TesselMemoryFile& buffer, const TesselElement& element);

    // What the mixer reads of a sounding slot, first and together: two
    // cache lines. Data part: audio, bit depth, length; settings: the loops.
    TesselSampleData audio;
    int32_t bits = 0;          // 8, 16, 24, or 32 for float data
    int32_t length = 0;        // frames
    TesselLoop loop;
    TesselLoop sustain;

    // Data part.
    std::string filename;      // last path component of the source file
    int32_t speed = 0;         // playback rate in Hz of the base note
    uint8_t pitch = 60;        // base note
    int32_t fileRate = 0;      // sample rate of the source file
    int32_t channels = 0;
    uint8_t header[kWavHeaderCopySize] = {};
    // The slot's entry of the module file as it was stored, when its audio
    // could not be read: saved again unchanged until the slot's audio is
    // replaced or the slot cleared, so that a damaged sample is not lost.
    // Shared, never changed: copies of the song cost nothing for it.
    std::shared_ptr<const ZipStoredEntry> unreadAudio;

    // Settings.
    char name[kSampleNameLength + 1] = {};
    int32_t defaultVolume = 64;
    int32_t globalVolume = 64;
    int32_t defaultPan = -1;
    int32_t defaultDepth = -1;
    int32_t defaultRotation = -1;
    int32_t reserved = 0;
    int32_t index = 0;
    TesselVibrato vibrato;

    // Data part, last: the display's overview is large.
    TesselOverview overview;
};
