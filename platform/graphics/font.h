#pragma once
// A font made from a LOGFONT-like request: Cairo and FreeType draw it with
// fixed options (grey antialiasing, slight hinting, hinted metrics), so the
// same request gives the same pixels on every machine with our fonts.
// Characters are Windows-1252 bytes; each has one glyph and a whole-pixel
// advance, looked up once when the font is made.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

typedef struct _cairo_scaled_font cairo_scaled_font_t;
typedef struct _FcPattern FcPattern;

namespace platform {

// The LOGFONT fields the program sets.
struct FontRequest {
    std::string face;      // "Arial", "Quorbel", ...
    int32_t height = 0;    // < 0: an em of -height pixels; > 0: ascent + descent; 0: a 12-pixel em
    int32_t width = 0;     // 0: the face's own; else the average character width in pixels
    int32_t weight = 400;  // 700 is bold; a face without bold is emboldened
    bool italic = false;   // a face without italic is slanted
    bool underline = false;
    bool strikeOut = false;
};

// TEXTMETRIC's values in pixels; there is never an overhang.
struct FontMetrics {
    int32_t height = 0;   // ascent + descent
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internalLeading = 0;
    int32_t averageCharWidth = 0;
    int32_t maxCharWidth = 0;
};

class Font {
public:
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font();

    const FontRequest& request() const { return request_; }
    // The family that the request was matched to ("Liberation Sans" for "Arial").
    const std::string& family() const { return family_; }
    const FontMetrics& metrics() const { return metrics_; }

    int32_t advance(unsigned char c) const { return advance_[c]; }
    // GetTextExtentPoint's width: the advances up to the first NUL.
    int32_t measure(std::string_view text) const;

    // For the platform's text drawing.
    cairo_scaled_font_t* scaledFont() const { return scaled_; }
    unsigned long glyph(unsigned char c) const { return glyph_[c]; }
    bool drawn(unsigned char c) const { return c >= 0x20; }
    // Top rows and thickness of the underline and strike-out, from the baseline down.
    int32_t underlineOffset() const { return underlineOffset_; }
    int32_t strikeOutOffset() const { return strikeOutOffset_; }
    int32_t lineThickness() const { return lineThickness_; }

    // From a pattern the catalog matched (not taken over); null gives a font
    // that draws nothing and measures 0. Null when the matched face cannot be
    // made (its file is gone or unreadable).
    static std::shared_ptr<const Font> fromMatch(const FontRequest& request, FcPattern* match);

private:
    Font() = default;

    FontRequest request_;
    std::string family_;
    FontMetrics metrics_;
    cairo_scaled_font_t* scaled_ = nullptr;
    std::array<unsigned long, 256> glyph_{};
    std::array<int32_t, 256> advance_{};
    int32_t underlineOffset_ = 1;
    int32_t strikeOutOffset_ = -3;
    int32_t lineThickness_ = 1;
};

} // namespace platform
