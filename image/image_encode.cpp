// Encode picks the encoder of a format and runs it on a ghost of the image;
// Save does the same into a named file.
#include "image/cx_io_file.h"
#include "image/encoders.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

bool cxWriteAll(CxFile* file, const void* bytes, size_t size)
{
    return size == 0 || file->Write(bytes, 1, size) == size;
}

bool CxImage::CheckEncodeArguments(CxFile* file)
{
    if (!file) {
        SetLastError("null file handler");
        return false;
    }
    if (!dib_) {
        SetLastError("null image!!!");
        return false;
    }
    return true;
}

namespace {

template <class Encoder>
bool encodeWith(CxImage& image, CxFile* file, CxImage*& used)
{
    auto* encoder = new Encoder;
    encoder->MakeGhostOf(&image);
    used = encoder;
    return encoder->Encode(file);
}

} // namespace

bool CxImage::Encode(CxFile* file, int format)
{
    CxImage* encoder = nullptr;
    bool encoded;
    switch (format) {
    case kCxFormatBmp: encoded = encodeWith<CxImageBMP>(*this, file, encoder); break;
    case kCxFormatGif: encoded = encodeWith<CxImageGIF>(*this, file, encoder); break;
    case kCxFormatJpg: encoded = encodeWith<CxImageJPG>(*this, file, encoder); break;
    case kCxFormatIco: encoded = encodeWith<CxImageICO>(*this, file, encoder); break;
    case kCxFormatPcx: encoded = encodeWith<CxImagePCX>(*this, file, encoder); break;
    case kCxFormatWbmp: encoded = encodeWith<CxImageWBMP>(*this, file, encoder); break;
    case kCxFormatWmf: encoded = encodeWith<CxImageWMF>(*this, file, encoder); break;
    default: SetLastError("Encode: Unknown format"); return false;
    }
    if (!encoded)
        SetLastError(encoder->GetLastError());
    delete encoder;
    return encoded;
}

bool CxImage::Save(const char* fileName, int format)
{
    if (!fileName)
        return false;
    FILE* stream = std::fopen(fileName, "wb");
    if (!stream)
        return false;
    bool saved;
    {
        CxIOFile file(stream);
        saved = Encode(&file, format);
    }
    if (std::fclose(stream) != 0)
        saved = false;
    // A half-written file is worse than none; only a plain file is removed.
    struct stat status;
    if (!saved && stat(fileName, &status) == 0 && S_ISREG(status.st_mode))
        std::remove(fileName);
    return saved;
}

bool CxImageWMF::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    SetLastError("Save WMF not supported");
    return false;
}
