#include "common/help_index.h"

#include "common/help_address.h"
#include "common/help_archive.h"
#include "common/help_pages.h"
#include "common/web_container.h"
#include "platform/graphics/font_catalog.h"
#include "platform/graphics/windows1252.h"

#include <algorithm>
#include <cctype>

namespace help {

namespace {

// A page parsed by litehtml without a window: its elements and title.
struct ParsedPage {
    ParsedPage(const Archive& archive, const std::string& name, const std::string& html)
        : container(platform::FontCatalog::process())
    {
        context.load_master_stylesheet(web::masterStyleSheet());
        container.setSource(&archive, name);
        document = litehtml::document::createFromUTF8(html.c_str(), &container, &context);
    }
    ~ParsedPage() { document.reset(); }

    web::WebContainer container;
    litehtml::context context;
    std::shared_ptr<litehtml::document> document;
};

bool tagIs(const litehtml::element& element, const char* tag)
{
    const char* name = element.get_tagName();
    return name && std::string_view(name) == tag;
}

std::string textOf(litehtml::element& element)
{
    std::string text;
    element.get_text(text);
    std::string collapsed;
    for (const char c : platform::utf8ToWindows1252(text)) {
        const bool blank = std::isspace(static_cast<unsigned char>(c)) || c == '\xA0';
        if (blank && (collapsed.empty() || collapsed.back() == ' '))
            continue;
        collapsed += blank ? ' ' : c;
    }
    while (!collapsed.empty() && collapsed.back() == ' ')
        collapsed.pop_back();
    return collapsed;
}

void collectContents(litehtml::element& at, int lists, std::vector<ContentsRow>& rows)
{
    if (tagIs(at, "a")) {
        // The links of its lists; the page's own header is no entry.
        const char* href = at.get_attr("href");
        const Link link = resolveLink(kContents, href ? href : "");
        if (link.kind == LinkKind::page && lists > 0)
            rows.push_back({std::max(lists - 1, 0), textOf(at), link.page});
        return;
    }
    if (tagIs(at, "h2")) {
        rows.push_back({0, textOf(at), {}});
        return;
    }
    const int inside = lists + (tagIs(at, "ul") || tagIs(at, "ol") ? 1 : 0);
    for (size_t i = 0; i < at.get_children_count(); ++i)
        collectContents(*at.get_child(int(i)), inside, rows);
}

litehtml::element* bodyOf(litehtml::element* at)
{
    if (!at || tagIs(*at, "body"))
        return at;
    for (size_t i = 0; i < at->get_children_count(); ++i)
        if (litehtml::element* found = bodyOf(at->get_child(int(i)).get()))
            return found;
    return nullptr;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::vector<ContentsRow> readContents(const Archive& archive)
{
    std::vector<ContentsRow> rows;
    std::string html;
    if (!archive.read(kContents, html))
        return rows;
    ParsedPage parsed(archive, kContents, html);
    if (litehtml::element* body = bodyOf(parsed.document->root().get()))
        collectContents(*body, 0, rows);
    return rows;
}

std::vector<SearchHit> searchPages(const Archive& archive, std::string_view query)
{
    std::vector<std::string> words;
    const std::string folded = lowerCase(std::string(query));
    for (size_t at = 0; at < folded.size();) {
        const size_t start = folded.find_first_not_of(" \t", at);
        if (start == std::string::npos)
            break;
        const size_t end = std::min(folded.find_first_of(" \t", start), folded.size());
        words.push_back(folded.substr(start, end - start));
        at = end;
    }
    std::vector<SearchHit> hits;
    if (words.empty())
        return hits;
    for (const std::string& name : archive.names()) {
        std::string html;
        if (!lowerCase(name).ends_with(".htm") || !archive.read(name, html))
            continue;
        ParsedPage parsed(archive, name, html);
        litehtml::element* body = bodyOf(parsed.document->root().get());
        const std::string title = parsed.container.caption().empty() ? name : parsed.container.caption();
        const std::string text = lowerCase(title + ' ' + (body ? textOf(*body) : std::string()));
        if (std::all_of(words.begin(), words.end(), [&text](const std::string& w) { return text.find(w) != text.npos; }))
            hits.push_back({name, title});
    }
    std::sort(hits.begin(), hits.end(),
              [](const SearchHit& a, const SearchHit& b) { return lowerCase(a.title) < lowerCase(b.title); });
    return hits;
}

} // namespace help
