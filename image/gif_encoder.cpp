// GIF89a files: one palette image, an animation of an image's frames, or a
// true-colour image as a mosaic of tiles with their own colour tables.
#include "image/encoders.h"
#include "image/gif_writer.h"

#include <cstring>
#include <memory>
#include <new>

void CxGifWriter::put(uint8_t byte)
{
    if (!file_->PutC(byte))
        failed_ = true;
}

void CxGifWriter::put16(uint32_t value)
{
    put(static_cast<uint8_t>(value));
    put(static_cast<uint8_t>(value >> 8));
}

void CxGifWriter::write(const void* bytes, size_t size)
{
    if (!cxWriteAll(file_, bytes, size))
        failed_ = true;
}

void CxGifWriter::colorTable(const CxImage& image)
{
    uint8_t table[768];
    const uint32_t n = image.GetColorsUsed() < 256 ? image.GetColorsUsed() : 256;
    for (uint32_t i = 0; i < n; i++) {
        const CxColor c = image.PaletteColor(static_cast<uint8_t>(i));
        table[i * 3] = c.red;
        table[i * 3 + 1] = c.green;
        table[i * 3 + 2] = c.blue;
    }
    write(table, n * 3);
}

void CxGifWriter::header(const CxImage& image)
{
    write("GIF89a", 6);
    put16(uint32_t(image.GetWidth()));
    put16(uint32_t(image.GetHeight()));
    switch (image.HasPalette() ? image.GetBpp() : 24) {
    case 8: put(0xE7); break;
    case 4: put(0xE3); break;
    case 1: put(0x80); break;
    default: put(0x11); break;
    }
    put(0); // background
    put(0); // aspect ratio
    if (image.HasPalette())
        colorTable(image);
}

void CxGifWriter::graphicControl(const CxImage& image, uint8_t disposal)
{
    const uint8_t flags = static_cast<uint8_t>((image.IsTransparent() ? 1 : 0) | (disposal & 7) << 2);
    const uint8_t block[8] = {0x21, 0xF9, 0x04, flags, static_cast<uint8_t>(image.GetFrameDelay()),
                              static_cast<uint8_t>(image.GetFrameDelay() >> 8),
                              static_cast<uint8_t>(image.GetTransparentIndex()), 0x00};
    write(block, sizeof block);
}

void CxGifWriter::comment(const char* text)
{
    const size_t length = std::strlen(text);
    if (length == 0)
        return;
    const size_t cut = length < 255 ? length : 255;
    put(0x21);
    put(0xFE);
    put(static_cast<uint8_t>(cut));
    write(text, cut);
    put(0x00);
}

