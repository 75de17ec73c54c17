#pragma once
// The in-memory image: a bottom-up device-independent bitmap (header, palette
// and rows in one block) with optional alpha and selection planes, animation
// frames, and the settings the encoders read. Pixel coordinates count y from
// the bottom, as the rows are stored. One thread at a time; failures return
// false or null and leave a text in GetLastError.

#include "image/cx_file.h"
#include "image/image_records.h"
#include "image/pixel_view.h"

#include <cstdint>

// The adapter over the toolkit (image_gui_adapter.cpp) meets these; the rest
// of the library never includes a platform header.
namespace platform {
class Image;
}
namespace VSTGUI {
class CDrawContext;
}

constexpr uint64_t CXIMAGE_MAX_MEMORY = 268435456;

// Brightness of the first 24-bit pixel (blue, green, red) less the second's.
int cxBrightnessDifference(const void* a, const void* b);

class CxImage {
public:
    explicit CxImage(int type = kCxFormatUnknown);
    virtual ~CxImage();
    CxImage(const CxImage&) = delete;
    CxImage& operator=(const CxImage&) = delete;

    // False on a ghost, which frees nothing.
    bool Destroy();
    bool DestroyFrames();

    // Bits map to 1, 4, 8 or 24; the rows are left uncleared.
    uint8_t* Create(uint32_t width, uint32_t height, uint32_t bits, int type);
    // The capture's conversion: a 32-bit picture (top row first) becomes a
    // 24-bit image with bottom-up rows. A view without pixels is a failed read:
    // the image stays empty with "GetDIBits failed".
    bool CreateFromPixels(const CxPixelView& source);
    // The capture of a platform image (a window system's screen): null gives
    // false with no text; an empty one is a screen that could not be read
    // ("GetDIBits failed"). The palette handle is not used: the pixels are
    // never indexed.
    bool CreateFromHBITMAP(const platform::Image* bitmap, uintptr_t palette = 0);

    // Shares every buffer of `source` (frees nothing, copies settings).
    void MakeGhostOf(const CxImage* source);
    bool TakeBuffersFrom(CxImage* other, bool withFrames);
    void CopyImage(const CxImage& source, bool copyPixels = true, bool copySelection = true,
                   bool copyAlpha = true);
    void CopyInfoFrom(const CxImage& source);
    // Takes ownership of `frame`; the frames are written as an animation.
    void AppendFrame(CxImage* frame);
    CxImage* GetFrame(int32_t index) const;

    int32_t GetWidth() const { return header_.width; }
    int32_t GetHeight() const { return header_.height; }
    int64_t GetStride() const { return info_.stride; }
    uint32_t GetColorsUsed() const { return header_.colorsUsed; }
    uint32_t GetColorsImportant() const { return header_.colorsImportant; }
    uint16_t GetBpp() const { return header_.bitCount; }
    int GetType() const { return info_.type; }
    int32_t GetFrameCount() const { return info_.frameCount; }
    const char* GetLastError() const { return info_.lastError; }
    void SetLastError(const char* text);
    int32_t GetTransparentIndex() const { return info_.transparentIndex; }
    bool IsTransparent() const { return info_.transparentIndex >= 0; }
    // Below the colour count the index is kept, else 0; -1 clears it.
    void SetTransparentIndex(int32_t index);
    void SetTransparentColor(CxColor color) { info_.transparentColor = color; }
    CxColor TransparentColor() const;
    bool HasPalette() const { return header_.colorsUsed != 0; }
    int32_t GetXDpi() const { return info_.xDpi; }
    int32_t GetYDpi() const { return info_.yDpi; }
    void SetXDpi(int32_t dpi);
    void SetYDpi(int32_t dpi);
    uint8_t GetDisposalMethod() const { return info_.disposal; }
    void SetDisposalMethod(uint8_t method) { info_.disposal = method; }
    void SetOffset(int32_t x, int32_t y);
    int32_t GetXOffset() const { return info_.xOffset; }
    int32_t GetYOffset() const { return info_.yOffset; }
    uint32_t GetFrameDelay() const { return info_.frameDelay; }
    void SetFrameDelay(uint32_t delay) { info_.frameDelay = delay; }
    uint32_t CodecOption(int format = kCxFormatUnknown) const;
    void SetCodecOption(uint32_t option, int format = kCxFormatUnknown);
    uint8_t GetJpegQuality() const;
    bool IsEnabled() const { return info_.enabled != 0; }
    void SetEnabled(bool enabled) { info_.enabled = enabled ? 1 : 0; }
    uint8_t GetAlphaMax() const { return info_.alphaMax; }
    void SetAlphaMax(uint8_t value) { info_.alphaMax = value; }
    bool IsAlphaPaletteEnabled() const { return info_.alphaPalette != 0; }
    void SetAlphaPaletteEnabled(bool on) { info_.alphaPalette = on ? 1 : 0; }
    int32_t GetProgress() const { return info_.progress; }
    // Non-zero makes Resample and DecreaseBpp stop after the current row.
    void SetEscape(int32_t escape) { info_.escape = escape; }
    bool IsGhost() const { return info_.ghostSource != nullptr; }
    const CxImageInfo& Info() const { return info_; }
    const CxBitmapHeader& Header() const { return header_; }

