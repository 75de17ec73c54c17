#pragma once
// Floating-point point and rectangle records of the area interpolation. A
// rectangle grows right and down: left <= right, top <= bottom.

#include "image/pixel_view.h"

struct CxPointF {
    float x = 0.0f;
    float y = 0.0f;
};

struct CxRectF {
    CxPointF topLeft;
    CxPointF bottomRight;

    CxRectF() = default;
    CxRectF(float left, float top, float right, float bottom) : topLeft{left, top}, bottomRight{right, bottom} {}
    explicit CxRectF(const CxPixelRect& r)
        : CxRectF(float(r.left), float(r.top), float(r.right), float(r.bottom)) {}

    float Width() const { return bottomRight.x - topLeft.x; }
    float Height() const { return bottomRight.y - topLeft.y; }
    float Surface() const { return Height() * Width(); }
    CxPointF Center() const { return {(topLeft.x + bottomRight.x) / 2, (topLeft.y + bottomRight.y) / 2}; }
    // The all-zero rectangle when the two do not overlap.
    CxRectF CrossSection(const CxRectF& o) const
    {
        const CxRectF r(topLeft.x > o.topLeft.x ? topLeft.x : o.topLeft.x,
                        topLeft.y > o.topLeft.y ? topLeft.y : o.topLeft.y,
                        bottomRight.x < o.bottomRight.x ? bottomRight.x : o.bottomRight.x,
                        bottomRight.y < o.bottomRight.y ? bottomRight.y : o.bottomRight.y);
        return r.topLeft.x <= r.bottomRight.x && r.topLeft.y <= r.bottomRight.y ? r : CxRectF();
    }
};
