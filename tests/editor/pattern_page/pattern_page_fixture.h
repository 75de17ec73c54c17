#pragma once
// The pattern editor page in the plug-in's editor on headless windows: keys
// and the mouse through the editor window, the song read back as cells and
// as its markup, and what the window shows.

#include "editor/demo_song.h"
#include "editor/editor_fixture.h"
#include "engine/engine.h"
#include "model/scratch_folder.h"
#include "patterneditor/pattern_editor_ui.h"
#include "platform/system/folders.h"

#include <initializer_list>
#include <vector>
#include <string>

class PatternPageTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        open();
        dismissSplash();
        platform::clearStatusText();
        TesselPatternUI::resetRepeatCounter();
    }

    TesselPatternEditorUI& page() { return *patternPage(); }
    TesselPatternUI& grid() { return page().grid(); }
    TesselPatternView& view() { return grid().view; }
    TesselModule& song() { return engine().song; }
    TesselPattern& pattern(int index = 0) { return song().patterns[size_t(index)]; }
    // A cell of pattern 0 as the song holds it; the blank row when absent.
    const TesselRow& cell(int channel, int row, int index = 0)
    {
        const TesselRow* found = pattern(index).findRow(channel, row);
        return found ? *found : TesselRow::blank();
    }
    TesselSubrow& writable(int channel, int row, int index = 0)
    {
        return pattern(index).tracks.getTrack(channel).getRow(row);
    }
    std::string markup()
    {
        return writtenText([this](FILE* f) { song().writeXml(f, "", false); });
    }

    // Characters typed as their keys (letters, digits and a few signs).
    void type(const std::string& text)
    {
        for (char c : text)
            press(windowsKeyOf(c));
    }
    static uint8_t windowsKeyOf(char c)
    {
        using namespace platform;
        if (c >= 'a' && c <= 'z')
            return static_cast<uint8_t>(c - 'a' + 'A');
        if (c >= '0' && c <= '9')
            return static_cast<uint8_t>(c);
        switch (c) {
        case '.': return kWinOemPeriod;
        case ',': return kWinOemComma;
        case '`': return kWinOem8;
        case ' ': return kWinSpace;
        case ';': return kWinOem1;
        default: return 0;
        }
    }
    void alt(uint8_t key) { chord({platform::kWinMenu}, key); }
    void control(uint8_t key) { chord({platform::kWinControl}, key); }
    void moveCursor(int channel, int column, int row)
    {
        grid().moveCursorTo(channel * kColumnsPerChannel + column, row);
    }

    // A point of the editor window at the middle of a cell (column 0).
    platform::Point cellPoint(int channel, int row)
    {
        const platform::Point origin = grid().gridOrigin();
        return {origin.x + (channel - view().firstChannel) * view().channelWidth + view().channelWidth / 3,
                origin.y + (row - view().firstRow) * view().rowHeight + view().rowHeight / 2};
    }
    platform::Window& pagesWindow() { return *editor->frame2()->getWindow(); }
    // Press at one cell, move to another, release; modifiers held throughout.
    void drag(platform::Point from, platform::Point to, std::initializer_list<uint8_t> modifiers = {})
    {
        for (uint8_t m : modifiers)
            windows.injectKey(m, true);
        windows.injectMove(pagesWindow(), from);
        windows.injectButton(pagesWindow(), from, platform::kLeftButton, true);
        windows.injectMove(pagesWindow(), to);
        windows.injectButton(pagesWindow(), to, platform::kLeftButton, false);
        for (uint8_t m : modifiers)
            windows.injectKey(m, false);
        idle();
    }
    // What the editor window shows after an idle pass that drew the page.
    const platform::Image& shown()
    {
        page().setDirty();
        idle();
        return pagesWindow().image();
    }
    // Engine blocks as the host's audio thread would ask for them.
    void render(int blocks, int frames = 512)
    {
        plugin->setSampleRate(44100.0f);
        plugin->setBlockSize(frames);
        std::vector<float> left(static_cast<size_t>(frames));
        std::vector<float> right(static_cast<size_t>(frames));
        float* outputs[2] = {left.data(), right.data()};
        for (int i = 0; i < blocks; ++i)
            plugin->processReplacing(nullptr, outputs, frames);
    }
    // The demo song in the song, shown by the page.
    void fillDemoSong()
    {
        fillDemoSongInto(song());
        page().fillInstrumentList(0);
        page().goToPattern(0, true);
    }
    // Writes what the window shows as a PNG under screenshots/.
    void saveShot(const std::string& name)
    {
        ASSERT_TRUE(platform::makeFolders("screenshots"));
        ASSERT_TRUE(shown().writePng("screenshots/" + name));
    }
};
