#pragma once
// The embedded help archive as the program gets it (written by the help file
// thread), and a small reader of the tags and attributes of its pages, which
// are well-formed markup (a test checks that with xmllint).

#include "common/help_archive.h"
#include "common/help_file.h"
#include "model/scratch_folder.h"
#include "resources/help/embedded_help.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

// Every entry of the archive by its own name.
class HelpArchiveFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        entries_ = new std::map<std::string, std::string>;
        folder_ = new ScratchFolder;
        file_ = new help::HelpFile(folder_->path(), resources::helpArchive());
        ASSERT_TRUE(file_->waitUntilWritten(std::chrono::seconds(30)));
        archive_ = new help::Archive(file_->path());
        ASSERT_TRUE(archive_->isOpen());
        for (const std::string& name : archive_->names())
            ASSERT_TRUE(archive_->read(name, (*entries_)[name])) << name;
    }
    static void TearDownTestSuite()
    {
        delete entries_;
        delete archive_;
        delete file_;
        delete folder_;
    }

    static std::vector<std::string> pageNames()
    {
        std::vector<std::string> pages;
        for (const auto& [name, bytes] : *entries_)
            if (name.ends_with(".htm"))
                pages.push_back(name);
        return pages;
    }

    static inline ScratchFolder* folder_ = nullptr;
    static inline help::HelpFile* file_ = nullptr;
    static inline help::Archive* archive_ = nullptr;
    static inline std::map<std::string, std::string>* entries_ = nullptr;
};

struct Tag {
    std::string name;                               // lower case
    std::map<std::string, std::string> attributes;  // lower-case names
    size_t offset;
};

inline std::vector<Tag> tagsOf(const std::string& page)
{
    static const std::regex tagPattern(R"(<([a-zA-Z][a-zA-Z0-9]*)((?:\s+[^>]*?)?)\s*/?>)");
    static const std::regex attributePattern(R"(([a-zA-Z_:][-a-zA-Z0-9_:.]*)\s*=\s*"([^"]*)\")");
    std::vector<Tag> tags;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), tagPattern); it != std::sregex_iterator(); ++it) {
        Tag tag{(*it)[1].str(), {}, size_t(it->position())};
        for (char& c : tag.name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        const std::string attributes = (*it)[2].str();
        for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attributePattern);
             a != std::sregex_iterator(); ++a) {
            std::string key = (*a)[1].str();
            for (char& c : key)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            tag.attributes[key] = (*a)[2].str();
        }
        tags.push_back(tag);
    }
    return tags;
}
