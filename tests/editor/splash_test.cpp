// The splash page on the fake clock: its fade, its alpha and what it shows.

#include "editor/editor_window/window_placement.h"
#include "gui/offscreen_context.h"
#include "editor_fixture.h"
#include "resources/resource_ids.h"

namespace {

TEST_F(EditorTest, TheSplashFadesOnTheWindowClockAndShowsTheLogoAndVersion)
{
    open();
    TesselSplashUI* splash = editor->splash();
    std::vector<float> levels;
    for (int i = 0; i < 30; ++i) {
        windows.advance(40);
        idle();
        levels.push_back(splash->fadeInLevel());
    }
    // Rising on every pass, faster as the fade goes on, never past full.
    for (size_t i = 1; i < levels.size(); ++i)
        EXPECT_GE(levels[i], levels[i - 1]);
    EXPECT_EQ(levels.back(), TesselSplashUI::kFullLevel);
    EXPECT_EQ(splash->alpha(), 255);

    // At full strength the logo's amber stands in the middle of the window.
    const platform::Image& pixels = editor->frame2()->getWindow()->image();
    const auto amber = [&pixels] {
        int count = 0;
        for (int32_t y = 200; y < 300; ++y)
            for (int32_t x = 200; x < 520; ++x) {
                const platform::Colour c = pixels.pixelAt(x, y);
                count += c.red > 200 && c.green > 150 && c.blue < 160;
            }
        return count;
    };
    EXPECT_GT(amber(), 500);
    // The version stands right-aligned 20 pixels in, 107 above the background's bottom.
    const CRect back = splash->backgroundRect();
    int ink = 0;
    for (int32_t y = back.bottom - 107 - 6; y < back.bottom - 107 + 6; ++y)
        for (int32_t x = back.right - 120; x < back.right - 20; ++x)
            ink += pixels.pixelAt(x, y).red > 180;
    EXPECT_GT(ink, 20);

    // A key: the fade-out runs to nothing and the pattern editor shows again.
    press(platform::kWinSpace);
    EXPECT_TRUE(splash->isFadingOut());
    for (int i = 0; i < 40 && splash->isShown(); ++i) {
        windows.advance(40);
        idle();
        EXPECT_LE(splash->fadeOutLevel(), TesselSplashUI::kFullLevel);
    }
    EXPECT_FALSE(splash->isShown());
    EXPECT_EQ(splash->alpha(), 0);
    idle();
    EXPECT_EQ(amber(), 0);   // no logo left over the pattern
}

TEST_F(EditorTest, TheSplashsAlphaFollowsTheSquareOfItsLevel)
{
    TesselSplashUI* splash = editor->splash();
    const struct {
        uint32_t elapsed;
        int alpha;
    } cases[] = {{0, 0}, {35 * 150, 63}, {35 * 300, 255}, {35 * 3000, 255}};
    open();
    COffscreenContext picture(nullptr, 723, 499);
    for (const auto& c : cases) {
        windows.setTicks(5000);
        splash->start(CRect(0, 0, 723, 499));
        windows.setTicks(5000 + c.elapsed);
        splash->draw(&picture);   // one pass of the fade
        EXPECT_EQ(splash->alpha(), c.alpha) << c.elapsed;
    }
}

TEST(WindowPlacement, KeptRectanglesCountWhileMoreThan20PixelsShowOnEverySide)
{
    const platform::Rect screen{0, 0, 1024, 768};
    const platform::Rect host{200, 100, 693, 136};
    const platform::Rect below = platform::rectOfSize(200, 146, 723, 499);
    const struct {
        platform::Rect saved;
        platform::Rect preference;
        platform::Rect bounds;
        platform::Rect expected;
        TesselPlacementSource source;
    } cases[] = {
        {{}, {}, screen, below, TesselPlacementSource::kBelowHost},
        {{300, 300, 900, 700}, {}, screen, {300, 300, 900, 700}, TesselPlacementSource::kSaved},
        {{1004, 300, 1700, 700}, {}, screen, below, TesselPlacementSource::kBelowHost},
        {{1003, 300, 1700, 700}, {}, screen, {1003, 300, 1700, 700}, TesselPlacementSource::kSaved},
        {{-600, 300, 20, 700}, {10, 10, 500, 400}, screen, {10, 10, 500, 400}, TesselPlacementSource::kPreference},
        {{}, {100, 748, 500, 900}, screen, below, TesselPlacementSource::kBelowHost},
        {{5000, 5000, 5100, 5100}, {}, {}, {5000, 5000, 5100, 5100}, TesselPlacementSource::kSaved},
    };
    for (const auto& c : cases) {
        const TesselPlacement placement = placeEditorWindow({host, c.bounds, c.saved, c.preference});
        EXPECT_EQ(placement.rect, c.expected) << c.saved.left;
        EXPECT_EQ(placement.source, c.source) << c.saved.left;
    }
}

} // namespace
