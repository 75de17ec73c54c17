#include "editor/info/info_display.h"

#include "engine/engine.h"
#include "engine/voice/voice.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_skin.h"
#include "gui/draw_context.h"
#include "gui/page_fonts.h"
#include "model/song/module.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr CColor kCellBackground{0, 0, 0, 0};
constexpr int32_t kFontWidth = 8;
constexpr int32_t kSliderRange = 64;
constexpr float kMeterScale = 200.0f;

TesselFont* cursorFont()
{
    return pageFont(resources::kFontWhite, kFontWidth);
}

TesselFont* normalFont()
{
    return pageFont(resources::kFontNormal, kFontWidth);
}

TesselFont* mutedFont()
{
    return pageFont(resources::kFontMuted, kFontWidth);
}

void drawText(VSTGUI::CDrawContext* into, const char* text, int32_t x, int32_t y, TesselFont* font)
{
    drawBitmapText(into, text, x, y, font, &kCellBackground);
}

// The row's level as a meter width: both peaks added, scaled, rounded and
// made positive; limited before it becomes an integer, since a peak may be
// anything a sample's data holds.
int32_t levelWidth(float level)
{
    const double scaled = std::fabs(static_cast<double>(level) * kMeterScale);
    if (!(scaled < 1000.0))
        return 1000;
    return static_cast<int32_t>(std::lround(scaled));
}

} // namespace

TesselInfoDisplay::TesselInfoDisplay() : meter_(new CBitmap(resources::kLevelMeter))
{
    for (int32_t c = 0; c < kChannels; ++c) {
        auto volume = std::make_unique<TesselSlider>(CRect(), 0, kSliderRange, kSliderRange, 2);
        auto panning = std::make_unique<TesselSlider>(CRect(), 0, kSliderRange, kSliderRange / 2, 2);
        volume->setCompact(true);
        panning->setCompact(true);
        panning->setDefaultValue(kSliderRange / 2);
        sliders_[static_cast<size_t>(2 * c)] = std::move(volume);
        sliders_[static_cast<size_t>(2 * c + 1)] = std::move(panning);
    }
    placeSliders(0);
}

TesselInfoDisplay::~TesselInfoDisplay()
{
    meter_->forget();
}

size_t TesselInfoDisplay::clampChannel(int32_t channel)
{
    return static_cast<size_t>(std::clamp(channel, 0, kChannels - 1));
}

TesselSlider& TesselInfoDisplay::slider(int32_t channel, bool panning)
{
    return *sliders_[2 * clampChannel(channel) + (panning ? 1 : 0)];
}

void TesselInfoDisplay::placeSliders(int32_t firstChannel)
{
    for (int32_t c = 0; c < kChannels; ++c) {
        const int32_t y = kFirstRowY + kRowHeight * (c - firstChannel);
        slider(c, false).setRect(CRect(kVolumeLeft, y, kVolumeRight, y + kRowHeight));
        slider(c, true).setRect(CRect(kVolumeRight, y, kPanningRight, y + kRowHeight));
    }
}

void TesselInfoDisplay::reset(int32_t channel)
{
    if (channel < 0) {
        shown_.fill(Shown{});
        return;
    }
    const bool muted = shown_[clampChannel(channel)].muted;
    shown_[clampChannel(channel)] = Shown{};
    shown_[clampChannel(channel)].muted = muted;
}

