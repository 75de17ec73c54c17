#pragma once
// The pieces of a GIF file, written through one CxFile that remembers whether
// any write fell short.

#include "image/cx_image.h"

class CxGifWriter {
public:
    explicit CxGifWriter(CxFile* file) : file_(file) {}

    void put(uint8_t byte);
    void put16(uint32_t value);
    void write(const void* bytes, size_t size);

    // "GIF89a", the logical screen of `image`'s size and its palette as the
    // global colour table (none for a true-colour image).
    void header(const CxImage& image);
    void graphicControl(const CxImage& image, uint8_t disposal);
    void comment(const char* text);
    void loopExtension(int32_t loops);
    // Image descriptor, optional local colour table, compressed indices
    // (codec option 1: codes without matching; anything else: LZW) and the
    // block terminator.
    void body(const CxImage& image, bool localColorTable, uint32_t codecOption);
    void trailer() { put(0x3B); }

    // False when any write fell short or the file reports an error.
    bool succeeded() const { return !failed_; }
    CxFile* file() const { return file_; }
    void fail() { failed_ = true; }

private:
    void colorTable(const CxImage& image);

    CxFile* file_;
    bool failed_ = false;
};

// Compresses the image's indices, top row first, as GIF sub-blocks of at most
// 254 bytes. Uses no heap.
void cxGifCompress(CxGifWriter& out, const CxImage& image, int initialBits, uint32_t codecOption);
