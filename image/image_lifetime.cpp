// Construction, creation, destruction and the copies of an image.
#include "image/cx_image.h"

#include <cstdlib>
#include <cstring>

void storeBitmapHeader(uint8_t* to, const CxBitmapHeader& h)
{
    storeLe32(to, h.size);
    storeLe32(to + 4, static_cast<uint32_t>(h.width));
    storeLe32(to + 8, static_cast<uint32_t>(h.height));
    storeLe16(to + 12, h.planes);
    storeLe16(to + 14, h.bitCount);
    storeLe32(to + 16, h.compression);
    storeLe32(to + 20, h.imageSize);
    storeLe32(to + 24, static_cast<uint32_t>(h.xPelsPerMeter));
    storeLe32(to + 28, static_cast<uint32_t>(h.yPelsPerMeter));
    storeLe32(to + 32, h.colorsUsed);
    storeLe32(to + 36, h.colorsImportant);
}

int codecSlotOf(int format)
{
    switch (format) {
    case kCxFormatUnknown: return 0;
    case kCxFormatBmp: return 1;
    case kCxFormatGif: return 2;
    case kCxFormatJpg: return 3;
    case kCxFormatIco: return 4;
    case kCxFormatPcx: return 5;
    case kCxFormatWbmp: return 6;
    case kCxFormatWmf: return 7;
    default: return -1;
    }
}

CxImage::CxImage(int type)
{
    Reset();
    info_.type = type;
}

void CxImage::Reset()
{
    header_ = CxBitmapHeader{};
    info_ = CxImageInfo{};
    info_.quality = 90.0f;
    info_.alphaMax = 255;
    info_.transparentIndex = -1;
    info_.enabled = 1;
    info_.hostOrder = 1;
    SetXDpi(96);
    SetYDpi(96);
}

CxImage::~CxImage()
{
    DestroyFrames();
    Destroy();
}

bool CxImage::Destroy()
{
    if (IsGhost())
        return false;
    for (int32_t i = 0; layers_ && i < info_.layerCount; i++)
        delete layers_[i];
    std::free(layers_);
    layers_ = nullptr;
    info_.layerCount = 0;
    std::free(selection_);
    std::free(alpha_);
    std::free(dib_);
    selection_ = alpha_ = dib_ = nullptr;
    info_.firstRow = nullptr;
    return true;
}

bool CxImage::DestroyFrames()
{
    if (IsGhost())
        return false;
    if (!frames_)
        return true;
    for (int32_t i = 0; i < info_.frameCount; i++)
        delete frames_[i];
    std::free(frames_);
    frames_ = nullptr;
    info_.frameCount = 0;
    return true;
}

void CxImage::SetLastError(const char* text)
{
    std::strncpy(info_.lastError, text ? text : "", sizeof info_.lastError - 1);
    info_.lastError[sizeof info_.lastError - 1] = '\0';
}

uint8_t* CxImage::Create(uint32_t width, uint32_t height, uint32_t bits, int type)
{
    if (!Destroy())
        return nullptr;
    if (width == 0 || height == 0) {
        SetLastError("CxImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    bits = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;

    // All in 64 bits: the pixel count fits, and above 2^32 pixels the bit count
    // is over the limit anyway. The padded rows are held to the same limit.
    const uint64_t pixels = uint64_t(width) * height;
    const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
    if (pixels > (uint64_t(1) << 32) || ((pixels * bits) & ~uint64_t(7)) > CXIMAGE_MAX_MEMORY * 8 ||
        stride * height > CXIMAGE_MAX_MEMORY || width > INT32_MAX || height > INT32_MAX) {
        SetLastError("CXIMAGE_MAX_MEMORY exceeded");
        return nullptr;
    }

    header_.colorsUsed = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    info_.stride = static_cast<int64_t>(stride);
    info_.type = type;
    header_.width = static_cast<int32_t>(width);
    header_.bitCount = static_cast<uint16_t>(bits);
    header_.size = kBitmapHeaderBytes;
    header_.height = static_cast<int32_t>(height);
    header_.planes = 1;
    header_.compression = 0;
    header_.imageSize = static_cast<uint32_t>(stride * height);

    dib_ = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(DibSize())));
    if (!dib_) {
        SetLastError("CxImage::Create can't allocate memory");
        return nullptr;
    }
    std::memset(dib_ + kBitmapHeaderBytes, 0, PaletteBytes());
    info_.selectionLeft = header_.width;
    info_.selectionTop = 0;
    info_.selectionRight = 0;
    info_.selectionBottom = header_.height;
    StoreHeaderInBlock();
    info_.firstRow = dib_ + kBitmapHeaderBytes + PaletteBytes();
    InvalidateNearestCache();
    return dib_;
}

