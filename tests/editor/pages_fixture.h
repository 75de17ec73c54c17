#pragma once
// The editor with the demo song: the order list and info pages driven by
// keys and clicks through the editor window, their pixels compared with the
// bitmap fonts' glyphs, the song's markup read back, engine blocks rendered
// through the plug-in's audio call.

#include "editor/info/info_page.h"
#include "editor/order_list/order_list_page.h"
#include "editor_fixture.h"
#include "engine/engine.h"
#include "gui/bitmap_text.h"
#include "gui/offscreen_context.h"
#include "gui/page_fonts.h"
#include "model/scratch_folder.h"
#include "patterneditor/pattern_editor_page.h"
#include "resources/resource_ids.h"
#include "support/demo_song.h"

#include <cstdio>
#include <string>
#include <vector>

class PagesTest : public EditorTest {
protected:
    static constexpr int32_t kPageLeft = TesselEditor::kSidePageLeft;
    static constexpr int32_t kPageTop = TesselEditor::kSidePageTop;

    void SetUp() override
    {
        EditorTest::SetUp();
        open();
        dismissSplash();
    }

    void loadDemoSong()
    {
        {
            platform::MutexLock lock(engine().song.songLock(), kEditLockWaitMs);
            demo_song::fill(engine().song);
        }
        engine().rebuildSongPlaylist(nullptr, false);
        engine().rebuildPatternPlaylists(false);
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effSetBlockSize, 0, kBlock);
        dispatch(effMainsChanged, 0, 1);
    }
    // Blocks of the song through processReplacing, as a host's audio thread would.
    void render(int blocks)
    {
        std::vector<float> left(kBlock), right(kBlock);
        float* outputs[2] = {left.data(), right.data()};
        AEffect* effect = plugin->getAeffect();
        for (int i = 0; i < blocks; ++i)
            effect->processReplacing(effect, nullptr, outputs, kBlock);
    }

    TesselOrderListUI* orderList() { return dynamic_cast<TesselOrderListUI*>(editor->pages().orderList); }
    TesselInfoPageUI* infoPage() { return dynamic_cast<TesselInfoPageUI*>(editor->pages().info); }
    TesselModule& song() { return engine().song; }
    // The window after an idle: a key's idle handles it after drawing.
    const platform::Image& shown()
    {
        idle();
        return editor->frame2()->getWindow()->image();
    }

    // Whether the window shows the text in that bitmap font at a point of
    // the side pages (page coordinates), each cell on black.
    bool showsText(int32_t x, int32_t y, const std::string& text, int32_t fontId, int32_t width)
    {
        const int32_t w = width * static_cast<int32_t>(text.size());
        COffscreenContext expected(static_cast<CFrame*>(nullptr), w, 8, kBlackCColor);
        const CColor black = kBlackCColor;
        drawBitmapText(&expected, text.c_str(), 0, 0, pageFont(fontId, width), &black);
        const platform::Image& window = shown();
        for (int32_t py = 0; py < 8; ++py)
            for (int32_t px = 0; px < w; ++px)
                if (!(window.pixelAt(kPageLeft + x + px, kPageTop + y + py)
                      == expected.getImage()->pixelAt(px, py)))
                    return false;
        return true;
    }
    platform::Colour pagePixel(int32_t x, int32_t y) { return shown().pixelAt(kPageLeft + x, kPageTop + y); }

    // The song as its document holds it.
    std::string markup()
    {
        ScratchFolder folder;
        const std::string path = folder.file("song.xml");
        FILE* file = std::fopen(path.c_str(), "w");
        if (!file)
            return {};
        song().writeXml(file, "", false);
        std::fclose(file);
        return readWholeFile(path);
    }

    // Typed characters through the window: digits, upper-case letters (with
    // Shift), lower-case letters and blanks.
    void type(const std::string& text)
    {
        for (char c : text) {
            if (c >= 'A' && c <= 'Z')
                chord({platform::kWinShift}, static_cast<uint8_t>(c));
            else if (c >= 'a' && c <= 'z')
                press(static_cast<uint8_t>(c - 'a' + 'A'));
            else if (c == ' ')
                press(platform::kWinSpace);
            else
                press(static_cast<uint8_t>(c));
        }
    }
    // A left click at a point of the side pages (page coordinates).
    void clickPage(int32_t x, int32_t y)
    {
        windows.click(*editor->frame2()->getWindow(), {kPageLeft + x, kPageTop + y});
        idle();
    }

    static constexpr int32_t kBlock = 512;
};
