// JPEG through libjpeg: three components, or one for a grey-ramp palette
// image, written through a CxFile. libjpeg reports errors by longjmp, so the
// compressing function holds no C++ object and no exception crosses libjpeg.
#include "image/encoders.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr size_t kBufferSize = 4096;

struct Destination {
    jpeg_destination_mgr manager;
    CxFile* file;
    JOCTET buffer[kBufferSize];
};

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void initDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->manager.next_output_byte = d->buffer;
    d->manager.free_in_buffer = kBufferSize;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    if (d->file->Write(d->buffer, 1, kBufferSize) != kBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    initDestination(cinfo);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    const size_t used = kBufferSize - d->manager.free_in_buffer;
    if (used > 0 && d->file->Write(d->buffer, 1, used) != used)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    if (!d->file->Flush() || d->file->Error() != 0)
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void errorExit(j_common_ptr cinfo)
{
    auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, trap->message);
    std::longjmp(trap->jump, 1);
}

void silent(j_common_ptr) {}

// One row of samples for libjpeg: grey values (one index per pixel, whatever
// the depth) or red, green, blue.
void fillRow(const CxImage& image, int64_t y, bool grey, JSAMPLE* out)
{
    const int64_t width = image.GetWidth();
    if (grey) {
        for (int64_t x = 0; x < width; x++)
            out[x] = image.PixelIndexAtUnchecked(x, y);
        return;
    }
    const uint8_t* in = image.RowPointer(y);
    for (int64_t x = 0; x < width; x++) {
        out[x * 3] = in[x * 3 + 2];
        out[x * 3 + 1] = in[x * 3 + 1];
        out[x * 3 + 2] = in[x * 3];
    }
}

uint16_t density(int32_t dpi)
{
    return static_cast<uint16_t>(dpi > 65535 ? 65535 : dpi);
}

// Everything that libjpeg may jump out of lives in plain C records owned by
// the caller.
bool compress(jpeg_compress_struct* cinfo, ErrorTrap* trap, Destination* destination, const CxImage* image,
              bool grey, JSAMPLE* row)
{
    cinfo->err = jpeg_std_error(&trap->manager);
    trap->manager.error_exit = errorExit;
    trap->manager.output_message = silent;
    if (setjmp(trap->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    destination->manager.init_destination = initDestination;
    destination->manager.empty_output_buffer = emptyOutputBuffer;
    destination->manager.term_destination = termDestination;
    cinfo->dest = &destination->manager;

    const uint32_t option = image->CodecOption(kCxFormatJpg);
    cinfo->image_width = JDIMENSION(image->GetWidth());
    cinfo->image_height = JDIMENSION(image->GetHeight());
    cinfo->input_components = grey ? 1 : 3;
    cinfo->in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, image->GetJpegQuality(), (option & 1) ? TRUE : FALSE);
    if (option & 2)
        cinfo->optimize_coding = TRUE;
    if (option & 8)
        cinfo->dct_method = JDCT_IFAST;
    if (option & 16)
        cinfo->dct_method = JDCT_FLOAT;
    if (option & 64)
        cinfo->smoothing_factor = 50;
    if (!grey) {
        const int horizontal = (option & 0x2000) ? 1 : 2;
        const int vertical = (option & 0x3000) ? 1 : 2;
        cinfo->comp_info[0].h_samp_factor = horizontal;
        cinfo->comp_info[0].v_samp_factor = vertical;
        for (int c = 1; c < 3; c++)
            cinfo->comp_info[c].h_samp_factor = cinfo->comp_info[c].v_samp_factor = 1;
    }
    if (option & 4)
        jpeg_simple_progression(cinfo);
    cinfo->write_JFIF_header = TRUE;
    cinfo->density_unit = 1;
    cinfo->X_density = density(image->GetXDpi());
    cinfo->Y_density = density(image->GetYDpi());

    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        fillRow(*image, int64_t(image->GetHeight()) - 1 - cinfo->next_scanline, grey, row);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

} // namespace

bool CxImageJPG::IsGreyRamp() const
{
    if (!HasPalette())
        return false;
    for (uint32_t i = 0; i < GetColorsUsed(); i++) {
        const CxColor c = PaletteColor(static_cast<uint8_t>(i));
        if (c.red != i || c.green != i || c.blue != i)
            return false;
    }
    return true;
}

bool CxImageJPG::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    const bool grey = IsGreyRamp();
    if (GetBpp() != 24 && !grey) {
        SetLastError("JPEG can save only RGB or GreyScale images");
        return false;
    }
    auto cinfo = std::make_unique<jpeg_compress_struct>();
    auto trap = std::make_unique<ErrorTrap>();
    auto destination = std::make_unique<Destination>();
    std::unique_ptr<JSAMPLE[]> row(new (std::nothrow) JSAMPLE[size_t(GetWidth()) * 3]);
    if (!row) {
        SetLastError("CxImage::Create can't allocate memory");
        return false;
    }
    destination->file = file;
    if (!compress(cinfo.get(), trap.get(), destination.get(), this, grey, row.get())) {
        SetLastError(trap->message);
        return false;
    }
    return true;
}
