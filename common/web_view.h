#pragma once
// A help page shown in part of a window: laid out by litehtml, drawn into the
// window's own image, scrolled by the wheel, its links followed. Pages, style
// sheets and images come from the help archive alone; no script runs.
// Loading is synchronous, but the view counts as loading until the window has
// handed it the notice it posts itself, so that a caller sees the page
// complete on the next pass of the window system, as a browser reports it.
//
// Addresses: "<archive>::/<page>[#fragment]" opens in place; "about:blank" is
// the empty page; "app:N" blanks the page and posts kAppLinkMessage with N to
// the window; http and https go to the desktop's browser (xdg-open); any
// other scheme does nothing.
//
// The window's handler hands every message to handleMessage first. GUI thread
// only; one view per window.

#include "platform/graphics/geometry.h"
#include "platform/window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace help {
class Archive;
}
namespace litehtml {
class context;
class document;
class element;
}

namespace web {

class WebContainer;

// Posted (platform/posted_message.h) to the window for "app:N", with N.
constexpr uint32_t kAppLinkMessage = 0x8000;
// The view's own notice that the page is complete.
constexpr uint32_t kPageCompleteNotice = 0x8001;

enum class Navigation : uint8_t {
    shown,        // a page of the archive, the blank page, or an error page
    appLink,      // blanked; the window was told the number
    handedOver,   // the desktop's browser was asked
    ignored,      // a scheme we do not follow, or a browser that would not start
    badAddress,   // not an address at all
};

struct Margins {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class WebView {
public:
    // Shows the blank page in `area` (client coordinates of the window).
    WebView(platform::Window& window, const platform::Rect& area);
    ~WebView();
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    platform::Window& window() const { return window_; }
    const platform::Rect& area() const { return area_; }
    // Lays the page out again for the new width.
    void setArea(const platform::Rect& area);

    // Follows an address, as typed or as a link of the current page. A page
    // the archive lacks shows an error page (and `pageMissing()` is true).
    Navigation navigate(std::string_view address);
    bool isLoading() const { return loading_; }
    bool pageMissing() const { return missing_; }
    // Hands the window's messages in: paints (then false, so the window
    // paints the rest), the mouse and wheel in the area, and the view's own
    // notice. True when the view took the message.
    bool handleMessage(platform::WindowMessage& message);

    // The pages shown before, newest last (the viewer's Back).
    bool canGoBack() const { return !history_.empty(); }
    bool goBack();

    // The address shown ("about:blank" for the blank page), its archive page
    // (empty for the blank page) and its title (Windows-1252).
    const std::string& address() const { return address_; }
    const std::string& page() const { return page_; }
    const std::string& title() const;

    // What the help popup asks of the document: the body's margins, the
    // first table's border box (document coordinates; empty without a
    // table), and an element shown in another way: the page is laid out
    // again with "display" of the element whose id is `id` overridden, until
    // the next page. False when no element has that id.
    Margins bodyMargins() const;
    platform::Rect firstTableBox() const;
    bool setElementDisplay(std::string_view id, std::string_view display);
    // The laid-out page's size.
    int32_t documentWidth() const;
    int32_t documentHeight() const;

    int32_t scrollY() const { return scrollY_; }
    // Kept between the top and the end of the page.
    void scrollTo(int32_t y);
    void scrollBy(int32_t dy) { scrollTo(scrollY_ + dy); }

    // Draws the area's part of `damaged` (client coordinates) into the window's image.
    void paint(const platform::Rect& damaged);

    // At the right of the area while the page is taller than the area.
    static constexpr int32_t kScrollBarWidth = 10;

private:
    void show(std::string address, std::string page, std::string html, std::string_view fragment);
    // Makes the document from the markup and the overrides, then lays it out.
    void build();
    void layOut();
    void load(const std::string& address, bool remember);
    Navigation follow(std::string_view address, bool remember);
    void followClickedLink();
    void scrollToFragment(std::string_view fragment);
    bool onMouse(const platform::WindowMessage& message);
    void invalidate();
    bool scrolls() const;
    platform::Rect scrollBar() const;
    platform::Rect scrollThumb() const;
    litehtml::element* findById(std::string_view id) const;

    platform::Window& window_;
    platform::Rect area_;
    std::unique_ptr<help::Archive> archive_;
    std::string archivePath_;
    std::unique_ptr<WebContainer> container_;
    std::unique_ptr<litehtml::context> context_;
    std::shared_ptr<litehtml::document> document_;
    std::string html_;                 // the page's markup, kept to lay it out again
    std::string overrides_;            // style rules set by setElementDisplay
    std::string address_;
    std::string page_;
    std::vector<std::string> history_;
    int32_t scrollY_ = 0;
    bool loading_ = false;
    bool missing_ = false;
    bool pointerInside_ = false;
};

} // namespace web
