// Which monitor a window belongs to and what of it windows may cover, and a
// tool window taking the focus as it shows.

#include "platform/headless/headless_window.h"
#include "platform/work_area.h"

#include <gtest/gtest.h>

using platform::Rect;

TEST(WorkArea, TheNearestMonitorIsTheOneOverlappedMostElseTheClosest)
{
    const std::vector<Rect> two = {{0, 0, 1024, 768}, {1024, 0, 2304, 1024}};
    struct Case {
        Rect window;
        Rect monitor;
    };
    const Case cases[] = {
        {{100, 100, 300, 300}, two[0]},
        {{1000, 100, 1100, 200}, two[1]},       // more of it on the second
        {{900, 100, 1100, 200}, two[0]},        // more of it on the first
        {{900, 900, 1000, 1000}, two[1]},       // below the first, closer beside the second
        {{-400, 10, -300, 20}, two[0]},         // left of everything
        {{3000, 2000, 3001, 2001}, two[1]},
        {{1500, 500, 1500, 500}, two[1]},       // a point
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::nearestMonitor(two, c.window), c.monitor) << c.window.left << "," << c.window.top;
    EXPECT_EQ(platform::nearestMonitor({}, {0, 0, 10, 10}), Rect{});
}

TEST(WorkArea, TheMonitorIsCutToTheDesktopsWorkArea)
{
    const Rect monitor{1024, 0, 2048, 768};
    EXPECT_EQ(platform::workAreaOf(monitor, {0, 24, 2048, 740}), (Rect{1024, 24, 2048, 740}));
    EXPECT_EQ(platform::workAreaOf(monitor, {}), monitor);
    EXPECT_EQ(platform::workAreaOf(monitor, {0, 0, 1024, 768}), monitor);   // nothing left: the monitor
}

TEST(WorkArea, AToolWindowIsKeptAboveAndTakesTheFocusEachTimeItShows)
{
    platform::HeadlessWindowSystem system;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = {0, 0, 200, 100};
    auto owner = system.createWindow(options);
    owner->takeFocus();
    options.tool = true;
    options.visible = false;
    options.parent = owner.get();
    auto tool = system.createWindow(options);
    EXPECT_TRUE(system.keptAbove(*tool));
    EXPECT_EQ(system.focusWindow(), owner.get());
    tool->show(true);
    EXPECT_EQ(system.focusWindow(), tool.get());
    owner->takeFocus();
    tool->show(false);
    tool->show(true);
    EXPECT_EQ(system.focusWindow(), tool.get());
    EXPECT_FALSE(system.isTool(*owner));
}
