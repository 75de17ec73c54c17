#pragma once
// A pattern grid over a song of its own, in the program's font from the
// preferences' defaults, laid out in an editor-sized area.

#include "model/module.h"
#include "model/module_test_support.h"
#include "patterneditor/pattern_grid.h"
#include "platform/folders.h"
#include "platform/font_catalog.h"
#include "plugin/preferences.h"
#include "resources/product_font.h"

#include <gtest/gtest.h>

#include <memory>

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
