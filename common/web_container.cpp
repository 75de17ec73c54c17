#include "common/web_container.h"

#include "common/help_address.h"
#include "common/help_archive.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"
#include "platform/graphics/windows1252.h"

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace web {

namespace {

using platform::Colour;
using platform::Rect;

Rect toRect(const litehtml::position& p)
{
    return platform::rectOfSize(p.x, p.y, p.width, p.height);
}

Colour toColour(const litehtml::web_color& c)
{
    return platform::rgb(c.red, c.green, c.blue);
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The first family of a CSS list, unquoted and trimmed.
std::string firstFamily(const char* list)
{
    std::string family(list ? list : "");
    family = family.substr(0, family.find(','));
    const auto blank = [](unsigned char c) { return std::isspace(c) || c == '"' || c == '\''; };
    while (!family.empty() && blank(static_cast<unsigned char>(family.back())))
        family.pop_back();
    size_t start = 0;
    while (start < family.size() && blank(static_cast<unsigned char>(family[start])))
        ++start;
    return lowerCase(family.substr(start));
}

// Our faces for CSS families: the product font (monospace) where it is
// registered, Arial's stand-in for the rest.
std::string faceFor(platform::FontCatalog& catalog, const char* list)
{
    const std::string family = firstFamily(list);
    if (family == "monospace" || family == "courier" || family == "courier new" || family == "quorbel")
        return catalog.matchFamily("Quorbel") == "Quorbel" ? "Quorbel" : "DejaVu Sans";
    return "Arial";
}

// Reads a PNG from memory through Cairo.
struct PngSource {
    const std::string* bytes;
    size_t at = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length)
{
    auto* source = static_cast<PngSource*>(closure);
    if (source->bytes->size() - source->at < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source->bytes->data() + source->at, length);
    source->at += length;
    return CAIRO_STATUS_SUCCESS;
}

// A filled circle (or a ring) in a box, by pixel centres.
void disc(platform::Canvas& canvas, const Rect& box, Colour colour, bool ring)
{
    const double r = std::min(box.width(), box.height()) / 2.0;
    const double cx = box.left + box.width() / 2.0;
    const double cy = box.top + box.height() / 2.0;
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d2 = dx * dx + dy * dy;
            if (d2 <= r * r && (!ring || d2 >= (r - 1.2) * (r - 1.2)))
                canvas.setPixel({x, y}, colour);
        }
}

} // namespace

WebContainer::WebContainer(platform::FontCatalog& fonts) : catalog_(fonts) {}

WebContainer::~WebContainer() = default;

void WebContainer::setSource(const help::Archive* archive, std::string page)
{
    archive_ = archive;
    page_ = std::move(page);
    caption_.clear();
    clicked_.reset();
}

void WebContainer::setViewSize(int32_t width, int32_t height)
{
    viewWidth_ = width;
    viewHeight_ = height;
}

std::optional<std::string> WebContainer::takeClickedLink()
{
    std::optional<std::string> link = std::move(clicked_);
    clicked_.reset();
    return link;
}

litehtml::uint_ptr WebContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                             litehtml::font_style italic, unsigned int decoration,
                                             litehtml::font_metrics* fm)
{
    platform::FontRequest request;
    request.face = faceFor(catalog_, faceName);
    request.height = -std::clamp(size, 1, 400);
    request.weight = weight;
    request.italic = italic == litehtml::fontStyleItalic;
    request.underline = (decoration & litehtml::font_decoration_underline) != 0;
    request.strikeOut = (decoration & litehtml::font_decoration_linethrough) != 0;
    std::shared_ptr<const platform::Font> font = catalog_.open(request);
    if (fm) {
        const platform::FontMetrics& m = font->metrics();
        fm->ascent = m.ascent;
        fm->descent = m.descent;
        fm->height = m.height;
        fm->x_height = std::max(1, m.ascent - m.internalLeading) * 11 / 20;
        // Underlines run on under the blanks between words.
        fm->draw_spaces = request.underline || request.strikeOut || request.italic;
    }
    auto free = std::find(fonts_.begin(), fonts_.end(), nullptr);
    if (free == fonts_.end())
        free = fonts_.insert(fonts_.end(), nullptr);
    *free = std::move(font);
    return litehtml::uint_ptr(free - fonts_.begin()) + 1;
}

void WebContainer::delete_font(litehtml::uint_ptr font)
{
    if (font >= 1 && font <= fonts_.size())
        fonts_[font - 1].reset();
}

int WebContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font)
{
    if (font < 1 || font > fonts_.size() || !fonts_[font - 1] || !text)
        return 0;
    return fonts_[font - 1]->measure(platform::utf8ToWindows1252(text));
}

void WebContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                             litehtml::web_color color, const litehtml::position& pos)
{
    auto* target = reinterpret_cast<DrawTarget*>(hdc);
    if (!target || font < 1 || font > fonts_.size() || !fonts_[font - 1] || !text)
        return;
    const platform::Font& face = *fonts_[font - 1];
    platform::Canvas canvas(*target->image);
    canvas.setClip(target->currentClip());
    platform::TextPaint paint;
    paint.colour = toColour(color);
    // The line box gives the bottom; the cell's top is an ascent above the baseline.
    const int32_t baseline = pos.bottom() - face.metrics().descent;
    platform::drawText(canvas, face, platform::utf8ToWindows1252(text), {pos.x, baseline - face.metrics().ascent},
                       paint);
}

void WebContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
    auto* target = reinterpret_cast<DrawTarget*>(hdc);
    if (!target)
        return;
    platform::Canvas canvas(*target->image);
    canvas.setClip(target->currentClip());
    const Rect box = toRect(marker.pos);
    if (!marker.image.empty()) {
        if (const Picture* p = picture(marker.image, marker.baseurl ? marker.baseurl : ""))
            drawPicture(*target, *p, platform::rectOfSize(box.left, box.top, p->width, p->height),
                        target->currentClip());
        return;
    }
    switch (marker.marker_type) {
    case litehtml::list_style_type_square:
        canvas.fillRect(box, toColour(marker.color));
        break;
    case litehtml::list_style_type_circle:
        disc(canvas, box, toColour(marker.color), true);
        break;
    case litehtml::list_style_type_none:
        break;
    default:
        disc(canvas, box, toColour(marker.color), false);
        break;
    }
}

std::optional<std::string> WebContainer::archivePath(const std::string& reference, const std::string& base) const
{
    const help::Link link = help::resolveLink(base.empty() ? page_ : base, reference);
    if (link.kind != help::LinkKind::page)
        return std::nullopt;
    return link.page;
}

const WebContainer::Picture* WebContainer::picture(const std::string& src, const std::string& baseurl)
{
    const std::optional<std::string> path = archivePath(src, baseurl);
    if (!path || !archive_)
        return nullptr;
    auto known = pictures_.find(*path);
    if (known != pictures_.end())
        return known->second ? &*known->second : nullptr;
    std::optional<Picture>& slot = pictures_[*path];
    std::string bytes;
    if (!archive_->read(*path, bytes))
        return nullptr;
    PngSource source{&bytes};
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(readPng, &source);
    if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(png);
        Picture decoded;
        decoded.width = cairo_image_surface_get_width(png);
        decoded.height = cairo_image_surface_get_height(png);
        const int stride = cairo_image_surface_get_stride(png) / 4;
        const bool alpha = cairo_image_surface_get_format(png) == CAIRO_FORMAT_ARGB32;
        const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(png));
        if (data && decoded.width <= platform::Image::kMaxSide && decoded.height <= platform::Image::kMaxSide) {
            decoded.pixels.reserve(size_t(decoded.width) * size_t(decoded.height));
            for (int32_t y = 0; y < decoded.height; ++y)
                for (int32_t x = 0; x < decoded.width; ++x) {
                    const uint32_t p = data[size_t(y) * size_t(stride) + size_t(x)];
                    decoded.pixels.push_back(alpha ? p : (p | 0xFF000000u));
                }
            slot = std::move(decoded);
        }
    }
    cairo_surface_destroy(png);
    return slot ? &*slot : nullptr;
}

void WebContainer::drawPicture(DrawTarget& target, const Picture& p, const Rect& place, const Rect& clip) const
{
    const Rect shown = intersect(intersect(place, clip), target.image->bounds());
    if (shown.empty() || p.width <= 0 || p.height <= 0)
        return;
    uint32_t* pixels = target.image->mutablePixels();
    const int32_t stride = target.image->stride();
    for (int32_t y = shown.top; y < shown.bottom; ++y) {
        const int32_t sy = int32_t(int64_t(y - place.top) * p.height / place.height());
        for (int32_t x = shown.left; x < shown.right; ++x) {
            const int32_t sx = int32_t(int64_t(x - place.left) * p.width / place.width());
            const uint32_t src = p.pixels[size_t(sy) * size_t(p.width) + size_t(sx)];
            const uint32_t a = src >> 24;
            uint32_t& dst = pixels[size_t(y) * size_t(stride) + size_t(x)];
            if (a == 0xFF) {
                dst = src;
                continue;
            }
            // Over: the source is premultiplied.
            uint32_t out = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t s = (src >> shift) & 0xFF;
                const uint32_t d = (dst >> shift) & 0xFF;
                out |= std::min<uint32_t>(255, s + (d * (255 - a) + 127) / 255) << shift;
            }
            dst = out;
        }
    }
}

void WebContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool)
{
    if (src)
        picture(src, baseurl ? baseurl : "");
}

void WebContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz)
{
    const Picture* p = src ? picture(src, baseurl ? baseurl : "") : nullptr;
    sz.width = p ? p->width : 0;
    sz.height = p ? p->height : 0;
}

void WebContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
    auto* target = reinterpret_cast<DrawTarget*>(hdc);
    if (!target)
        return;
    const Rect clip = intersect(target->currentClip(), toRect(bg.clip_box));
    if (clip.empty())
        return;
    if (bg.color.alpha > 0) {
        platform::Canvas canvas(*target->image);
        canvas.setClip(clip);
        canvas.fillRect(clip, toColour(bg.color));
    }
    if (bg.image.empty())
        return;
    const Picture* p = picture(bg.image, bg.baseurl);
    if (!p)
        return;
    const int32_t w = bg.image_size.width > 0 ? bg.image_size.width : p->width;
    const int32_t h = bg.image_size.height > 0 ? bg.image_size.height : p->height;
    if (w <= 0 || h <= 0)
        return;
    const int32_t x0 = bg.position_x;
    const int32_t y0 = bg.position_y;
    const bool tileX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    const bool tileY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    // The first tile at or before the clip's edge, on the grid through the origin.
    const auto start = [](int32_t origin, int32_t edge, int32_t step) {
        const int32_t behind = edge - origin;
        return origin + (behind >= 0 ? behind / step : -((step - 1 - behind) / step)) * step;
    };
    const int32_t left = tileX ? start(x0, clip.left, w) : x0;
    const int32_t top = tileY ? start(y0, clip.top, h) : y0;
    const int32_t right = tileX ? clip.right : x0 + 1;
    const int32_t bottom = tileY ? clip.bottom : y0 + 1;
    for (int32_t y = top; y < bottom; y += h)
        for (int32_t x = left; x < right; x += w)
            drawPicture(*target, *p, platform::rectOfSize(x, y, w, h), clip);
}

void WebContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                const litehtml::position& drawPos, bool)
{
    auto* target = reinterpret_cast<DrawTarget*>(hdc);
    if (!target)
        return;
    platform::Canvas canvas(*target->image);
    canvas.setClip(target->currentClip());
    const Rect box = toRect(drawPos);
    const auto side = [&canvas](const litehtml::border& b, const Rect& strip) {
        if (b.width <= 0 || b.style == litehtml::border_style_none || b.style == litehtml::border_style_hidden ||
            b.color.alpha == 0)
            return;
        canvas.fillRect(strip, toColour(b.color));
    };
    side(borders.top, {box.left, box.top, box.right, box.top + borders.top.width});
    side(borders.bottom, {box.left, box.bottom - borders.bottom.width, box.right, box.bottom});
    side(borders.left, {box.left, box.top, box.left + borders.left.width, box.bottom});
    side(borders.right, {box.right - borders.right.width, box.top, box.right, box.bottom});
}

void WebContainer::set_caption(const litehtml::tchar_t* caption)
{
    caption_ = platform::utf8ToWindows1252(caption ? caption : "");
}

void WebContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&)
{
    if (url)
        clicked_ = std::string(url);
}

void WebContainer::set_cursor(const litehtml::tchar_t* cursor)
{
    cursor_ = cursor && std::strcmp(cursor, "pointer") == 0 ? platform::Cursor::Hand : platform::Cursor::Arrow;
}

void WebContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
    if (tt == litehtml::text_transform_uppercase)
        for (char& c : text)
            c = char(std::toupper(static_cast<unsigned char>(c)));
    else if (tt == litehtml::text_transform_lowercase)
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    else if (tt == litehtml::text_transform_capitalize && !text.empty())
        text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
}

void WebContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl)
{
    text.clear();
    const std::optional<std::string> path = archivePath(url, baseurl);
    if (!path || !archive_ || !archive_->read(*path, text))
        return;
    // References inside the sheet are relative to the sheet.
    baseurl = *path;
}

void WebContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool validX, bool validY)
{
    if (!drawing_)
        return;
    Rect clip = drawing_->currentClip();
    const Rect box = toRect(pos);
    if (validX) {
        clip.left = std::max(clip.left, box.left);
        clip.right = std::min(clip.right, box.right);
    }
    if (validY) {
        clip.top = std::max(clip.top, box.top);
        clip.bottom = std::min(clip.bottom, box.bottom);
    }
    drawing_->clips.push_back(clip.empty() ? Rect{} : clip);
}

void WebContainer::del_clip()
{
    if (drawing_ && !drawing_->clips.empty())
        drawing_->clips.pop_back();
}

void WebContainer::get_client_rect(litehtml::position& client) const
{
    client = litehtml::position(0, 0, viewWidth_, viewHeight_);
}

void WebContainer::get_media_features(litehtml::media_features& media) const
{
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = viewWidth_;
    media.height = media.device_height = viewHeight_;
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void WebContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
    language = "en";
    culture.clear();
}

} // namespace web
