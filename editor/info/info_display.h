#pragma once
// The info page's rows: per channel what its first voice plays (instrument,
// sample, name, note, volume, panning, level) drawn incrementally into the
// page's picture, only what changed since the last pass. What a row shows
// is copied from the engine under the song lock, so the audio thread may
// render meanwhile; when the lock stays busy the rows keep their picture.
// GUI thread only (the capture's reads are the only shared ones).

#include "gui/controls/slider.h"

#include <array>
#include <cstdint>
#include <memory>

class TesselEngine;
namespace VSTGUI {
class CBitmap;
class CDrawContext;
} // namespace VSTGUI

// What a row shows of its channel.
struct TesselInfoVoice {
    bool muted = false;
    bool active = false;
    int32_t instrument = 0;     // 1..99; 0 none
    int32_t sample = 0;         // from the instrument's key map; 0 none
    bool hasNote = false;
    char name[26] = {};
    char stateText[4] = {};     // the note played, or its release ("===", "^^^")
    uint32_t stateCode = 0;
    int32_t volume = 0;
    int32_t panning = 0;
    float level = 0.0f;         // both output peaks added
};

class TesselInfoDisplay {
public:
    static constexpr int32_t kChannels = 64;
    static constexpr int32_t kVisibleRows = 48;
    static constexpr int32_t kRowHeight = 8;
    static constexpr int32_t kFirstRowY = 32;
    // Page pixels of the row's parts.
    static constexpr int32_t kNumberX = 9;
    static constexpr int32_t kMeterX = 28;
    static constexpr int32_t kMeterWidth = 100;
    static constexpr int32_t kInstrumentX = 134;
    static constexpr int32_t kSampleX = 155;
    static constexpr int32_t kNameX = 178;
    static constexpr int32_t kStateX = 381;
    static constexpr int32_t kRestoreX = 25;
    static constexpr int32_t kVolumeLeft = 408;
    static constexpr int32_t kVolumeRight = 503;
    static constexpr int32_t kPanningRight = 598;
    // How long a capture waits for the song lock.
    static constexpr uint32_t kCaptureWaitMs = 20;

    TesselInfoDisplay();
    ~TesselInfoDisplay();
    TesselInfoDisplay(const TesselInfoDisplay&) = delete;
    TesselInfoDisplay& operator=(const TesselInfoDisplay&) = delete;

    // Copies the 64 rows from the engine's voice lists and song under the
    // song lock; false, the last copy kept, when the lock stays busy.
    bool capture(TesselEngine& engine, uint32_t waitMs = kCaptureWaitMs);
    const TesselInfoVoice& captured(int32_t channel) const { return voices_[clampChannel(channel)]; }

    // Draws what changed of the visible rows into the page's picture (page
    // coordinates); `background` restores rows whose voice ended. With
    // redrawAll every row's number is drawn again.
    void drawRows(VSTGUI::CDrawContext* into, VSTGUI::CBitmap* background, int32_t firstChannel, int32_t cursor,
                  bool redrawAll, int32_t pageRight);
    // Forgets what one channel's row (all for -1) shows, so it is drawn anew.
    void reset(int32_t channel);
    // The sliders of the channels from `firstChannel` on stand in their rows.
    void placeSliders(int32_t firstChannel);
    TesselSlider& slider(int32_t channel, bool panning);
    const TesselSlider& slider(int32_t channel, bool panning) const
    {
        return *sliders_[2 * clampChannel(channel) + (panning ? 1 : 0)];
    }
    // The meter's width last drawn; 0 when none.
    int32_t meterWidth(int32_t channel) const { return shown_[clampChannel(channel)].meter; }

private:
    // What the row of a channel shows now; -1 for nothing.
    struct Shown {
        int32_t instrument = -1;
        int64_t stateCode = -1;
        int32_t meter = 0;
        int32_t volume = -1;
        int32_t panning = -1;
        bool active = false;
        bool muted = false;
    };
    static size_t clampChannel(int32_t channel);
    void drawVoice(VSTGUI::CDrawContext* into, int32_t channel, int32_t y);

    std::array<TesselInfoVoice, kChannels> voices_{};
    std::array<Shown, kChannels> shown_{};
    std::array<std::unique_ptr<TesselSlider>, 2 * kChannels> sliders_;
    VSTGUI::CBitmap* meter_;
};
