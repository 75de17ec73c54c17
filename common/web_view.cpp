#include "common/web_view.h"

#include "common/help_address.h"
#include "common/help_archive.h"
#include "common/web_container.h"
#include "platform/graphics/font_catalog.h"
#include "platform/posted_message.h"
#include "platform/system/helper_process.h"

#include <algorithm>
#include <cctype>

namespace web {

namespace {

using platform::Rect;

constexpr const char* kBlankAddress = "about:blank";
constexpr const char* kBlankPage = "<html><head></head><body></body></html>";

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

std::string missingPage(std::string_view page)
{
    return "<html><head><title>Page not found</title></head><body><h2>Page not found</h2><p>The help has no page \"" +
           escaped(page) + "\".</p></body></html>";
}

// Ids and display values that go into a style rule unquoted.
bool plainWord(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
}

bool hasScheme(std::string_view address)
{
    const size_t colon = address.find(':');
    return colon != std::string_view::npos && colon > 0 && address.find_first_of("/?#") > colon;
}

bool attributeIs(const litehtml::element& element, const char* name, std::string_view value)
{
    const char* own = element.get_attr(name);
    return own && value == own;
}

bool tagIs(const litehtml::element& element, std::string_view tag)
{
    const char* name = element.get_tagName();
    return name && tag == name;
}

// The first element, depth first, that matches.
template <typename Match>
litehtml::element* findElement(litehtml::element* at, const Match& match)
{
    if (!at)
        return nullptr;
    if (match(*at))
        return at;
    for (size_t i = 0; i < at->get_children_count(); ++i)
        if (litehtml::element* found = findElement(at->get_child(int(i)).get(), match))
            return found;
    return nullptr;
}

} // namespace

WebView::WebView(platform::Window& window, const Rect& area)
    : window_(window), area_(area), container_(std::make_unique<WebContainer>(platform::FontCatalog::process())),
      context_(std::make_unique<litehtml::context>())
{
    context_->load_master_stylesheet(masterStyleSheet());
    show(kBlankAddress, {}, kBlankPage, {});
}

WebView::~WebView()
{
    document_.reset();   // it calls back into the container as it goes
}

void WebView::setArea(const Rect& area)
{
    if (area == area_)
        return;
    area_ = area;
    layOut();
    scrollTo(scrollY_);
    invalidate();
}

const std::string& WebView::title() const
{
    return container_->caption();
}

Navigation WebView::navigate(std::string_view address)
{
    return follow(address, true);
}

Navigation WebView::follow(std::string_view address, bool remember)
{
    if (help::isAppLink(address)) {
        const int32_t number = help::appLinkNumber(address);
        load(kBlankAddress, remember);
        window_.post(platform::postedParam(kAppLinkMessage, static_cast<uint32_t>(number)));
        return Navigation::appLink;
    }
    help::Address parsed;
    if (address == kBlankAddress || help::parseAddress(address, parsed)) {
        load(std::string(address), remember);
        return Navigation::shown;
    }
    const help::Link link = help::resolveLink({}, address);
    if (link.kind == help::LinkKind::web)
        return platform::launchDetached({"xdg-open", link.url}) ? Navigation::handedOver : Navigation::ignored;
    return hasScheme(address) ? Navigation::ignored : Navigation::badAddress;
}

void WebView::load(const std::string& address, bool remember)
{
    if (remember && address_ != kBlankAddress && address != address_)
        history_.push_back(address_);
    missing_ = false;
    help::Address parsed;
    if (address == kBlankAddress || !help::parseAddress(address, parsed)) {
        show(kBlankAddress, {}, kBlankPage, {});
    } else {
        if (!archive_ || parsed.archive != archivePath_ || !archive_->isOpen()) {
            archive_ = std::make_unique<help::Archive>(parsed.archive);
            archivePath_ = parsed.archive;
            container_->forgetPictures();
        }
        std::string html;
        missing_ = !archive_->read(parsed.page, html);
        if (missing_)
            html = missingPage(parsed.page);
        show(address, parsed.page, std::move(html), parsed.fragment);
    }
    loading_ = true;
    window_.post(platform::postedParam(kPageCompleteNotice, 0));
}

void WebView::show(std::string address, std::string page, std::string html, std::string_view fragment)
{
    address_ = std::move(address);
    page_ = std::move(page);
    html_ = std::move(html);
    overrides_.clear();
    container_->setSource(page_.empty() ? nullptr : archive_.get(), page_);
    build();
    scrollY_ = 0;
    scrollToFragment(fragment);
    invalidate();
}

void WebView::build()
{
    container_->setViewSize(area_.width(), area_.height());
    litehtml::css overrides;
    if (!overrides_.empty())
        overrides.parse_stylesheet(overrides_.c_str(), nullptr, nullptr, litehtml::media_query_list::ptr());
    document_.reset();
    document_ = litehtml::document::createFromUTF8(html_.c_str(), container_.get(), context_.get(),
                                                   overrides_.empty() ? nullptr : &overrides);
    layOut();
}

void WebView::layOut()
{
    if (!document_)
        return;
    container_->setViewSize(area_.width(), area_.height());
    document_->render(std::max(area_.width(), 1));
    // A page taller than the area gives way to the scroll bar.
    if (scrolls() && area_.width() > kScrollBarWidth)
        document_->render(area_.width() - kScrollBarWidth);
}

void WebView::scrollToFragment(std::string_view fragment)
{
    if (fragment.empty() || !document_)
        return;
    litehtml::element* target = findById(fragment);
    if (!target)
        target = findElement(document_->root().get(), [fragment](const litehtml::element& e) {
            return tagIs(e, "a") && attributeIs(e, "name", fragment);
        });
    if (target)
        scrollTo(target->get_placement().y);
}

void WebView::scrollTo(int32_t y)
{
    const int32_t most = std::max(0, documentHeight() - area_.height());
    const int32_t next = std::clamp(y, 0, most);
    if (next != scrollY_) {
        scrollY_ = next;
        invalidate();
    }
}

bool WebView::goBack()
{
    if (history_.empty())
        return false;
    const std::string previous = history_.back();
    history_.pop_back();
    load(previous, false);
    return true;
}

void WebView::invalidate()
{
    window_.invalidate(area_);
}

int32_t WebView::documentWidth() const
{
    return document_ ? document_->width() : 0;
}

int32_t WebView::documentHeight() const
{
    return document_ ? document_->height() : 0;
}

bool WebView::scrolls() const
{
    return documentHeight() > area_.height();
}

litehtml::element* WebView::findById(std::string_view id) const
{
    if (!document_ || id.empty())
        return nullptr;
    return findElement(document_->root().get(), [id](const litehtml::element& e) { return attributeIs(e, "id", id); });
}

Margins WebView::bodyMargins() const
{
    litehtml::element* body =
        document_ ? findElement(document_->root().get(), [](const litehtml::element& e) { return tagIs(e, "body"); })
                  : nullptr;
    if (!body)
        return {};
    return {body->margin_left(), body->margin_top(), body->margin_right(), body->margin_bottom()};
}

Rect WebView::firstTableBox() const
{
    litehtml::element* table =
        document_ ? findElement(document_->root().get(), [](const litehtml::element& e) { return tagIs(e, "table"); })
                  : nullptr;
    if (!table)
        return {};
    const litehtml::position content = table->get_placement();
    const int32_t left = content.x - table->padding_left() - table->border_left();
    const int32_t top = content.y - table->padding_top() - table->border_top();
    return platform::rectOfSize(left, top,
                                content.width + table->padding_left() + table->padding_right() +
                                    table->border_left() + table->border_right(),
                                content.height + table->padding_top() + table->padding_bottom() +
                                    table->border_top() + table->border_bottom());
}

bool WebView::setElementDisplay(std::string_view id, std::string_view display)
{
    if (!plainWord(id) || !plainWord(display) || !findById(id))
        return false;
    overrides_ += "#" + std::string(id) + " { display: " + std::string(display) + " }\n";
    const int32_t keep = scrollY_;
    build();
    scrollY_ = 0;
    scrollTo(keep);
    invalidate();
    return true;
}

} // namespace web