void CxImage::StoreHeaderInBlock()
{
    if (dib_)
        storeBitmapHeader(dib_, header_);
}

uint64_t CxImage::DibSize() const
{
    return kBitmapHeaderBytes + uint64_t(header_.imageSize) + PaletteBytes();
}

void CxImage::MakeGhostOf(const CxImage* source)
{
    if (!source)
        return;
    if (!IsGhost()) {
        DestroyFrames();
        Destroy();
    }
    header_ = source->header_;
    info_ = source->info_;
    dib_ = source->dib_;
    selection_ = source->selection_;
    alpha_ = source->alpha_;
    layers_ = source->layers_;
    frames_ = source->frames_;
    info_.ghostSource = const_cast<CxImage*>(source);
}

bool CxImage::TakeBuffersFrom(CxImage* other, bool withFrames)
{
    if (!other || other == this || !Destroy())
        return false;
    const int32_t ownFrameCount = info_.frameCount;
    header_ = other->header_;
    info_ = other->info_;
    dib_ = other->dib_;
    selection_ = other->selection_;
    alpha_ = other->alpha_;
    layers_ = other->layers_;
    other->dib_ = other->selection_ = other->alpha_ = nullptr;
    other->layers_ = nullptr;
    other->info_.layerCount = 0;
    other->info_.firstRow = nullptr;
    if (withFrames) {
        DestroyFrames();
        frames_ = other->frames_;
        info_.frameCount = other->info_.frameCount;
        other->frames_ = nullptr;
        other->info_.frameCount = 0;
    } else {
        info_.frameCount = ownFrameCount;
    }
    return true;
}

void CxImage::CopyImage(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&source == this)
        return;
    if (source.IsGhost()) {
        MakeGhostOf(&source);
        return;
    }
    if (IsGhost()) {
        // Forget the borrowed buffers before this image owns any again.
        dib_ = selection_ = alpha_ = nullptr;
        layers_ = frames_ = nullptr;
        info_.ghostSource = nullptr;
        info_.frameCount = info_.layerCount = 0;
    }
    const int32_t ownFrameCount = info_.frameCount;
    const int32_t ownLayerCount = info_.layerCount;
    info_ = source.info_;
    info_.frameCount = ownFrameCount;
    info_.layerCount = ownLayerCount;
    header_ = source.header_;
    if (!source.dib_ || !Create(static_cast<uint32_t>(source.GetWidth()), static_cast<uint32_t>(source.GetHeight()),
                                source.GetBpp(), source.GetType()))
        return;
    header_.colorsImportant = source.header_.colorsImportant;
    if (copyPixels)
        std::memcpy(dib_, source.dib_, static_cast<size_t>(DibSize()));
    else
        LoadPalette(source.PaletteEntries(), source.GetColorsUsed() < 256 ? source.GetColorsUsed() : 256);
    StoreHeaderInBlock();
    const size_t plane = size_t(GetWidth()) * size_t(GetHeight());
    if (copySelection && source.selection_) {
        selection_ = static_cast<uint8_t*>(std::malloc(plane));
        if (selection_) {
            std::memcpy(selection_, source.selection_, plane);
            info_.selectionLeft = source.info_.selectionLeft;
            info_.selectionTop = source.info_.selectionTop;
            info_.selectionRight = source.info_.selectionRight;
            info_.selectionBottom = source.info_.selectionBottom;
        }
    }
    if (copyAlpha && source.alpha_) {
        alpha_ = static_cast<uint8_t*>(std::malloc(plane));
        if (alpha_)
            std::memcpy(alpha_, source.alpha_, plane);
    }
}

void CxImage::CopyInfoFrom(const CxImage& source)
{
    if (dib_ || &source == this)
        return;
    const int32_t ownFrameCount = info_.frameCount;
    info_ = source.info_;
    info_.ghostSource = nullptr;
    info_.firstRow = nullptr;
    info_.frameCount = ownFrameCount;
    info_.layerCount = 0;
}

void CxImage::AppendFrame(CxImage* frame)
{
    if (!frame || IsGhost())
        return;
    auto** grown = static_cast<CxImage**>(std::realloc(frames_, sizeof(CxImage*) * size_t(info_.frameCount + 1)));
    if (!grown) {
        delete frame;
        return;
    }
    frames_ = grown;
    frames_[info_.frameCount++] = frame;
}

CxImage* CxImage::GetFrame(int32_t index) const
{
    return frames_ && index >= 0 && index < info_.frameCount ? frames_[index] : nullptr;
}
