// File drops: the URI lists that drag sources send, and links followed to
// their targets.

#include "dialog_test_support.h"
#include "platform/drop_paths.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace platform;

namespace {

TEST(DropPaths, LocalFileUrisBecomeDecodedPaths)
{
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string list = "# a comment\r\n"
                             "file:///music/My%20Song%20%231.zip\r\n"
                             "FILE://localhost/music/caf%C3%A9.wav\r\n"
                             "file://" + std::string(host) + "/music/here.wav\r\n"
                             "file://elsewhere/music/remote.wav\r\n"
                             "http://example.invalid/x.zip\r\n"
                             "file:///music/bad%2.zip\r\n"
                             "file:///music/nul%00.zip\r\n"
                             "\r\n"
                             "file:///music/last.zip";
    EXPECT_EQ(pathsOfUriList(list, 100),
              (std::vector<std::string>{"/music/My Song #1.zip", "/music/caf\xC3\xA9.wav", "/music/here.wav",
                                        "/music/last.zip"}));
    EXPECT_EQ(pathsOfUriList(list, 2).size(), 2u);
    EXPECT_TRUE(pathsOfUriList("", 10).empty());
    EXPECT_TRUE(pathsOfUriList("file://", 10).empty());
}

TEST(DropPaths, PercentDecodingRefusesTruncatedEscapes)
{
    const std::pair<const char*, const char*> good[] = {{"a%41b", "aAb"}, {"%2f%2F", "//"}, {"plain", "plain"}};
    for (const auto& [text, expected] : good) {
        std::string decoded;
        EXPECT_TRUE(percentDecode(text, decoded)) << text;
        EXPECT_EQ(decoded, expected);
    }
    for (const char* bad : {"%", "%4", "a%zz", "%g1"}) {
        std::string decoded;
        EXPECT_FALSE(percentDecode(bad, decoded)) << bad;
    }
}

TEST(DropPaths, LinksGoOnAsTheirTargets)
{
    ScratchFolder folder;
    writeFile(folder / "target.wav", "x");
    std::filesystem::create_symlink("target.wav", folder / "link.wav");
    std::filesystem::create_symlink("missing.wav", folder / "dangling.wav");
    std::string link = folder / "link.wav";
    EXPECT_TRUE(resolveLink(link));
    EXPECT_EQ(link, std::filesystem::canonical(folder / "target.wav").string());
    std::string plain = folder / "target.wav";
    EXPECT_FALSE(resolveLink(plain));
    EXPECT_EQ(plain, folder / "target.wav");
    std::string dangling = folder / "dangling.wav";
    EXPECT_FALSE(resolveLink(dangling));
    EXPECT_EQ(dangling, folder / "dangling.wav");
}

} // namespace
