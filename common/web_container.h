#pragma once
// What litehtml asks of the program while it lays out and draws a help page:
// fonts and text from the platform's font catalog (texts become Windows-1252
// for the platform text layer), boxes, borders and list markers on the
// platform canvas, style sheets and PNG images from the help archive, and
// nothing from anywhere else. No scripts run: litehtml has no engine and
// this container makes no elements of its own. GUI thread only.

#include "platform/graphics/font.h"
#include "platform/graphics/image.h"
#include "platform/window.h"

#include <litehtml/litehtml.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace help {
class Archive;
}
namespace platform {
class FontCatalog;
}

namespace web {

// Our own default styles of HTML's elements (litehtml packages none).
const char* masterStyleSheet();

// litehtml's drawing handle: the image drawn into, the clip of the draw and
// the clips litehtml adds on the way.
struct DrawTarget {
    platform::Image* image = nullptr;
    platform::Rect clip;
    std::vector<platform::Rect> clips;

    const platform::Rect& currentClip() const { return clips.empty() ? clip : clips.back(); }
};

class WebContainer final : public litehtml::document_container {
public:
    explicit WebContainer(platform::FontCatalog& fonts);
    ~WebContainer();

    // Where style sheets and images come from: an archive page's folder.
    // The archive must outlive the documents laid out meanwhile.
    void setSource(const help::Archive* archive, std::string page);
    // Pictures are kept by archive path until the archive changes.
    void forgetPictures() { pictures_.clear(); }
    // The client area that media queries and percentages see.
    void setViewSize(int32_t width, int32_t height);

    // The draw under way, which set_clip and del_clip work on.
    void setDrawTarget(DrawTarget* target) { drawing_ = target; }

    const std::string& caption() const { return caption_; }
    // The cursor the element under the pointer asks for.
    platform::Cursor cursor() const { return cursor_; }
    // The link clicked during the last mouse call, handed out once: the
    // caller follows it after litehtml has returned, as following it replaces
    // the document litehtml is still in.
    std::optional<std::string> takeClickedLink();

    // litehtml's side.
    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
                                   unsigned int decoration, litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr font) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override { return pt * 96 / 72; }
    int get_default_font_size() const override { return 16; }
    const litehtml::tchar_t* get_default_font_name() const override { return "sans-serif"; }
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redrawOnReady) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& drawPos,
                      bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t*) override {}
    void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius, bool validX,
                  bool validY) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t*, const litehtml::string_map&,
                                                      const std::shared_ptr<litehtml::document>&) override
    {
        return nullptr;
    }
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    // Premultiplied ARGB, as Cairo decodes PNG.
    struct Picture {
        int32_t width = 0;
        int32_t height = 0;
        std::vector<uint32_t> pixels;
    };

    // The archive path of a reference made in `base` (the page when empty).
    std::optional<std::string> archivePath(const std::string& reference, const std::string& base) const;
    const Picture* picture(const std::string& src, const std::string& baseurl);
    // The picture scaled to `place` (nearest pixel), over what is there,
    // inside `clip`.
    void drawPicture(DrawTarget& target, const Picture& picture, const platform::Rect& place,
                     const platform::Rect& clip) const;

    platform::FontCatalog& catalog_;
    const help::Archive* archive_ = nullptr;
    std::string page_;
    int32_t viewWidth_ = 0;
    int32_t viewHeight_ = 0;
    std::vector<std::shared_ptr<const platform::Font>> fonts_;   // handle - 1
    std::map<std::string, std::optional<Picture>> pictures_;    // by archive path; none when unreadable
    std::string caption_;
    platform::Cursor cursor_ = platform::Cursor::Arrow;
    std::optional<std::string> clicked_;
    DrawTarget* drawing_ = nullptr;   // the target of the draw under way, for set_clip
};

} // namespace web
