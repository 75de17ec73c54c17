#pragma once
// A pattern grid over a song of its own, in the program's font from the
// preferences' defaults, laid out in an editor-sized area.

#include "gui/frame/frame.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "model/module_test_support.h"
#include "patterneditor/grid/pattern_grid.h"
#include "platform/system/folders.h"
#include "platform/graphics/font_catalog.h"
#include "platform/headless/headless_window.h"
#include "shell/preferences.h"
#include "resources/product_font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

// The product font, registered once for the test program.
inline void registerGridFont()
{
    static const std::string path =
        resources::registerProductFont(platform::FontCatalog::process(), platform::temporaryFolder());
    ASSERT_FALSE(path.empty()) << "the product font could not be registered";
}

inline TesselFontRecord defaultPatternFont()
{
    TesselPreferences preferences;
    TesselFontRecord font = preferences.font;
    settlePatternFontWidth(font, preferences.fontWidth);
    return font;
}

struct FixedHost : TesselGridHost {
    bool maximised = false;
    int32_t panel = 0;
    bool follows = false;
    uint32_t now = 1000;
    bool editorMaximised() const override { return maximised; }
    int32_t coveringPanelHeight() const override { return panel; }
    bool followsPlayback() const override { return follows; }
    uint32_t ticks() const override { return now; }
};

class GridRig {
public:
    explicit GridRig(int width = 723, int height = 499, TesselEngine* engine = nullptr, TesselModule* song = nullptr)
        : own_(song ? nullptr : std::make_unique<TesselModule>()), song_(song ? *song : *own_), grid(song_, engine)
    {
        registerGridFont();
        grid.setPattern(&song_.patterns[0], &host, 0, 0, width, height);
        const TesselFontRecord font = defaultPatternFont();
        grid.setFont(&font);
        grid.layoutGrid(0, 0, width, height);
    }
    TesselModule& song() { return song_; }
    TesselPattern& pattern() { return song_.patterns[0]; }
    TesselSubrow& cell(int channel, int row) { return pattern().tracks.getTrack(channel).getRow(row); }

private:
    std::unique_ptr<TesselModule> own_;
    TesselModule& song_;

public:
    FixedHost host;
    TesselPatternUI grid;
};

// A text pixel drawn in `ink` over `background`: antialiased glyphs of a
// small font rarely reach full coverage, so mostly-ink pixels count.
inline bool inkPixel(platform::Colour p, platform::Colour ink, platform::Colour background)
{
    double low = 2.0;
    double high = -1.0;
    for (auto [pc, ic, bc] : {std::tuple{p.red, ink.red, background.red}, std::tuple{p.green, ink.green, background.green},
                              std::tuple{p.blue, ink.blue, background.blue}}) {
        const int span = int(ic) - int(bc);
        if (std::abs(span) < 30) {
            if (std::abs(int(pc) - int(bc)) > 30)
                return false;
            continue;
        }
        const double t = double(int(pc) - int(bc)) / span;
        low = std::min(low, t);
        high = std::max(high, t);
    }
    return low > 0.55 && high < 1.1 && high - low < 0.3;
}

inline bool hasInk(const platform::Image& page, const platform::Rect& area, platform::Colour ink,
                   platform::Colour background)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (inkPixel(page.pixelAt(x, y), ink, background))
                return true;
    return false;
}

inline CColor toCColor(platform::Colour c)
{
    return CColor{c.red, c.green, c.blue, 0};
}

// An offscreen context of its own to draw into, as pages compose.
class OffscreenPage {
public:
    OffscreenPage(int width, int height, platform::Colour fill = {})
        : context(static_cast<CFrame*>(nullptr), width, height, toCColor(fill))
    {
    }
    CDrawContext* get() { return &context; }
    const platform::Image& image() { return *context.getImage(); }

    COffscreenContext context;
};

// The headless backend: a host window holding a frame, to whose child
// window a page composed offscreen is copied, as the editor's pages are.
class HeadlessPage {
public:
    HeadlessPage(int width, int height) : width_(width), height_(height)
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {40, 30, 40 + width, 30 + height};
        options.title = "Host";
        host_ = system_.createWindow(options);
        frame_ = std::make_unique<CFrame>(CRect(0, 0, width, height), host_.get(), nullptr);
    }

    // Composes the page offscreen over the background, copies it to the
    // frame's window and returns what the window shows.
    template <class Compose>
    const platform::Image& show(platform::Colour background, Compose compose)
    {
        COffscreenContext page(frame_.get(), width_, height_, toCColor(background));
        compose(static_cast<CDrawContext*>(&page));
        std::unique_ptr<CDrawContext> window = frame_->createWindowContext();
        page.transfert(window.get(), CRect(0, 0, width_, height_));
        return frame_->getWindow()->image();
    }

private:
    int width_;
    int height_;
    platform::HeadlessWindowSystem system_;
    std::unique_ptr<platform::Window> host_;
    std::unique_ptr<CFrame> frame_;
};
