#pragma once
// The interpolation methods and the overflow rules for points outside an
// image, by their numbers.

enum CxInterpolation : int {
    kCxInterpolationNearest = 1,
    kCxInterpolationBilinear = 2,
    kCxInterpolationBSpline = 3,
    kCxInterpolationBicubic = 4,
    kCxInterpolationBicubic2 = 5,
    kCxInterpolationLanczos = 6,
    kCxInterpolationBox = 7,
    kCxInterpolationHermite = 8,
    kCxInterpolationHamming = 9,
    kCxInterpolationSinc = 10,
    kCxInterpolationBlackman = 11,
    kCxInterpolationBessel = 12,
    kCxInterpolationGaussian = 13,
    kCxInterpolationQuadratic = 14,
    kCxInterpolationMitchell = 15,
    kCxInterpolationCatrom = 16,
    kCxInterpolationHanning = 17,
    kCxInterpolationPower = 18,
};

enum CxOverflow : int {
    kCxOverflowColor = 1,       // the given colour, white without one
    kCxOverflowBackground = 2,  // the transparent colour
    kCxOverflowTransparent = 3, // alpha 0, or the transparent colour
    kCxOverflowWrap = 4,
    kCxOverflowRepeat = 5,      // clamp to the edge
    kCxOverflowMirror = 6,
};

// Weight of a neighbour at distance x for a kernel method (3..18); methods
// 1 and 2 and unlisted values take the bilinear tent.
float cxKernel(int method, float x);
// Furthest neighbour on each side: the point's floor plus -reach+1 .. reach.
int cxKernelReach(int method);
