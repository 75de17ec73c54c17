#include "platform/graphics/font.h"

#include "platform/graphics/windows1252.h"

#include <algorithm>
#include <cairo-ft.h>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace platform {

namespace {

constexpr double kDefaultEm = 12.0;

// What FreeType's tables say, in font units.
struct FaceTables {
    double unitsPerEm = 2048;
    double cellHeight = 0;       // winAscent + winDescent, as GDI's cell
    double averageWidth = 0;     // xAvgCharWidth
    double underlinePosition = 0;
    double underlineThickness = 0;
    double strikeOutPosition = 0;
};

FaceTables readTables(cairo_font_face_t* face, cairo_font_options_t* options)
{
    FaceTables tables;
    cairo_matrix_t unit;
    cairo_matrix_init_scale(&unit, 1, 1);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_scaled_font_t* probe = cairo_scaled_font_create(face, &unit, &identity, options);
    if (FT_Face ft = cairo_ft_scaled_font_lock_face(probe)) {
        tables.unitsPerEm = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
        tables.cellHeight = ft->ascender - ft->descender;
        tables.underlinePosition = ft->underline_position;
        tables.underlineThickness = ft->underline_thickness;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF) {
            if (os2->usWinAscent + os2->usWinDescent > 0)
                tables.cellHeight = os2->usWinAscent + os2->usWinDescent;
            tables.averageWidth = os2->xAvgCharWidth;
            tables.strikeOutPosition = os2->yStrikeoutPosition;
        }
        cairo_ft_scaled_font_unlock_face(probe);
    }
    cairo_scaled_font_destroy(probe);
    return tables;
}

// A matched pattern without fontconfig's render settings: ours are fixed.
void dropRenderSettings(FcPattern* pattern)
{
    for (const char* object : {FC_ANTIALIAS, FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT, FC_RGBA, FC_LCD_FILTER,
                               FC_EMBOLDEN, FC_EMBEDDED_BITMAP, FC_VERTICAL_LAYOUT, FC_MATRIX})
        FcPatternDel(pattern, object);
}

cairo_font_options_t* fixedOptions()
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    return options;
}

int32_t roundPixels(double value) { return int32_t(std::lround(value)); }

} // namespace

Font::~Font()
{
    if (scaled_)
        cairo_scaled_font_destroy(scaled_);
}

int32_t Font::measure(std::string_view text) const
{
    int32_t width = 0;
    for (char c : text) {
        if (c == '\0')
            break;
        width += advance_[static_cast<unsigned char>(c)];
    }
    return width;
}

std::shared_ptr<const Font> Font::fromMatch(const FontRequest& request, FcPattern* match)
{
    std::shared_ptr<Font> font(new Font);
    font->request_ = request;
    if (!match)
        return font;   // no font at all on this machine: draws nothing, measures 0

    dropRenderSettings(match);
    FcChar8* matchedFamily = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch)
        font->family_ = reinterpret_cast<const char*>(matchedFamily);
    int matchedWeight = FC_WEIGHT_REGULAR;
    int matchedSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
    FcPatternGetInteger(match, FC_SLANT, 0, &matchedSlant);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
    // A file that went away since it was registered gives cairo's error face,
    // which takes no settings.
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        return nullptr;
    }

    // GDI makes up bold and italic for faces that lack them.
    unsigned int synthesize = 0;
    if (request.weight >= 600 && matchedWeight < FC_WEIGHT_DEMIBOLD)
        synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
    if (request.italic && matchedSlant == FC_SLANT_ROMAN)
        synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
    cairo_ft_font_face_set_synthesize(face, synthesize);

    cairo_font_options_t* options = fixedOptions();
    const FaceTables tables = readTables(face, options);
    double emY = kDefaultEm;
    if (request.height < 0)
        emY = -double(request.height);
    else if (request.height > 0 && tables.cellHeight > 0)
        emY = request.height * tables.unitsPerEm / tables.cellHeight;
    double emX = emY;
    if (request.width > 0 && tables.averageWidth > 0)
        emX = request.width * tables.unitsPerEm / tables.averageWidth;

    cairo_matrix_t size;
    cairo_matrix_init_scale(&size, emX, emY);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    font->scaled_ = cairo_scaled_font_create(face, &size, &identity, options);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(face);
    if (cairo_scaled_font_status(font->scaled_) != CAIRO_STATUS_SUCCESS)
        return nullptr;   // the destructor lets the error font go

    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font->scaled_, &extents);
    FontMetrics& m = font->metrics_;
    m.ascent = roundPixels(extents.ascent);
    m.descent = roundPixels(extents.descent);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - roundPixels(emY));
    m.maxCharWidth = roundPixels(extents.max_x_advance);

    for (int c = 0x20; c < 256; ++c) {
        const std::string text = windows1252ToUtf8(std::string(1, char(c)));
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        if (cairo_scaled_font_text_to_glyphs(font->scaled_, 0, 0, text.data(), int(text.size()), &glyphs, &count,
                                             nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS && count > 0) {
            cairo_text_extents_t glyphExtents;
            cairo_scaled_font_glyph_extents(font->scaled_, glyphs, 1, &glyphExtents);
            font->glyph_[c] = glyphs[0].index;
            font->advance_[c] = roundPixels(glyphExtents.x_advance);
        }
        cairo_glyph_free(glyphs);
    }
    m.averageCharWidth = request.width > 0           ? request.width
                         : tables.averageWidth > 0 ? roundPixels(tables.averageWidth * emX / tables.unitsPerEm)
                                                     : font->advance_['x'];

    const double scale = emY / tables.unitsPerEm;
    font->lineThickness_ = std::max(1, roundPixels(tables.underlineThickness * scale));
    font->underlineOffset_ = std::max(1, roundPixels(-tables.underlinePosition * scale - font->lineThickness_ / 2.0));
    if (font->underlineOffset_ + font->lineThickness_ > m.descent)
        font->underlineOffset_ = std::max(0, m.descent - font->lineThickness_);
    font->strikeOutOffset_ = tables.strikeOutPosition > 0 ? -roundPixels(tables.strikeOutPosition * scale)
                                                          : -std::max(1, m.ascent / 3);
    return font;
}

} // namespace platform
