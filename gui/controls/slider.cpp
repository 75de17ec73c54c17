// The slider's keys and mouse.

#include "gui/controls/slider.h"

#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "platform/key_event.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;
constexpr int32_t kCellWidth = 8;
constexpr int32_t kShiftStep = 5;

} // namespace

TesselSlider::TesselSlider(const CRect& rect, int32_t minimum, int32_t maximum, int32_t value, int32_t digits,
                           const char* label, bool readoutLeft)
    : TesselControl(kClassId), minimum(minimum), maximum(maximum), rect(rect), label(label ? label : ""),
      defaultValue(minimum), digits(digits == 2 ? 2 : 3), readoutLeft(readoutLeft)
{
    this->value = value;
    setColour(control_skin::kDefaultColour);
}

TesselSlider::~TesselSlider() = default;

void TesselSlider::setRect(const CRect& newRect)
{
    rect = newRect;
    dirty = true;
}

int32_t TesselSlider::trackStart() const
{
    return readoutLeft ? digits * kCellWidth + 3 : 3;
}

int32_t TesselSlider::trackWidth() const
{
    return rect.width() - digits * kCellWidth - (readoutLeft ? 7 : 8);
}

int32_t TesselSlider::trackPosition(int32_t v) const
{
    if (!hasTrack())
        return trackStart();
    const double share = static_cast<double>(v - minimum) / (static_cast<double>(maximum) - minimum);
    const int32_t offset = static_cast<int32_t>(std::lround(trackWidth() * share));
    return trackStart() + std::clamp(offset, 0, trackWidth());
}

void TesselSlider::typeDigit(int32_t digit)
{
    typedValue = typedDigits == 0 ? 0 : typedValue * 10;
    typedValue = std::clamp(typedValue + digit, minimum, maximum);
    ++typedDigits;
    if (typedDigits >= digits)
        commit();
}

void TesselSlider::commit()
{
    if (typedDigits == 0)
        return;
    value = typedValue;
    typedDigits = 0;
}

int32_t* TesselSlider::onKey(const TesselKeyEvent& key)
{
    using namespace control_skin;
    if (key.keyUp)
        return &value;
    if (key.character >= '0' && key.character <= '9') {
        typeDigit(key.character - '0');
        return &value;
    }
    const bool shift = (key.modifiers & kModShift) != 0;
    switch (key.virtualKey) {
    case kVkEnter: commit(); break;
    case kVkBack:
    case kVkDelete:
        if (minimum < 0)
            value = -1;
        break;
    case kVkEnd: value = maximum; break;
    case kVkHome: value = minimum; break;
    case kVkLeft:
        if (shift) {
            if (value >= minimum + kShiftStep)
                value -= kShiftStep;
        } else if (value > minimum) {
            --value;
        }
        break;
    case kVkRight:
        if (shift) {
            if (value <= maximum - kShiftStep)
                value += kShiftStep;
        } else if (value < maximum) {
            ++value;
        }
        break;
    default: break;
    }
    return &value;
}

int32_t* TesselSlider::onMouse(int32_t buttons, const CPoint& point)
{
    if (!(buttons & kMouseButtons) || !hasTrack())
        return &value;
    // Measured from where the track is drawn, so a click on the fill bar's
    // end gives the value it shows.
    const int32_t d = point.h - rect.left - trackStart();
    const int32_t width = trackWidth();
    if (d < 0 || d > width)
        return &value;
    const auto placed =
        static_cast<int32_t>(minimum + static_cast<int64_t>(d) * (static_cast<int64_t>(maximum) - minimum) / width);
    if (placed != value) {
        value = placed;
        if (mode == 0)
            dirty = true;
    }
    return &value;
}

void TesselSlider::onMouseUp(const CPoint& /*point*/)
{
    commit();
}
