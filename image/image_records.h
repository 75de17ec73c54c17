#pragma once
// The records an image is made of: a colour as the bitmap palette stores it,
// the 40-byte bitmap information header, the settings record, and the format
// numbers of Encode.

#include <cstddef>
#include <cstdint>

// Palette entry and pixel colour in memory order; `reserved` is an alpha value
// only where the image says so.
struct CxColor {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;

    bool operator==(const CxColor&) const = default;
    static constexpr CxColor rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0) { return {b, g, r, a}; }
};
static_assert(sizeof(CxColor) == 4);

// Same fields as the header in a BMP file; stored into memory and files only
// through storeBitmapHeader, never by copying the native record.
struct CxBitmapHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;
};
constexpr size_t kBitmapHeaderBytes = 40;

// Little-endian, 40 bytes.
void storeBitmapHeader(uint8_t* to, const CxBitmapHeader& header);

inline void storeLe16(uint8_t* to, uint32_t v)
{
    to[0] = static_cast<uint8_t>(v);
    to[1] = static_cast<uint8_t>(v >> 8);
}
inline void storeLe32(uint8_t* to, uint32_t v)
{
    storeLe16(to, v);
    storeLe16(to + 2, v >> 16);
}

// Format numbers of Encode and the image's type.
enum CxFormat : int {
    kCxFormatUnknown = 0,
    kCxFormatBmp = 1,
    kCxFormatGif = 2,
    kCxFormatJpg = 3,
    kCxFormatIco = 5,
    kCxFormatPcx = 8,
    kCxFormatWbmp = 9,
    kCxFormatWmf = 10,
};
constexpr int kCxCodecSlots = 8;
// Slot 0..7 of a format's codec option, -1 for a format without one.
int codecSlotOf(int format);

class CxImage;

// The settings of an image: copied whole between images and encoders.
struct CxImageInfo {
    int64_t stride = 0;          // bytes per stored row, a multiple of 4
    uint8_t* firstRow = nullptr; // the bottom row, behind the palette
    CxImage* ghostSource = nullptr;
    int type = kCxFormatUnknown;
    char lastError[256] = {};
    int32_t progress = 0;
    int32_t escape = 0; // non-zero stops long loops after the current row
    int32_t transparentIndex = -1;
    CxColor transparentColor;
    float quality = 0.0f;
    int32_t frameCount = 0;
    uint32_t frameDelay = 0;
    int32_t xDpi = 0;
    int32_t yDpi = 0;
    int32_t selectionLeft = 0, selectionTop = 0, selectionRight = 0, selectionBottom = 0;
    uint8_t alphaMax = 0;
    uint8_t alphaPalette = 0; // palette reserved bytes are alpha values
    uint8_t enabled = 0;
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    uint32_t codecOptions[kCxCodecSlots] = {};
    CxColor nearestAsked;
    uint8_t nearestAnswer = 0;
    bool nearestValid = false;
    uint8_t disposal = 0;
    uint8_t hostOrder = 0;
    int32_t layerCount = 0;
};