    uint8_t* RowPointer(int64_t row = 0) const;
    uint64_t DibSize() const;
    const uint8_t* DibBlock() const { return dib_; }
    bool Contains(int64_t x, int64_t y) const
    {
        return x >= 0 && y >= 0 && x < header_.width && y < header_.height;
    }
    bool HasPixels() const { return dib_ != nullptr; }

    uint32_t PaletteBytes() const { return header_.colorsUsed * 4; }
    CxColor* PaletteEntries() const;
    CxColor PaletteColor(uint8_t index) const;
    void SetPaletteEntry(uint8_t index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 0);
    void SetPaletteEntry(uint8_t index, CxColor color);
    void LoadPalette(const CxColor* entries, uint32_t count);
    void SetImportantColors(uint32_t count);
    void ApplyDefaultPalette();
    uint8_t NearestPaletteIndex(CxColor color);

    uint8_t PixelIndexAt(int64_t x, int64_t y) const;
    uint8_t PixelIndexAtUnchecked(int64_t x, int64_t y) const;
    CxColor PixelColorAt(int64_t x, int64_t y, bool withAlpha = true) const;
    CxColor PixelColorAtUnchecked(int64_t x, int64_t y, bool withAlpha = true) const;
    void PutPixelIndex(int64_t x, int64_t y, uint8_t index);
    void PutPixelIndexUnchecked(int64_t x, int64_t y, uint8_t index);
    void PutPixelColor(int64_t x, int64_t y, CxColor color, bool withAlpha = false);
    void PutPixelColorUnchecked(int64_t x, int64_t y, CxColor color, bool withAlpha = false);

    bool AlphaCreate();
    void AlphaDelete();
    bool HasAlpha() const { return alpha_ != nullptr; }
    void AlphaSet(int64_t x, int64_t y, uint8_t value);
    uint8_t AlphaGet(int64_t x, int64_t y) const;
    const uint8_t* AlphaPlane() const { return alpha_; }
    void CopyAlphaFrom(const CxImage& source);
    void CopySelectionFrom(const CxImage& source);
    bool HasSelection() const { return selection_ != nullptr; }
    bool HasAlphaInPalette() const;
    void SwapRedBlue(uint8_t* buffer, int64_t length) const;

    // Interpolated colour reads (image_interpolation.cpp).
    CxColor OverflowColor(int64_t x, int64_t y, int overflow, const CxColor* given) const;
    CxColor InterpolatedColor(float x, float y, int method, int overflow, const CxColor* given) const;
    CxColor AreaInterpolatedColor(float x, float y, float width, float height, int method, int overflow,
                                  const CxColor* given) const;

    // 1 when drawn, 0 when there is nothing to draw. A negative size means the
    // image's own; `clip` (or null) narrows the target's own clip.
    int Draw(const CxDrawTarget& target, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1,
             const CxPixelRect* clip = nullptr, bool smooth = false) const;
    int Draw(const CxDrawTarget& target, const CxPixelRect& rect, const CxPixelRect* clip = nullptr,
             bool smooth = false) const
    {
        return Draw(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, clip, smooth);
    }
    // Into a draw context's image, in its coordinates (shifted by its offset)
    // and within its clip and, during a paint, the damaged area; what it
    // paints is presented with the context's other drawing.
    int Draw(VSTGUI::CDrawContext* context, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1,
             const CxPixelRect* clip = nullptr, bool smooth = false) const;
    int Draw(VSTGUI::CDrawContext* context, const CxPixelRect& rect, const CxPixelRect* clip = nullptr,
             bool smooth = false) const
    {
        return Draw(context, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, clip, smooth);
    }
    bool Resample(int32_t newWidth, int32_t newHeight, int mode = 1, CxImage* destination = nullptr);
    bool DecreaseBpp(uint32_t bits, bool errorDiffusion, const CxColor* palette = nullptr,
                     uint32_t importantColors = 0);

    bool Save(const char* fileName, int format);
    bool Encode(CxFile* file, int format);

protected:
    bool CheckEncodeArguments(CxFile* file);
    void InvalidateNearestCache() { info_.nearestValid = false; }
    void StoreHeaderInBlock();

    CxBitmapHeader header_;
    CxImageInfo info_;

private:
    void Reset();
    bool ResampleBoxShrink(CxImage& result, float xScale, float yScale);
    void ResampleBilinear(CxImage& result, float xScale, float yScale);
    void ResampleBicubic(CxImage& result, float xScale, float yScale);
    void ResampleNearest(CxImage& result, float xScale, float yScale);
    bool RowLoopStopped(int64_t row, int64_t rows);

    uint8_t* dib_ = nullptr;
    uint8_t* selection_ = nullptr;
    uint8_t* alpha_ = nullptr;
    CxImage** layers_ = nullptr;
    CxImage** frames_ = nullptr;
};
