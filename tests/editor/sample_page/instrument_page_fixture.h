#pragma once
// The instrument list page of the plug-in's editor on headless windows:
// F4 from the pattern editor, keys typed as text, clicks and wheel turns at
// page points, and the song and status line read back.

#include "editor/instrument_list/instrument_list_page.h"
#include "editor/editor_fixture.h"
#include "engine/engine.h"
#include "pagekit/frame2.h"
#include "model/song/module.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

class InstrumentPageTest : public EditorTest {
protected:
    static constexpr uint8_t kF4 = platform::kWinF1 + 3;

    void openPage()
    {
        open();
        dismissSplash();
        press(kF4);
        ASSERT_EQ(pageNumber(), kInstrumentListPage);
    }
    TesselInstrumentListUI& page() { return *dynamic_cast<TesselInstrumentListUI*>(editor->pages().instrumentList); }
    TesselModule& song() { return engine().song; }
    TesselInstrument& instrument(int number) { return song().instruments[size_t(number - 1)]; }
    std::string status() const { return platform::statusText(); }
    platform::Window& window() { return *editor->frame2()->getWindow(); }

    // Letters, digits and a few signs, each pressed and released.
    void type(const char* text)
    {
        for (const char* c = text; *c; ++c) {
            const auto upper = static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(*c)));
            if (*c == '`')
                press(platform::kWinOem8);
            else if (*c == '.')
                press(platform::kWinOemPeriod);
            else
                press(upper);
        }
    }
    void repeat(uint8_t key, int times)
    {
        for (int i = 0; i < times; ++i)
            press(key);
    }
    // Page points: the side pages stand at (9, 43) in the editor window.
    platform::Point at(int x, int y) const
    {
        return {x + TesselEditor::kSidePageLeft, y + TesselEditor::kSidePageTop};
    }
    void click(int x, int y, uint32_t button = platform::kLeftButton)
    {
        windows.click(window(), at(x, y), button);
        idle();
    }
    void drag(int fromX, int fromY, int toX, int toY, uint32_t button)
    {
        windows.injectButton(window(), at(fromX, fromY), button, true);
        idle();
        windows.injectMove(window(), at(toX, toY));
        idle();
        windows.injectButton(window(), at(toX, toY), button, false);
        idle();
    }
    void wheel(int x, int y, int notches)
    {
        windows.injectWheel(window(), at(x, y), 120 * notches);
        idle();
    }
    // The pages' picture as the window shows it, written for a person to look at.
    void writePicture(const std::string& name)
    {
        idle(2);
        std::system("mkdir -p screenshots");
        EXPECT_TRUE(window().image().writePng("screenshots/" + name));
    }
};
