// Page names and addresses: the effect pages, the key-reference chain, and
// how links in pages are taken.
#include "common/help_address.h"
#include "common/help_pages.h"

#include <gtest/gtest.h>

#include <climits>

TEST(HelpNames, EffectPagesByLetterAndParameter)
{
    struct Case {
        unsigned char letter;
        int32_t parameter;
        const char* page;
    };
    const Case cases[] = {
        {'0', 0, "FX_0xx.htm"},    {'9', 0x7F, "FX_0xx.htm"}, {'A', 6, "FX_Axx.htm"},  {'E', 1, "FX_Exx.htm"},
        {'F', 1, "FX_Exx.htm"},    {'H', 0, "FX_Hxx.htm"},    {'U', 0, "FX_Hxx.htm"},  {'I', 0, "FX_Ixx.htm"},
        {'R', 0, "FX_Rxx.htm"},    {'T', 0, "FX_Txx.htm"},    {'X', 0, "FX_Xxx.htm"},  {'Z', 0, "FX_Zxx.htm"},
        {'S', 0x00, "FX_Sxx.htm"}, {'S', 0x01, "FX_S0x.htm"}, {'S', 0x1F, "FX_Sxx.htm"}, {'S', 0x34, "FX_S3x.htm"},
        {'S', 0x45, "FX_S3x.htm"}, {'S', 0x51, "FX_S3x.htm"}, {'S', 0x6F, "FX_Sxx.htm"}, {'S', 0x73, "FX_S7x.htm"},
        {'S', 0x85, "FX_Xxx.htm"}, {'S', 0x91, "FX_S9x.htm"}, {'S', 0xA1, "FX_SAx.htm"}, {'S', 0xB2, "FX_SBx.htm"},
        {'S', 0xC4, "FX_SCx.htm"}, {'S', 0xD3, "FX_SDx.htm"}, {'S', 0xE1, "FX_Sxx.htm"}, {'S', 0xF1, "FX_Zxx.htm"},
        {'S', 0x100, "FX_Sxx.htm"}, {'S', -1, "FX_Sxx.htm"},  {'d', 0, "FX_list.htm"}, {'@', 0x78, "FX_list.htm"},
        {'.', 0, "FX_list.htm"},   {0xC4, 0, "FX_list.htm"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(help::effectHelpPage(c.letter, c.parameter), c.page) << c.letter << " " << c.parameter;
}

TEST(HelpNames, ContextHelpOfTheGridAndTheInstrumentTabs)
{
    const char* const columns[] = {"PE_Pitch.htm",  "PE_Pitch.htm",  "PE_Instrument.htm",
                                   "PE_Instrument.htm", "PE_Volume.htm", "PE_Volume.htm",
                                   "FX_Dxx.htm",    "FX_Dxx.htm",    "FX_Dxx.htm"};
    for (int column = 0; column <= 8; ++column)
        EXPECT_STREQ(help::cellHelpPage(column, 'D', 4), columns[column]) << column;
    EXPECT_STREQ(help::instrumentHelpPage(3, false), "IL_Pitch.htm");
    EXPECT_STREQ(help::instrumentHelpPage(3, true), "IL.htm");
    EXPECT_STREQ(help::instrumentHelpPage(5, false), "IL.htm");
    const std::pair<int, const char*> keyPages[] = {{1, "Keys_PE_1.htm"}, {2, "Keys_SL_1.htm"}, {4, "Keys_IL_1.htm"},
                                                    {6, "Keys_IP_1.htm"}, {7, "Keys_OL_1.htm"}, {8, "Keys_PR_1.htm"},
                                                    {-1, "Keys_PE_1.htm"}};
    for (const auto& [pageNumber, page] : keyPages)
        EXPECT_STREQ(help::keyboardHelpPage(pageNumber), page) << pageNumber;
}

TEST(HelpNames, TheKeyReferenceChainLoopsThePatternEditorPagesOnly)
{
    EXPECT_STREQ(help::chainNeighbour("Keys_PE_3.htm", true), "Keys_PE_1.htm");
    EXPECT_STREQ(help::chainNeighbour("keys_pe_1.HTM", false), "Keys_PE_3.htm");
    const char* page = "Keys_PE_1.htm";
    for (int step = 0; step < 3; ++step)
        page = help::chainNeighbour(page, true);
    EXPECT_STREQ(page, "Keys_PE_1.htm");
    EXPECT_EQ(help::chainNeighbour("Keys_SL_1.htm", true), nullptr);
    EXPECT_EQ(help::chainNeighbour("Keys_SL_1.htm", false), nullptr);
    EXPECT_EQ(help::chainNeighbour("Welcome.htm", true), nullptr);
    EXPECT_EQ(help::chainRowOf("KEYS_PR_1.htm"), 8);
    EXPECT_FALSE(help::samePage("Keys_PE_1.htm", "Keys_PE_1.html"));
}

TEST(HelpAddresses, FormedAndTakenApart)
{
    EXPECT_EQ(help::formatAddress("/run/Quorbel/Quorbel-7.chm", "Welcome.htm"),
              "/run/Quorbel/Quorbel-7.chm::/Welcome.htm");
    // Cut to fit, an address would name another page: it is refused instead.
    EXPECT_EQ(help::formatAddress(std::string(1005, 'a'), "GettingStarted.htm"), "");
    EXPECT_EQ(help::formatAddress(std::string(1005, 'a'), "FX_list.htm").size(), help::kAddressLimit - 4);

    help::Address address;
    ASSERT_TRUE(help::parseAddress("/a::b/Help.chm::/sub/FX_Axx.htm#speed", address));
    EXPECT_EQ(address.archive, "/a::b/Help.chm");
    EXPECT_EQ(address.page, "sub/FX_Axx.htm");
    EXPECT_EQ(address.fragment, "speed");
    EXPECT_FALSE(help::parseAddress("/a/Help.chm", address));
    EXPECT_FALSE(help::parseAddress("/a/Help.chm::/#top", address));
}

TEST(HelpAddresses, LinksInPages)
{
    using help::LinkKind;
    struct Case {
        const char* page;
        const char* href;
        LinkKind kind;
        const char* target;   // page, or the URL
        const char* fragment;
        int32_t number;
    };
    const Case cases[] = {
        {"Keys_PE_1.htm", "FX_Axx.htm", LinkKind::page, "FX_Axx.htm", "", 0},
        {"FX_list.htm", "#tempo", LinkKind::page, "FX_list.htm", "tempo", 0},
        {"a/b.htm", "../c.htm?x=1#top", LinkKind::page, "c.htm", "top", 0},
        {"a/b.htm", "./img/d.png", LinkKind::page, "a/img/d.png", "", 0},
        {"a/b.htm", "/e.htm", LinkKind::page, "e.htm", "", 0},
        {"b.htm", "../c.htm", LinkKind::none, "", "", 0},
        {"b.htm", "sub\\c.htm", LinkKind::none, "", "", 0},
        {"b.htm", "app:12", LinkKind::app, "", "", 12},
        {"b.htm", "app:", LinkKind::app, "", "", 0},
        {"b.htm", "APP: \t7x", LinkKind::app, "", "", 7},
        {"b.htm", "app:99999999999", LinkKind::app, "", "", INT32_MAX},
        {"b.htm", "https://example.org/a?b", LinkKind::web, "https://example.org/a?b", "", 0},
        {"b.htm", "HTTP://example.org", LinkKind::web, "HTTP://example.org", "", 0},
        {"b.htm", "httpx://example.org", LinkKind::none, "", "", 0},
        {"b.htm", "file:///etc/passwd", LinkKind::none, "", "", 0},
        {"b.htm", "javascript:alert(1)", LinkKind::none, "", "", 0},
        {"b.htm", "c:\\x.htm", LinkKind::none, "", "", 0},
    };
    for (const Case& c : cases) {
        const help::Link link = help::resolveLink(c.page, c.href);
        EXPECT_EQ(link.kind, c.kind) << c.href;
        EXPECT_EQ(link.kind == LinkKind::web ? link.url : link.page, c.target) << c.href;
        EXPECT_EQ(link.fragment, c.fragment) << c.href;
        EXPECT_EQ(link.appNumber, c.number) << c.href;
    }
}