bool TesselInfoDisplay::capture(TesselEngine& engine, uint32_t waitMs)
{
    TesselModule& song = engine.song;
    platform::MutexLock lock(song.songLock(), waitMs);
    if (!lock)
        return false;
    for (int32_t c = 0; c < kChannels; ++c) {
        TesselInfoVoice shown;
        shown.muted = song.channels[static_cast<size_t>(c)].mute != 0;
        const TesselVoiceListNode* head = engine.voiceLists[static_cast<size_t>(c)].head;
        const TesselVoice* voice = head ? head->voice : nullptr;
        if (voice && (voice->state() & voice_state::kActive)) {
            shown.active = true;
            const int32_t number = voice->instrumentNumber;
            if (number >= 1 && number <= kInstruments) {
                const TesselInstrument& instrument = song.instruments[static_cast<size_t>(number - 1)];
                shown.instrument = number;
                std::memcpy(shown.name, instrument.name, kInstrumentNameLength);
                if (voice->note >= 0 && voice->note < kKeys) {
                    shown.hasNote = true;
                    shown.sample = instrument.keymap.keyRow(voice->note).instrument;
                }
            }
            std::memcpy(shown.stateText, voice->noteText, sizeof shown.stateText - 1);
            uint32_t code = voice->state();
            for (int i = 0; i < 3; ++i)
                code = code << 8 | static_cast<uint8_t>(shown.stateText[i]);
            shown.stateCode = code;
            shown.volume = std::clamp<int32_t>(voice->volume, 0, kSliderRange);
            shown.panning = std::clamp<int32_t>(voice->panning, 0, kSliderRange);
            shown.level = voice->peaks[0] + voice->peaks[1];
        }
        voices_[static_cast<size_t>(c)] = shown;
    }
    return true;
}

void TesselInfoDisplay::drawRows(VSTGUI::CDrawContext* into, VSTGUI::CBitmap* background, int32_t firstChannel,
                                 int32_t cursor, bool redrawAll, int32_t pageRight)
{
    for (int32_t r = 0; r < kVisibleRows && firstChannel + r < kChannels; ++r) {
        const int32_t c = firstChannel + r;
        const int32_t y = kFirstRowY + kRowHeight * r;
        const TesselInfoVoice& voice = voices_[static_cast<size_t>(c)];
        Shown& shown = shown_[static_cast<size_t>(c)];
        char number[16];
        std::snprintf(number, sizeof number, "%.2d", c + 1);
        if (voice.muted) {
            if (redrawAll || !shown.muted) {
                drawText(into, c == cursor ? number : "   ", kNumberX, y, mutedFont());
                shown = Shown{};
            }
        } else {
            if (redrawAll || shown.muted)
                drawText(into, number, kNumberX, y, c == cursor ? cursorFont() : normalFont());
            if (voice.active) {
                drawVoice(into, c, y);
            } else if (shown.active) {
                if (background)
                    background->draw(into, CRect(kRestoreX, y, pageRight, y + kRowHeight), CPoint(kRestoreX, y));
                shown = Shown{};
            }
            shown.active = voice.active;
        }
        shown.muted = voice.muted;
    }
}

void TesselInfoDisplay::drawVoice(VSTGUI::CDrawContext* into, int32_t channel, int32_t y)
{
    const TesselInfoVoice& voice = voices_[static_cast<size_t>(channel)];
    Shown& shown = shown_[static_cast<size_t>(channel)];
    char text[32];
    if (voice.instrument > 0 && voice.instrument != shown.instrument) {
        std::snprintf(text, sizeof text, "%.2d", voice.instrument);
        drawText(into, text, kInstrumentX, y, cursorFont());
        if (voice.hasNote && voice.sample > 0)
            std::snprintf(text, sizeof text, "%.2d", voice.sample);
        else
            std::snprintf(text, sizeof text, "--");
        drawText(into, text, kSampleX, y, normalFont());
        std::snprintf(text, sizeof text, "%.25s", voice.name);
        drawText(into, text, kNameX, y, normalFont());
        shown.instrument = voice.instrument;
    }
    if (static_cast<int64_t>(voice.stateCode) != shown.stateCode) {
        std::snprintf(text, sizeof text, "%-3.3s", voice.stateText);
        drawText(into, text, kStateX, y, normalFont());
        shown.stateCode = voice.stateCode;
    }
    if (voice.volume != shown.volume) {
        slider(channel, false).draw(into, voice.volume, false);
        shown.volume = voice.volume;
    }
    if (voice.panning != shown.panning) {
        slider(channel, true).draw(into, voice.panning, false);
        shown.panning = voice.panning;
    }
    const int32_t width = std::clamp((levelWidth(voice.level) + shown.meter) / 2, 1, kMeterWidth);
    meter_->draw(into, CRect(kMeterX, y, kMeterX + width, y + kRowHeight));
    shown.meter = width;
}
