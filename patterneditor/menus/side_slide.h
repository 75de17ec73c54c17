#pragma once
// A panel that slides in from below the page's bottom edge and out again:
// how far it still is from where it is going, moved on at every draw.

#include <algorithm>
#include <cstdint>

struct TesselSlide {
    static constexpr int32_t kStep = 6;   // pixels a draw moves it

    int32_t height = 0;
    int32_t hidden = 0;   // pixels below the edge: 0 shown, height gone
    bool in = false;      // where it is going

    // Starts a slide; without animation it is there at once.
    void show(bool flag, bool animated)
    {
        in = flag;
        if (!animated)
            hidden = in ? 0 : height;
    }
    void setHeight(int32_t h)
    {
        height = h;
        hidden = in ? std::min(hidden, h) : h;
    }
    // One draw's move; true while still moving.
    bool step()
    {
        const int32_t goal = in ? 0 : height;
        if (hidden < goal)
            hidden = std::min(hidden + kStep, goal);
        else if (hidden > goal)
            hidden = std::max(hidden - kStep, goal);
        return isSliding();
    }
    bool isSliding() const { return hidden != (in ? 0 : height); }
    bool isVisible() const { return hidden < height; }
    // More than half of it shows.
    bool mostlyShown() const { return hidden * 2 < height; }
};
