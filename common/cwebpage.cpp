#include "common/cwebpage.h"

#include <map>
#include <memory>
#include <new>

namespace web {

namespace {

// The page of each window that holds one, as a window property would keep it.
std::map<const platform::Window*, std::unique_ptr<WebView>>& pages()
{
    static std::map<const platform::Window*, std::unique_ptr<WebView>> byWindow;
    return byWindow;
}

} // namespace

int embedBrowser(platform::Window& window)
{
    if (!window.alive() || pages().count(&window) != 0)
        return kCannotCreate;
    try {
        const platform::Rect client{0, 0, window.rect().width(), window.rect().height()};
        pages()[&window] = std::make_unique<WebView>(window, client);
    } catch (const std::bad_alloc&) {
        pages().erase(&window);
        return kNoMemory;
    }
    return kEmbedded;
}

void removeBrowser(platform::Window& window)
{
    pages().erase(&window);
}

int displayPage(platform::Window& window, std::string_view address)
{
    WebView* view = getBrowser(window);
    if (!view)
        return kNoWindow;
    return view->navigate(address) == Navigation::badAddress ? kBadAddress : kEmbedded;
}

WebView* getBrowser(platform::Window& window)
{
    auto found = pages().find(&window);
    if (found == pages().end())
        return nullptr;
    return window.alive() ? found->second.get() : nullptr;
}

bool isLoading(platform::Window& window)
{
    const WebView* view = getBrowser(window);
    return view && view->isLoading();
}

bool browserMessage(platform::Window& window, platform::WindowMessage& message)
{
    WebView* view = getBrowser(window);
    return view && view->handleMessage(message);
}

} // namespace web
