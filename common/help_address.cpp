#include "common/help_address.h"

#include <cctype>
#include <limits>
#include <vector>

namespace help {

namespace {

constexpr std::string_view kSeparator = "::/";

bool startsWithCaseBlind(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

// The scheme of an absolute reference ("http" of "http://..."), or empty for
// a relative one: letters, digits, '+', '-', '.' before a ':' that comes
// ahead of any '/', '?' or '#'.
std::string_view schemeOf(std::string_view href)
{
    for (size_t i = 0; i < href.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(href[i]);
        if (c == ':')
            return i > 0 ? href.substr(0, i) : std::string_view{};
        if (!(std::isalpha(c) || (i > 0 && (std::isdigit(c) || c == '+' || c == '-' || c == '.'))))
            return {};
    }
    return {};
}

// Joins a relative path to the folder of `base` and folds "." and ".."; false
// when the path climbs out of the archive.
bool joinArchivePath(std::string_view base, std::string_view relative, std::string& out)
{
    std::vector<std::string_view> parts;
    auto add = [&parts](std::string_view path) {
        size_t start = 0;
        while (start <= path.size()) {
            size_t slash = path.find('/', start);
            if (slash == std::string_view::npos)
                slash = path.size();
            const std::string_view part = path.substr(start, slash - start);
            if (part == "..") {
                if (parts.empty())
                    return false;
                parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            start = slash + 1;
        }
        return true;
    };
    if (!relative.starts_with('/')) {
        const size_t slash = base.rfind('/');
        if (slash != std::string_view::npos && !add(base.substr(0, slash)))
            return false;
    }
    if (!add(relative))
        return false;
    out.clear();
    for (std::string_view part : parts) {
        if (!out.empty())
            out += '/';
        out += part;
    }
    return true;
}

} // namespace

std::string formatAddress(std::string_view archive, std::string_view page)
{
    if (archive.size() + kSeparator.size() + page.size() > kAddressLimit)
        return {};
    std::string address(archive);
    address += kSeparator;
    address += page;
    return address;
}

bool parseAddress(std::string_view address, Address& out)
{
    const size_t separator = address.rfind(kSeparator);
    if (separator == std::string_view::npos)
        return false;
    std::string_view page = address.substr(separator + kSeparator.size());
    std::string_view fragment;
    if (const size_t hash = page.find('#'); hash != std::string_view::npos) {
        fragment = page.substr(hash + 1);
        page = page.substr(0, hash);
    }
    if (page.empty())
        return false;
    out.archive = std::string(address.substr(0, separator));
    out.page = std::string(page);
    out.fragment = std::string(fragment);
    return true;
}

bool isAppLink(std::string_view address)
{
    return startsWithCaseBlind(address, "app:");
}

int32_t appLinkNumber(std::string_view address)
{
    size_t i = 4;
    while (i < address.size() && (address[i] == ' ' || address[i] == '\t'))
        ++i;
    int64_t number = 0;
    for (; i < address.size() && std::isdigit(static_cast<unsigned char>(address[i])); ++i) {
        number = number * 10 + (address[i] - '0');
        if (number > std::numeric_limits<int32_t>::max())
            return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(number);
}

Link resolveLink(std::string_view currentPage, std::string_view href)
{
    Link link;
    if (isAppLink(href)) {
        link.kind = LinkKind::app;
        link.appNumber = appLinkNumber(href);
        return link;
    }
    const std::string_view scheme = schemeOf(href);
    if (!scheme.empty()) {
        if (startsWithCaseBlind(scheme, "http") && (scheme.size() == 4 || (scheme.size() == 5 &&
                                                                          std::tolower(scheme[4]) == 's'))) {
            link.kind = LinkKind::web;
            link.url = std::string(href);
        }
        return link;
    }
    std::string_view path = href;
    if (const size_t hash = path.find('#'); hash != std::string_view::npos) {
        link.fragment = std::string(path.substr(hash + 1));
        path = path.substr(0, hash);
    }
    if (const size_t query = path.find('?'); query != std::string_view::npos)
        path = path.substr(0, query);
    if (path.empty()) {
        link.kind = currentPage.empty() ? LinkKind::none : LinkKind::page;
        link.page = std::string(currentPage);
        return link;
    }
    if (path.find('\\') != std::string_view::npos || !joinArchivePath(currentPage, path, link.page) ||
        link.page.empty()) {
        link = Link{};
        return link;
    }
    link.kind = LinkKind::page;
    return link;
}

} // namespace help
