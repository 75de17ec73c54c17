// Writing a key reference page.
#include "key_pages.h"

#include "common/help_pages.h"

#include <algorithm>

namespace helpgen {

namespace {

// Key texts carry Windows-1252 bytes (the acute accent key); pages are UTF-8,
// so everything past ASCII goes out as a character reference.
std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (byte >= 0x80)
            out += "&#" + std::to_string(byte) + ";";
        else
            out += c;
    }
    return out;
}

struct ChainPlace {
    int number = 0;   // 1-based place in its loop; 0 outside a loop
    int count = 0;
    const char* previous = nullptr;
    const char* next = nullptr;
};

ChainPlace placeOf(const std::string& file)
{
    ChainPlace place;
    const auto chain = help::keyReferenceChain();
    const int row = help::chainRowOf(file);
    if (row < 0 || chain[size_t(row)].next < 0)
        return place;
    place.previous = help::chainNeighbour(file, false);
    place.next = help::chainNeighbour(file, true);
    int first = row;
    for (int r = chain[size_t(row)].next; r != row && r >= 0; r = chain[size_t(r)].next)
        first = std::min(first, r);
    for (int r = first;; r = chain[size_t(r)].next) {
        ++place.count;
        if (r == row)
            place.number = place.count;
        if (chain[size_t(r)].next == first || chain[size_t(r)].next < 0)
            break;
    }
    return place;
}

std::string link(const char* file, const char* text)
{
    return std::string("<a href=\"") + file + "\">" + text + "</a>";
}

} // namespace

std::string renderKeyPage(const KeyPage& page)
{
    const ChainPlace place = placeOf(page.file);
    std::string header = link(help::kContents, "Contents");
    if (place.previous)
        header += " &#183; " + link(place.previous, "&#171; Previous keys");
    if (place.next)
        header += " &#183; " + link(place.next, "Next keys &#187;");
    if (page.file != "Keys_PB_1.htm")
        header += " &#183; " + link("Keys_PB_1.htm", "Global keys");
    std::string navbar = place.count > 0 ? "Page " + std::to_string(place.number) + " of " +
                                               std::to_string(place.count) +
                                               " &#183; Left, Right: more keys &#183; any other key closes"
                                         : std::string("Any key closes this page");

    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>" +
                       escaped(page.title) +
                       "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\"/>\n</head>\n"
                       "<body class=\"keys\">\n<table class=\"keys\">\n"
                       "<tr><td colspan=\"2\"><div id=\"header\" class=\"header\">" +
                       header + "</div><div id=\"navbar\" class=\"navbar\">" + navbar + "</div></td></tr>\n" +
                       "<tr><td colspan=\"2\"><h1>" + escaped(page.title) + "</h1></td></tr>\n";
    bool pressTwice = false;
    for (const KeySection& section : page.sections) {
        if (section.rows.empty())
            continue;
        html += "<tr class=\"section\"><th colspan=\"2\">" + escaped(section.title) + "</th></tr>\n";
        for (const KeyRow& row : section.rows) {
            pressTwice = pressTwice || row.keys.find(" x 2") != std::string::npos;
            html += "<tr><td class=\"key\">" + escaped(row.keys) + "</td><td>" + escaped(row.action) + "</td></tr>\n";
        }
    }
    if (pressTwice)
        html += "<tr><td colspan=\"2\" class=\"note\">x 2: the same key pressed twice in a row.</td></tr>\n";
    html += "</table>\n</body>\n</html>\n";
    return html;
}

} // namespace helpgen
