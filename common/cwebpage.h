#pragma once
// A help page embedded in a window, reached through the window: embed,
// navigate, ask for the page and whether it is still loading, and remove.
// Each window holds at most one page (a web view, web_view.h), and windows
// hold theirs independently, so the help viewer and the help popup may show
// pages at the same time. The window's handler hands every message to
// `browserMessage` first and calls `removeBrowser` when it is destroyed.
// GUI thread only.

#include "common/web_view.h"

namespace web {

// Results of embedBrowser and displayPage.
constexpr int kEmbedded = 0;
constexpr int kNoMemory = -1;
constexpr int kCannotCreate = -2;
constexpr int kNoWindow = -5;
constexpr int kBadAddress = -6;

// Embeds a page over the window's whole client area, showing the blank page;
// kCannotCreate when the window is gone or already holds one.
int embedBrowser(platform::Window& window);
// Forgets the window's page, if any.
void removeBrowser(platform::Window& window);
// Shows an address (web_view.h says which); the page-loading flag is set
// when it shows a page. kNoWindow when the window is gone or holds no page,
// kBadAddress when the text is no address.
int displayPage(platform::Window& window, std::string_view address);
// The window's page; null when it holds none or is gone.
WebView* getBrowser(platform::Window& window);
// Whether the window's page is still loading.
bool isLoading(platform::Window& window);
// The window's messages, handed to its page (see WebView::handleMessage).
bool browserMessage(platform::Window& window, platform::WindowMessage& message);

} // namespace web
