#include "host/host_bitmaps.h"

#include "platform/graphics/canvas.h"
#include "resources/palette.h"

#include <cmath>
#include <vector>

namespace host {

namespace {

using platform::Canvas;
using platform::Colour;
using platform::Image;
using platform::Point;
using platform::Rect;
using platform::rgb;
namespace palette = resources::palette;

constexpr Colour kStripTop = rgb(50, 52, 59);
constexpr Colour kStripBottom = rgb(28, 29, 33);
constexpr Colour kCloseFace = rgb(132, 52, 52);
constexpr Colour kTrackLow = rgb(64, 150, 96);
constexpr Colour kTrackHigh = rgb(226, 184, 72);

Colour mix(Colour a, Colour b, int amountOfB, int outOf)
{
    const auto blend = [&](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>((x * (outOf - amountOfB) + y * amountOfB) / outOf);
    };
    return rgb(blend(a.red, b.red), blend(a.green, b.green), blend(a.blue, b.blue));
}

// One-pixel edges: light on the top and left, dark on the bottom and right.
void bevel(Canvas& canvas, const Rect& r, Colour light, Colour dark)
{
    canvas.fillRect({r.left, r.top, r.right, r.top + 1}, light);
    canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, light);
    canvas.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
    canvas.fillRect({r.right - 1, r.top, r.right, r.bottom}, dark);
}

void buttonFace(Canvas& canvas, const Rect& r, Colour face)
{
    canvas.fillRect(r, face);
    bevel(canvas, r, mix(face, rgb(255, 255, 255), 1, 3), palette::kPanelDark);
}

void polygon(Canvas& canvas, std::initializer_list<Point> points, Colour colour)
{
    const std::vector<Point> outline(points);
    canvas.fillPolygon(outline.data(), outline.size(), colour);
}

void disc(Canvas& canvas, double cx, double cy, double radius, Colour colour)
{
    std::vector<Point> outline;
    for (int i = 0; i < 32; ++i) {
        const double angle = i * 2.0 * M_PI / 32.0;
        outline.push_back({static_cast<int32_t>(std::lround(cx + radius * std::cos(angle))),
                           static_cast<int32_t>(std::lround(cy + radius * std::sin(angle)))});
    }
    canvas.fillPolygon(outline.data(), outline.size(), colour);
}

Image captionStrip()
{
    Image image(1, 36);
    Canvas canvas(image);
    for (int y = 0; y < 36; ++y)
        canvas.setPixel({0, y}, mix(kStripTop, kStripBottom, y, 35));
    canvas.setPixel({0, 0}, palette::kPanelLight);
    canvas.setPixel({0, 35}, palette::kPanelDark);
    return image;
}

Image hostIcon()
{
    Image image(32, 32, palette::kBackground);
    Canvas canvas(image);
    disc(canvas, 15.5, 15.0, 12.5, palette::kInkAmber);
    disc(canvas, 15.5, 15.0, 7.5, palette::kBackground);
    polygon(canvas, {{18, 19}, {23, 18}, {30, 29}, {25, 30}}, palette::kInkAmber);
    return image;
}

// Minimise (15 wide), restore (20) and close (15).
Image systemButtons()
{
    Image image(50, 14, palette::kPanel);
    Canvas canvas(image);
    const Colour ink = palette::kInkNormal;
    buttonFace(canvas, {0, 0, 15, 14}, palette::kPanel);
    canvas.fillRect({4, 9, 11, 11}, ink);
    buttonFace(canvas, {15, 0, 35, 14}, palette::kPanel);
    canvas.fillRect({23, 3, 30, 4}, ink);
    canvas.fillRect({29, 3, 30, 8}, ink);
    canvas.fillRect({20, 5, 27, 7}, ink);
    canvas.fillRect({20, 5, 21, 11}, ink);
    canvas.fillRect({26, 5, 27, 11}, ink);
    canvas.fillRect({20, 10, 27, 11}, ink);
    buttonFace(canvas, {35, 0, 50, 14}, kCloseFace);
    polygon(canvas, {{38, 3}, {40, 3}, {47, 10}, {47, 11}, {45, 11}, {38, 4}}, ink);
    polygon(canvas, {{45, 3}, {47, 3}, {47, 4}, {40, 11}, {38, 11}, {38, 10}}, ink);
    return image;
}

// A tray with an arrow into it: the song goes to a file.
Image exportButton()
{
    Image image(18, 18);
    Canvas canvas(image);
    buttonFace(canvas, {0, 0, 18, 18}, palette::kPanelLight);
    const Colour ink = palette::kInkWhite;
    canvas.fillRect({8, 3, 10, 9}, ink);
    polygon(canvas, {{5, 8}, {13, 8}, {9, 12}}, ink);
    canvas.fillRect({3, 11, 5, 15}, ink);
    canvas.fillRect({13, 11, 15, 15}, ink);
    canvas.fillRect({3, 13, 15, 15}, ink);
    return image;
}

// A loudspeaker: the audio device.
Image settingsButton()
{
    Image image(18, 18);
    Canvas canvas(image);
    buttonFace(canvas, {0, 0, 18, 18}, palette::kPanelLight);
    const Colour ink = palette::kInkWhite;
    canvas.fillRect({3, 7, 6, 11}, ink);
    polygon(canvas, {{5, 7}, {10, 3}, {10, 15}, {5, 11}}, ink);
    canvas.fillRect({12, 7, 13, 11}, ink);
    canvas.fillRect({14, 5, 15, 13}, ink);
    return image;
}

// The slider's two tracks, one above the other: filled, then empty.
Image volumeSlider()
{
    Image image(77, 36, kStripBottom);
    Canvas canvas(image);
    for (int half = 0; half < 2; ++half) {
        const int top = half * 18;
        const Rect well{0, top + 3, 77, top + 15};
        canvas.fillRect(well, palette::kWell);
        bevel(canvas, well, palette::kPanelDark, palette::kFrameLine);
        for (int x = 1; x < 76; ++x) {
            // Level marks every quarter, under the fill as over the empty track.
            const bool mark = x % 19 == 0;
            const Colour fill = half == 0 ? mix(kTrackLow, kTrackHigh, x - 1, 74)
                                          : (mark ? palette::kPanel : palette::kWell);
            canvas.fillRect({x, top + 4, x + 1, top + 14}, fill);
        }
    }
    return image;
}

} // namespace

platform::Image loadHostBitmap(int32_t id)
{
    switch (id) {
    case kCaptionStripBitmap: return captionStrip();
    case kHostIconBitmap: return hostIcon();
    case kSystemButtonsBitmap: return systemButtons();
    case kExportButtonBitmap: return exportButton();
    case kSettingsButtonBitmap: return settingsButton();
    case kVolumeSliderBitmap: return volumeSlider();
    default: return {};
    }
}

} // namespace host
