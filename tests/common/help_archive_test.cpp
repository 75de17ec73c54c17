// The help archive as the program carries it: every page the program can ask
// for is there, every link and image inside it leads somewhere inside it,
// and the pages are plain, well-formed markup without scripts.
#include "help_test_support.h"

#include "common/help_address.h"
#include "common/help_pages.h"
#include "support/outside_tools.h"

#include <cstdio>
#include <deque>
#include <set>

namespace {

// Every name the program's help openers can produce.
std::set<std::string> namesTheProgramAsks()
{
    std::set<std::string> names{help::kDefaultTopic, help::kContents};
    for (int letter = 0; letter < 256; ++letter)
        for (int parameter = -1; parameter <= 0x100; ++parameter)
            names.insert(help::effectHelpPage(static_cast<unsigned char>(letter), parameter));
    names.insert(help::effectHelpPage('S', 0xFFFF));
    for (int column = 0; column <= 8; ++column)
        names.insert(help::cellHelpPage(column, 'D', 0));
    for (int tab = -1; tab <= 5; ++tab)
        for (bool list : {false, true})
            names.insert(help::instrumentHelpPage(tab, list));
    for (int page = -1; page <= 9; ++page)
        names.insert(help::keyboardHelpPage(page));
    for (const help::ChainRow& row : help::keyReferenceChain())
        names.insert(row.page);
    for (const help::Topic& topic : help::helpTopics())
        names.insert(topic.page);
    return names;
}

std::string upperCased(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool hasAnchor(const std::string& page, const std::string& fragment)
{
    for (const Tag& tag : tagsOf(page))
        if (tag.attributes.count("id") && tag.attributes.at("id") == fragment)
            return true;
    return false;
}

} // namespace

TEST_F(HelpArchiveFixture, EveryPageTheProgramAsksForIsThereWhateverTheCase)
{
    const std::set<std::string> names = namesTheProgramAsks();
    EXPECT_GE(names.size(), 60u);
    for (const std::string& name : names) {
        EXPECT_TRUE(archive_->contains(name)) << name;
        std::string bytes;
        EXPECT_TRUE(archive_->read(upperCased(name), bytes)) << name;
        EXPECT_EQ(bytes, (*entries_)[name]) << name;
    }
}

TEST_F(HelpArchiveFixture, EveryLinkAndImageLeadsInsideTheArchive)
{
    int links = 0;
    for (const std::string& page : pageNames()) {
        for (const Tag& tag : tagsOf((*entries_)[page])) {
            for (const char* attribute : {"href", "src"}) {
                const auto found = tag.attributes.find(attribute);
                if (found == tag.attributes.end())
                    continue;
                ++links;
                const help::Link link = help::resolveLink(page, found->second);
                ASSERT_EQ(link.kind, help::LinkKind::page) << page << ": " << found->second;
                // Exact spelling: the archive's names are what other readers see.
                ASSERT_TRUE(entries_->count(link.page)) << page << ": " << found->second;
                const bool anchored = link.fragment.empty() || hasAnchor((*entries_)[link.page], link.fragment);
                EXPECT_TRUE(anchored) << page << ": " << found->second;
            }
        }
    }
    EXPECT_GT(links, 300);
}

TEST_F(HelpArchiveFixture, EveryPageIsReachableFromTheContents)
{
    std::set<std::string> seen{help::kContents};
    std::deque<std::string> queue{help::kContents};
    while (!queue.empty()) {
        const std::string page = queue.front();
        queue.pop_front();
        for (const Tag& tag : tagsOf((*entries_)[page])) {
            if (tag.name != "a" || !tag.attributes.count("href"))
                continue;
            const help::Link link = help::resolveLink(page, tag.attributes.at("href"));
            if (link.page.ends_with(".htm") && seen.insert(link.page).second)
                queue.push_back(link.page);
        }
    }
    for (const std::string& page : pageNames())
        EXPECT_TRUE(seen.count(page)) << page << " is not reachable from " << help::kContents;
}

TEST_F(HelpArchiveFixture, PagesAreWellFormedStyledAndFreeOfScripts)
{
    ASSERT_TRUE(outside_tools::have({"xmllint", "unzip"}));
    ScratchFolder copies;
    std::string files;
    for (const std::string& page : pageNames()) {
        const std::string& text = (*entries_)[page];
        files += " '" + copies.write(page, text) + "'";
        bool styled = false;
        bool titled = false;
        for (const Tag& tag : tagsOf(text)) {
            EXPECT_NE(tag.name, "script") << page;
            EXPECT_NE(tag.name, "iframe") << page;
            for (const auto& [name, value] : tag.attributes)
                EXPECT_FALSE(name.starts_with("on")) << page << ": " << name;
            styled = styled || (tag.name == "link" && tag.attributes.count("href") && tag.attributes.at("href") == "help.css");
            titled = titled || tag.name == "title";
        }
        EXPECT_TRUE(styled) << page;
        EXPECT_TRUE(titled) << page;
        EXPECT_EQ(text.find("javascript:"), std::string::npos) << page;
        EXPECT_NE(text.find("id=\"header\""), std::string::npos) << page;
    }
    EXPECT_EQ(std::system(("xmllint --noout" + files).c_str()), 0);

    // Another zip reader sees the same entries.
    const std::string listing = copies.file("listing");
    ASSERT_EQ(std::system(("unzip -Z1 '" + file_->path() + "' > '" + listing + "'").c_str()), 0);
    std::string expected;
    for (const std::string& name : archive_->names())
        expected += name + "\n";
    EXPECT_EQ(readWholeFile(listing), expected);
}

// The popup sizes itself by the first table of a key page and swaps the
// "header" for the "navbar"; both must sit in that table.
TEST_F(HelpArchiveFixture, KeyPagesAreOneTableWithHeaderAndNavbar)
{
    for (const help::ChainRow& row : help::keyReferenceChain()) {
        const std::vector<Tag> tags = tagsOf((*entries_)[row.page]);
        size_t firstTable = std::string::npos;
        size_t header = std::string::npos;
        size_t navbar = std::string::npos;
        int tables = 0;
        for (const Tag& tag : tags) {
            if (tag.name == "table" && tables++ == 0)
                firstTable = tag.offset;
            if (tag.attributes.count("id") && tag.attributes.at("id") == "header")
                header = tag.offset;
            if (tag.attributes.count("id") && tag.attributes.at("id") == "navbar")
                navbar = tag.offset;
        }
        EXPECT_EQ(tables, 1) << row.page;
        EXPECT_LT(firstTable, header) << row.page;
        EXPECT_LT(header, navbar) << row.page;
        EXPECT_NE(navbar, std::string::npos) << row.page;
        const bool paged = row.next >= 0;
        EXPECT_EQ((*entries_)[row.page].find("Left, Right: more keys") != std::string::npos, paged) << row.page;
    }
}

TEST(HelpArchiveReader, RefusesMissingDamagedAndForeignFiles)
{
    ScratchFolder folder;
    help::Archive archive;
    EXPECT_FALSE(archive.open(folder.file("missing.chm")));
    EXPECT_FALSE(archive.open(folder.write("text.chm", "not a zip archive")));

    // A stored entry whose bytes no longer match its checksum reads as missing.
    ASSERT_TRUE(outside_tools::have({"zip"}));
    folder.write("Page.htm", std::string(4000, 'a'));
    const std::string zipPath = folder.file("damaged.zip");
    ASSERT_EQ(std::system(("cd '" + folder.path() + "' && zip -q -0 damaged.zip Page.htm").c_str()), 0);
    std::string bytes = readWholeFile(zipPath);
    const size_t body = bytes.find(std::string(100, 'a'));
    ASSERT_NE(body, std::string::npos);
    bytes[body + 50] = 'b';
    folder.write("damaged.zip", bytes);
    ASSERT_TRUE(archive.open(zipPath));
    EXPECT_TRUE(archive.contains("page.HTM"));
    std::string read;
    EXPECT_FALSE(archive.read("Page.htm", read));
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(archive.read("Other.htm", read));
}
