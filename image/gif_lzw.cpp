// The GIF compressor: LZW over an open-addressing hash of 5003 slots keyed by
// (pixel << 12) + prefix, or (codec option 1) every pixel as a code of its own.
#include "image/gif_writer.h"

namespace {

constexpr int kHashSize = 5003;
constexpr int kHashShift = 4; // 5003 doubles 4 times below 65536: 8 - 4
constexpr int kMaxCodes = 4096;
constexpr uint32_t kMasks[17] = {0x0000, 0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F, 0x007F, 0x00FF,
                                 0x01FF, 0x03FF, 0x07FF, 0x0FFF, 0x1FFF, 0x3FFF, 0x7FFF, 0xFFFF};

// Palette indices in file order: columns left to right, rows from the top.
class PixelCursor {
public:
    explicit PixelCursor(const CxImage& image)
        : image_(image), y_(image.GetHeight() - 1), left_(int64_t(image.GetWidth()) * image.GetHeight()),
          bytes_(image.GetBpp() == 8 ? image.RowPointer(y_) : nullptr)
    {
    }
    bool next(int& pixel)
    {
        if (left_ <= 0)
            return false;
        left_--;
        pixel = bytes_ ? bytes_[x_] : image_.PixelIndexAtUnchecked(x_, y_);
        if (++x_ == image_.GetWidth()) {
            x_ = 0;
            y_--;
            if (bytes_ && y_ >= 0)
                bytes_ = image_.RowPointer(y_);
        }
        return true;
    }

private:
    const CxImage& image_;
    int64_t x_ = 0;
    int64_t y_;
    int64_t left_;
    const uint8_t* bytes_; // the row of an 8-bit image
};

class Compressor {
public:
    Compressor(CxGifWriter& out, int initialBits) : out_(out), initialBits_(initialBits)
    {
        clearCode_ = 1 << (initialBits - 1);
        endCode_ = clearCode_ + 1;
        freeCode_ = clearCode_ + 2;
        bits_ = initialBits;
        maxCode_ = (1 << bits_) - 1;
    }

    void lzw(PixelCursor& pixels);
    void unmatched(PixelCursor& pixels);

private:
    void clearHash()
    {
        for (int32_t& key : keys_)
            key = -1;
    }
    void output(int code);
    void byteOut(uint8_t byte)
    {
        block_[fill_++] = byte;
        if (fill_ >= 254)
            flushBlock();
    }
    void flushBlock()
    {
        if (fill_ > 0) {
            out_.put(static_cast<uint8_t>(fill_));
            out_.write(block_, size_t(fill_));
            fill_ = 0;
        }
    }

    CxGifWriter& out_;
    int initialBits_;
    int bits_;
    int maxCode_;
    int freeCode_;
    int clearCode_;
    int endCode_;
    bool clearFlag_ = false;
    uint32_t accumulator_ = 0;
    int accumulatorBits_ = 0;
    int fill_ = 0;
    uint8_t block_[256] = {};
    int32_t keys_[kHashSize];
    uint16_t codes_[kHashSize] = {};
};

void Compressor::output(int code)
{
    accumulator_ &= kMasks[accumulatorBits_];
    accumulator_ = accumulatorBits_ > 0 ? accumulator_ | uint32_t(code) << accumulatorBits_ : uint32_t(code);
    accumulatorBits_ += bits_;
    while (accumulatorBits_ >= 8) {
        byteOut(static_cast<uint8_t>(accumulator_));
        accumulator_ >>= 8;
        accumulatorBits_ -= 8;
    }
    if (freeCode_ > maxCode_ || clearFlag_) {
        if (clearFlag_) {
            bits_ = initialBits_;
            maxCode_ = (1 << bits_) - 1;
            clearFlag_ = false;
        } else {
            bits_++;
            maxCode_ = bits_ == 12 ? kMaxCodes : (1 << bits_) - 1;
        }
    }
    if (code == endCode_) {
        while (accumulatorBits_ > 0) {
            byteOut(static_cast<uint8_t>(accumulator_));
            accumulator_ >>= 8;
            accumulatorBits_ -= 8;
        }
        flushBlock();
        if (!out_.file()->Flush() || out_.file()->Error() != 0)
            out_.fail();
    }
}

void Compressor::lzw(PixelCursor& pixels)
{
    clearHash();
    int prefix;
    if (!pixels.next(prefix))
        prefix = 0;
    output(clearCode_);
    int c;
    while (pixels.next(c)) {
        const int32_t key = (int32_t(c) << 12) + prefix;
        int i = (c << kHashShift) ^ prefix;
        if (keys_[i] == key) {
            prefix = codes_[i];
            continue;
        }
        bool found = false;
        if (keys_[i] >= 0) {
            const int step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0)
                    i += kHashSize;
                if (keys_[i] == key) {
                    found = true;
                    break;
                }
            } while (keys_[i] > 0);
        }
        if (found) {
            prefix = codes_[i];
            continue;
        }
        output(prefix);
        if (freeCode_ < kMaxCodes) {
            codes_[i] = static_cast<uint16_t>(freeCode_++);
            keys_[i] = key;
        } else {
            clearHash();
            freeCode_ = clearCode_ + 2;
            clearFlag_ = true;
            output(clearCode_);
        }
        prefix = c;
    }
    output(prefix);
    output(endCode_);
}

void Compressor::unmatched(PixelCursor& pixels)
{
    output(clearCode_);
    int c;
    while (pixels.next(c)) {
        output(c);
        if (freeCode_ < kMaxCodes) {
            freeCode_++;
        } else {
            freeCode_ = clearCode_ + 2;
            clearFlag_ = true;
            output(clearCode_);
        }
    }
    output(endCode_);
}

} // namespace

void cxGifCompress(CxGifWriter& out, const CxImage& image, int initialBits, uint32_t codecOption)
{
    Compressor compressor(out, initialBits);
    PixelCursor pixels(image);
    if (codecOption == 1)
        compressor.unmatched(pixels);
    else
        compressor.lzw(pixels);
}
