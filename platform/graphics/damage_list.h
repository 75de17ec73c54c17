#pragma once
// The parts of a window that changed since they were last sent to the
// screen: a few rectangles, kept apart so that two small changes far from
// each other do not send everything between them. Overlapping or touching
// parts merge; past a handful the list merges into one rectangle.

#include "platform/graphics/geometry.h"

#include <cstdint>
#include <vector>

namespace platform {

class DamageList {
public:
    static constexpr size_t kMaxParts = 16;

    void add(const Rect& area);
    bool empty() const { return parts_.empty(); }
    const std::vector<Rect>& parts() const { return parts_; }
    // The parts, leaving the list empty.
    std::vector<Rect> take();
    void clear() { parts_.clear(); }

private:
    std::vector<Rect> parts_;
};

// Both rectangles' area: the smallest rectangle holding both.
Rect enclosing(const Rect& a, const Rect& b);

class Image;

// Where the area of the target differs from the source laid with its
// top-left at the origin: runs of differing rows, each as wide as the
// differences in it; a run ends at the first row that is the same in both.
// The area is cut to both images.
std::vector<Rect> differingParts(const Image& target, const Image& source, Point origin, const Rect& area);

} // namespace platform