void CxGifWriter::loopExtension(int32_t loops)
{
    write("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    put16(uint32_t(loops > 1 ? loops - 1 : 0));
    put(0x00);
}

void CxGifWriter::body(const CxImage& image, bool localColorTable, uint32_t codecOption)
{
    put(0x2C);
    put16(uint32_t(image.GetXOffset()));
    put16(uint32_t(image.GetYOffset()));
    put16(uint32_t(image.GetWidth()));
    put16(uint32_t(image.GetHeight()));
    put(localColorTable ? static_cast<uint8_t>(0x80 | (image.GetBpp() - 1)) : 0x00);
    if (localColorTable)
        colorTable(image);
    const int minimumCodeSize = image.GetBpp() < 2 ? 2 : image.GetBpp();
    put(static_cast<uint8_t>(minimumCodeSize));
    cxGifCompress(*this, image, minimumCodeSize + 1, codecOption);
    put(0x00);
}

namespace {

constexpr int kTileWidth = 17;
constexpr int kTileHeight = 15;

// Each tile pixel gets a palette entry of its own (1 + 17 x row + column);
// entry 0 is the transparent colour when there is one.
bool encodeMosaic(CxGifWriter& out, const CxImage& image, const char* comment)
{
    out.header(image);
    out.comment(comment);
    std::unique_ptr<CxImage> tile(new (std::nothrow) CxImage(kCxFormatGif));
    if (!tile)
        return false;
    const int64_t width = image.GetWidth(), height = image.GetHeight();
    for (int64_t top = 0; top < height; top += kTileHeight) {
        const int64_t tileHeight = height - top < kTileHeight ? height - top : kTileHeight;
        for (int64_t left = 0; left < width; left += kTileWidth) {
            const int64_t tileWidth = width - left < kTileWidth ? width - left : kTileWidth;
            if (!tile->HasPixels() || tile->GetWidth() != tileWidth || tile->GetHeight() != tileHeight) {
                if (!tile->Create(uint32_t(tileWidth), uint32_t(tileHeight), 8, kCxFormatGif))
                    return false;
            }
            if (image.IsTransparent()) {
                tile->SetTransparentIndex(0);
                tile->SetPaletteEntry(0, image.TransparentColor());
            }
            for (int64_t r = 0; r < tileHeight; r++)
                for (int64_t c = 0; c < tileWidth; c++)
                    tile->SetPaletteEntry(static_cast<uint8_t>(1 + kTileWidth * r + c),
                                          image.PixelColorAtUnchecked(left + c, height - 1 - (top + r), false));
            for (int64_t r = 0; r < tileHeight; r++)
                for (int64_t c = 0; c < tileWidth; c++)
                    tile->PutPixelIndexUnchecked(
                        c, tileHeight - 1 - r,
                        tile->NearestPaletteIndex(image.PixelColorAtUnchecked(left + c, height - 1 - (top + r), false)));
            tile->SetOffset(int32_t(left), int32_t(top));
            out.graphicControl(*tile, 0);
            out.body(*tile, true, 0);
        }
    }
    out.trailer();
    return true;
}

} // namespace

void CxImageGIF::SetComment(const char* text)
{
    std::strncpy(comment_, text ? text : "", 255);
    comment_[255] = '\0';
}

bool CxImageGIF::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    CxGifWriter out(file);
    bool written = true;
    if (GetBpp() > 8) {
        written = encodeMosaic(out, *this, comment_);
    } else if (GetFrameCount() > 1) {
        const CxImage* first = GetFrame(0);
        if (!first) {
            SetLastError("multipage GIF, no images!");
            return false;
        }
        for (int32_t i = 0; i < GetFrameCount(); i++) {
            const CxImage* frame = GetFrame(i);
            const char* refusal = !frame                 ? "Bad image pointer"
                                  : !frame->HasPixels()  ? "Empty image"
                                  : !frame->HasPalette() ? "CxImageGIF::Encode cannot create animated GIFs with a "
                                                           "true color frame. Use DecreaseBpp before"
                                                         : nullptr;
            if (refusal) {
                SetLastError(refusal);
                return false;
            }
        }
        CxImage working;
        working.MakeGhostOf(first);
        out.header(working);
        if (loops_ != 1)
            out.loopExtension(loops_);
        out.graphicControl(working, GetDisposalMethod());
        out.comment(comment_);
        out.body(working, false, CodecOption(kCxFormatGif));
        for (int32_t i = 1; i < GetFrameCount(); i++) {
            working.MakeGhostOf(GetFrame(i));
            out.graphicControl(working, GetDisposalMethod());
            out.body(working, false, CodecOption(kCxFormatGif));
        }
        out.trailer();
    } else {
        out.header(*this);
        out.graphicControl(*this, GetDisposalMethod());
        out.comment(comment_);
        out.body(*this, false, CodecOption(kCxFormatGif));
        out.trailer();
    }
    if (!written) {
        SetLastError("CxImage::Create can't allocate memory");
        return false;
    }
    if (!out.succeeded() || !file->Flush() || file->Error() != 0) {
        SetLastError("Write Error in GIF file");
        return false;
    }
    return true;
}
