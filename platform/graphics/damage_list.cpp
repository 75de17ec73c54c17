#include "platform/graphics/damage_list.h"

#include "platform/graphics/image.h"

#include <cstddef>
#include <cstring>

namespace platform {

namespace {

bool touching(const Rect& a, const Rect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

Rect enclosing(const Rect& a, const Rect& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void DamageList::add(const Rect& area)
{
    if (area.empty())
        return;
    Rect merged = area;
    // A merge may make the result touch parts it did not touch before.
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < parts_.size(); ++i) {
            if (!touching(parts_[i], merged))
                continue;
            merged = enclosing(merged, parts_[i]);
            parts_.erase(parts_.begin() + static_cast<std::ptrdiff_t>(i));
            again = true;
            break;
        }
    }
    parts_.push_back(merged);
    if (parts_.size() > kMaxParts) {
        Rect all;
        for (const Rect& part : parts_)
            all = enclosing(all, part);
        parts_.assign(1, all);
    }
}

std::vector<Rect> DamageList::take()
{
    std::vector<Rect> out;
    out.swap(parts_);
    return out;
}

std::vector<Rect> differingParts(const Image& target, const Image& source, Point origin, const Rect& area)
{
    std::vector<Rect> parts;
    const Rect cut = intersect(intersect(area, target.bounds()), source.bounds().movedBy(origin.x, origin.y));
    if (cut.empty())
        return parts;
    const uint32_t* a = target.pixels();
    const uint32_t* b = source.pixels();
    const ptrdiff_t strideA = target.stride();
    const ptrdiff_t strideB = source.stride();
    const size_t rowBytes = static_cast<size_t>(cut.width()) * sizeof(uint32_t);
    Rect run;
    for (int32_t y = cut.top; y < cut.bottom; ++y) {
        const uint32_t* rowA = a + y * strideA + cut.left;
        const uint32_t* rowB = b + (y - origin.y) * strideB + (cut.left - origin.x);
        if (std::memcmp(rowA, rowB, rowBytes) == 0) {
            if (!run.empty())
                parts.push_back(run);
            run = Rect{};
            continue;
        }
        int32_t left = 0;
        while (rowA[left] == rowB[left])
            ++left;
        int32_t right = cut.width();
        while (rowA[right - 1] == rowB[right - 1])
            --right;
        run = enclosing(run, Rect{cut.left + left, y, cut.left + right, y + 1});
    }
    if (!run.empty())
        parts.push_back(run);
    return parts;
}

} // namespace platform
