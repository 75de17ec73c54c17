#pragma once
// What the help viewer lists beside the page: the contents, read from the
// archive's contents page, and a full-text search over every page.

#include <string>
#include <string_view>
#include <vector>

namespace help {

class Archive;

struct ContentsRow {
    int depth = 0;       // 0 for the top level
    std::string text;    // Windows-1252
    std::string page;    // archive path; empty for a heading
};

// The contents page's headings and links in order, each link as deep as the
// lists around it; empty when the archive has no contents page.
std::vector<ContentsRow> readContents(const Archive& archive);

struct SearchHit {
    std::string page;
    std::string title;   // Windows-1252
};

// The pages whose title or text holds every word of the query, without
// regard to case, sorted by title; empty for a query without words.
std::vector<SearchHit> searchPages(const Archive& archive, std::string_view query);

} // namespace help
