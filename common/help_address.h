#pragma once
// Help addresses name a page inside the help archive: "<archive>::/<page>",
// optionally with "#fragment". Links inside pages are resolved against the
// page that holds them.

#include <cstdint>
#include <string>
#include <string_view>

namespace help {

// The longest address the openers keep (their buffers hold 1024 characters).
constexpr size_t kAddressLimit = 1023;

// "<archive>::/<page>"; empty when the address would not fit, so that a cut
// never opens another page than the one asked for.
std::string formatAddress(std::string_view archive, std::string_view page);

struct Address {
    std::string archive;
    std::string page;       // path inside the archive, without fragment
    std::string fragment;   // without '#'
};
// False when the address has no "::/" or names no page.
bool parseAddress(std::string_view address, Address& out);

enum class LinkKind {
    none,   // nothing happens (unknown schemes, paths leaving the archive)
    page,   // a page or file of the archive
    app,    // "app:N": the page blanks and the owner window is told N
    web,    // http or https: the desktop's browser opens it
};

struct Link {
    LinkKind kind = LinkKind::none;
    std::string page;       // page: the archive path
    std::string fragment;   // page: without '#'
    int32_t appNumber = 0;  // app
    std::string url;        // web
};

// What a link (an href or an image source) in `currentPage` leads to.
Link resolveLink(std::string_view currentPage, std::string_view href);

// "app:" in any case, as the web page turns links into messages.
bool isAppLink(std::string_view address);
// The decimal number after "app:": blanks and tabs skipped, digits up to the
// first other character, 0 without digits; saturates at INT32_MAX.
int32_t appLinkNumber(std::string_view address);

} // namespace help
