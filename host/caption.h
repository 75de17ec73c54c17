#pragma once
// The strip across the top of the host's window: the plug-in's toolbar on
// the left, the host's own controls on the right (volume slider, export and
// settings buttons, and while the window is maximised and has no caption of
// its own, minimise, restore and close). Where each lies, what a click hits
// and how the strip is drawn.

#include "platform/graphics/geometry.h"
#include "platform/graphics/image.h"

namespace host {

constexpr int kCaptionHeight = 36;
// Without the window manager's caption the controls move left for the
// system buttons.
constexpr int kNoCaptionShift = 56;
// The controls' span, from the slider's left edge to the window's right one.
constexpr int kControlsSpan = 144;
// Clear space kept between the plug-in's toolbar and the slider.
constexpr int kControlsGap = 3;

// The narrowest window whose controls stay clear of a toolbar this wide.
constexpr int minimumCaptionWidth(int toolbarWidth)
{
    return toolbarWidth + kControlsGap + kControlsSpan;
}

enum class CaptionPart { Strip, SystemButtons, Settings, Export, Slider };
enum class SystemButton { Minimise, Restore, Close };

struct CaptionLayout {
    int width = 0;            // the window's client width
    bool maximised = false;   // no caption: the controls shift left

    // Rectangles as hit tests take them, right and bottom edges included;
    // the bitmaps drawn at their top-left corners.
    platform::Rect settings() const { return edges(width - 33, 10, width - 15, 28); }
    platform::Rect exportButton() const { return edges(width - 59, 10, width - 41, 28); }
    platform::Rect slider() const { return edges(width - kControlsSpan, 10, width - 67, 28); }
    platform::Rect systemButtons() const { return {width - 56, 2, width - 6, 16}; }

    // In this order: the system buttons (only while maximised), settings,
    // export, slider.
    CaptionPart hit(platform::Point at) const;
    // The system button at x, inside the system buttons.
    SystemButton systemButtonAt(int x) const;

private:
    platform::Rect edges(int left, int top, int right, int bottom) const;
};

// Inclusive test: both edges count.
bool insideEdges(const platform::Rect& r, platform::Point at);

// The volume a press or drag at x sets on a slider starting at x0: 0 at
// x0 + 1, 1 at x0 + 76 and beyond, as a float.
float sliderVolume(int x, int x0);
// The filled part of the 77-pixel track at a volume.
int filledWidth(float volume);

// The strip, the controls and the slider at that volume, into the top
// kCaptionHeight rows of the image.
void drawCaption(platform::Image& image, const CaptionLayout& layout, float volume);

} // namespace host
