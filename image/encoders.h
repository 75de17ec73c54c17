#pragma once
// The encoders behind CxImage::Encode. Each is an image made a ghost of the
// one to write (it shares the buffers, frees nothing) and writes through a
// CxFile; multi-byte fields are little-endian.

#include "image/cx_image.h"

class CxImageGIF : public CxImage {
public:
    CxImageGIF() : CxImage(kCxFormatGif) { info_.disposal = 0; }
    // False with a text in GetLastError on a refusal or a write error.
    bool Encode(CxFile* file);
    void SetLoops(int32_t loops) { loops_ = loops; }
    // Written as a comment extension, cut to 255 characters.
    void SetComment(const char* text);

private:
    char comment_[256] = {};
    int32_t loops_ = 0;
};

class CxImageBMP : public CxImage {
public:
    CxImageBMP() : CxImage(kCxFormatBmp) {}
    bool Encode(CxFile* file);
};

class CxImageJPG : public CxImage {
public:
    CxImageJPG() : CxImage(kCxFormatJpg) {}
    // Option bits (CodecOption of format 3): 0 baseline, 1 optimised coding,
    // 2 progressive, 3 fast integer transform, 4 float transform, 6 smoothing,
    // 12 luminance sampled 2 x 1, 13 sampled 1 x 1.
    bool Encode(CxFile* file);
    bool IsGreyRamp() const;
};

class CxImageICO : public CxImage {
public:
    CxImageICO() : CxImage(kCxFormatIco) {}
    bool Encode(CxFile* file);
};

class CxImagePCX : public CxImage {
public:
    CxImagePCX() : CxImage(kCxFormatPcx) {}
    bool Encode(CxFile* file);
};

class CxImageWBMP : public CxImage {
public:
    CxImageWBMP() : CxImage(kCxFormatWbmp) {}
    bool Encode(CxFile* file);
};

class CxImageWMF : public CxImage {
public:
    CxImageWMF() : CxImage(kCxFormatWmf) {}
    bool Encode(CxFile* file);
};

// Writes the whole buffer; false on a short write.
bool cxWriteAll(CxFile* file, const void* bytes, size_t size);
