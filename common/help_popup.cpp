#include "common/help_popup.h"

#include "common/cwebpage.h"
#include "common/help_address.h"
#include "common/help_pages.h"
#include "common/help_popup_fit.h"
#include "platform/graphics/canvas.h"
#include "platform/key_table.h"

#include <time.h>

namespace help {

namespace {

using platform::MessageKind;

// Shared by every popup of the process: a page that once failed to load in
// time sends the later ones to the viewer.
int32_t budget = CHelpPopup::kLoadBudgetMs;

constexpr long kPassNanoseconds = 5'000'000;
constexpr platform::Colour kBorder = platform::rgb(100, 104, 112);

} // namespace

CHelpPopup::CHelpPopup(platform::WindowSystem& system, platform::Window* owner)
    : system_(system), owner_(owner ? owner->handle() : 0)
{
}

CHelpPopup::~CHelpPopup()
{
    window_.reset();
}

int32_t CHelpPopup::loadBudget()
{
    return budget;
}

void CHelpPopup::setPage(std::string_view name)
{
    page_ = std::string(name);
    address_ = formatAddress(helpFile_, page_);
}

bool CHelpPopup::showPage(std::string_view helpFile, std::string_view page, int32_t x, int32_t y)
{
    if (budget <= 0)
        return false;
    helpFile_ = std::string(helpFile);
    setPage(page);
    position_ = {x, y};
    run();
    return budget > 0;
}

bool CHelpPopup::open(std::string_view helpFile, std::string_view page, int32_t x, int32_t y)
{
    if (budget <= 0)
        return false;
    helpFile_ = std::string(helpFile);
    setPage(page);
    position_ = {x, y};
    return createWindow();
}

int32_t CHelpPopup::run()
{
    if (!createWindow())
        return result_;
    const timespec pass{0, kPassNanoseconds};
    while (window_) {
        system_.pump();
        if (window_)
            nanosleep(&pass, nullptr);
    }
    return result_;
}

bool CHelpPopup::createWindow()
{
    window_.reset();
    result_ = kCancelled;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.parent = system_.findWindow(owner_);
    options.rect = platform::rectOfSize(position_.x, position_.y, kFirstSize.x, kFirstSize.y);
    options.title = kTitle;
    options.className = kClassName;
    options.visible = false;
    options.handler = this;
    options.tool = true;
    window_ = system_.createWindow(options);
    if (!window_)
        return false;
    if (!onCreate()) {
        close(kCancelled, false);
        return false;
    }
    return true;
}

bool CHelpPopup::onCreate()
{
    if (web::embedBrowser(*window_) != web::kEmbedded)
        return false;
    if (!showAddress())
        return false;
    window_->setTimer(kLoadTimer, kLoadTimerMs);
    return true;
}

bool CHelpPopup::showAddress()
{
    // A page the help lacks shows as an error page, which is no key page.
    return web::displayPage(*window_, address_) == web::kEmbedded && !web::getBrowser(*window_)->pageMissing();
}

bool CHelpPopup::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    if (message.kind == MessageKind::Destroy) {
        web::removeBrowser(window);
        return true;
    }
    if (web::browserMessage(window, message))
        return true;
    switch (message.kind) {
    case MessageKind::Paint: {
        // The page covers the window; a line frames it, as a bordered popup.
        platform::Canvas canvas(window.image());
        canvas.setClip(message.area);
        canvas.frameRect({0, 0, window.rect().width(), window.rect().height()}, kBorder);
        return true;
    }
    case MessageKind::Resized:
        if (web::WebView* view = web::getBrowser(window))
            view->setArea({0, 0, message.area.width(), message.area.height()});
        return true;
    case MessageKind::Timer:
        if (message.timerId == kLoadTimer)
            onTimer();
        return true;
    case MessageKind::KeyDown:
        onKeyDown(message.key.windowsKey);
        return true;
    case MessageKind::FocusOut:
        onDeactivate();
        return true;
    case MessageKind::Close:
        onCancel();
        return true;
    default:
        return false;
    }
}

void CHelpPopup::onTimer()
{
    if (budget > 0) {
        budget -= static_cast<int32_t>(kLoadTimerMs);
    } else {
        window_->killTimer(kLoadTimer);
        close(kCancelled, true);
        return;
    }
    if (web::isLoading(*window_))
        return;
    budget = kLoadBudgetMs;
    window_->killTimer(kLoadTimer);
    fitToPage();
}

void CHelpPopup::fitToPage()
{
    web::WebView* view = web::getBrowser(*window_);
    if (!view)
        return;
    const platform::Point size = popupSizeFor(*view);
    // From the place it was put at last, not from what the window reports:
    // a window manager taking the frameless window over may report it for a
    // moment at its frame's first corner (0, 0), before it moves the frame.
    const platform::Rect wanted = platform::rectOfSize(position_.x, position_.y, size.x, size.y);
    const platform::Rect placed = keepInside(wanted, system_.workArea(wanted));
    position_ = {placed.left, placed.top};
    window_->setRect(placed);
    window_->show(true);
}

void CHelpPopup::onKeyDown(uint8_t windowsKey)
{
    bool forward = false;
    switch (windowsKey) {
    case platform::kWinPrior:
    case platform::kWinLeft:
    case platform::kWinUp:
        break;
    case platform::kWinNext:
    case platform::kWinRight:
    case platform::kWinDown:
        forward = true;
        break;
    default:
        close(kCancelled, true);
        return;
    }
    const char* next = chainNeighbour(page_, forward);
    if (!next) {
        close(kCancelled, true);
        return;
    }
    setPage(next);
    if (!showAddress()) {
        close(kCancelled, true);
        return;
    }
    window_->setTimer(kLoadTimer, kLoadTimerMs);
}

void CHelpPopup::onDeactivate()
{
    if (!web::isLoading(*window_))
        close(kCancelled, false);
}

void CHelpPopup::onOK()
{
    close(kOk, true);
}

void CHelpPopup::onCancel()
{
    close(kCancelled, true);
}

void CHelpPopup::close(int32_t result, bool focusBack)
{
    result_ = result;
    if (!window_)
        return;
    window_.reset();
    // A key or the budget closed it: the owner had the focus before.
    if (focusBack)
        if (platform::Window* owner = system_.findWindow(owner_); owner && owner->alive())
            owner->takeFocus();
}

} // namespace help
