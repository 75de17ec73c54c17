#include "gui/controls/tessel_control.h"

#include "gui/bitmap.h"
#include "gui/offscreen_context.h"

#include <atomic>

namespace {

struct SkinShade {
    CColor colour;
    CColor shade;
};
constexpr SkinShade kSkinShades[] = {
    {{160, 128, 96, 0}, {45, 36, 27, 0}},
    {{158, 98, 98, 0}, {79, 49, 49, 0}},
    {{127, 143, 158, 0}, {63, 72, 81, 0}},
    {{122, 160, 141, 0}, {56, 72, 62, 0}},
};
constexpr CColor kOtherShade{64, 64, 64, 0};

std::atomic<TesselValueLog> valueLog{nullptr};
std::atomic<TesselSongGeneration> songGeneration{nullptr};

} // namespace

void setTesselValueLog(TesselValueLog log, TesselSongGeneration generation)
{
    valueLog.store(log);
    songGeneration.store(generation);
}

TesselControl::TesselControl(int32_t classId) : TesselClass(classId) {}

TesselControl::~TesselControl()
{
    if (face)
        face->forget();
    if (faceBackground)
        faceBackground->forget();
}

void TesselControl::onMouseUp(const CPoint& /*point*/) {}

void TesselControl::drawText(VSTGUI::CDrawContext* /*context*/, const char* /*text*/, bool /*focused*/) {}

void TesselControl::draw(VSTGUI::CDrawContext* /*context*/, int32_t /*value*/, bool /*focused*/) {}

void TesselControl::setColour(uint32_t rgba)
{
    colour = CColor{static_cast<uint8_t>(rgba), static_cast<uint8_t>(rgba >> 8), static_cast<uint8_t>(rgba >> 16),
                    static_cast<uint8_t>(rgba >> 24)};
    shade = kOtherShade;
    for (const SkinShade& skin : kSkinShades)
        if (skin.colour == colour)
            shade = skin.shade;
}

void TesselControl::logValue(bool focused)
{
    if (!focused || !logEnabled)
        return;
    const TesselSongGeneration currentSong = songGeneration.load();
    const int32_t generation = currentSong ? currentSong() : 0;
    const float current = static_cast<float>(value);
    if (logGeneration < generation) {
        logGeneration = generation;
        loggedValue = current;
        return;
    }
    if (current == loggedValue)
        return;
    loggedValue = current;
    if (TesselValueLog log = valueLog.load())
        log(current);
}
