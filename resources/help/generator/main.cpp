// Builds the help archive from the pages and the default command scheme:
//   qb_help_builder --pages <folder> --out <Help.zip>
// Every regular file of the folder goes in under its own name, with the key
// reference pages drawn from the command tables beside them.

#include "key_pages.h"
#include "zip_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool readFile(const std::filesystem::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

bool addPages(const std::string& folder, std::vector<helpgen::ArchiveEntry>& entries)
{
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = item.path().filename().string();
        if (!item.is_regular_file() || name.starts_with('.'))
            continue;
        std::string bytes;
        if (!readFile(item.path(), bytes)) {
            std::fprintf(stderr, "cannot read %s\n", item.path().c_str());
            return false;
        }
        entries.emplace_back(name, std::move(bytes));
    }
    if (error)
        std::fprintf(stderr, "cannot list %s: %s\n", folder.c_str(), error.message().c_str());
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    std::string pages;
    std::string out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--pages")
            pages = argv[i + 1];
        else if (option == "--out")
            out = argv[i + 1];
    }
    if (pages.empty() || out.empty()) {
        std::fprintf(stderr, "usage: %s --pages <folder> --out <Help.zip>\n", argv[0]);
        return 2;
    }

    std::vector<helpgen::ArchiveEntry> entries;
    if (!addPages(pages, entries))
        return 1;
    auto keyPages = helpgen::patternEditorKeyPages();
    for (auto& page : helpgen::otherKeyPages())
        keyPages.push_back(std::move(page));
    for (const auto& page : keyPages) {
        const bool clash = std::any_of(entries.begin(), entries.end(),
                                       [&page](const helpgen::ArchiveEntry& e) { return e.first == page.file; });
        if (clash) {
            std::fprintf(stderr, "%s is made from the command scheme; remove it from %s\n", page.file.c_str(),
                         pages.c_str());
            return 1;
        }
        entries.emplace_back(page.file, helpgen::renderKeyPage(page));
    }
    std::sort(entries.begin(), entries.end());

    const std::string partial = out + ".partial";
    if (!helpgen::writeArchive(partial, entries) || std::rename(partial.c_str(), out.c_str()) != 0) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
