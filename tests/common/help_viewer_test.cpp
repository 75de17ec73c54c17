// The help viewer without a display: the page with its contents beside it, a
// search typed and then run, Back, and its end with its owner.

#include "web_test_support.h"

#include "common/help_archive.h"
#include "common/help_viewer.h"
#include "platform/key_table.h"
#include "platform/system/folders.h"

#include <algorithm>

namespace {

using help::HelpCommand;
using help::HelpViewer;
using platform::Point;

struct Owner : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage&) override { return true; }
};

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {20, 20, 820, 620};
        options.handler = &owner;
        ownerWindow = system.createWindow(options);
        viewer = std::make_unique<HelpViewer>(system);
    }
    void TearDown() override { viewer.reset(); }

    // The middle of a row of the pane's list.
    Point rowPoint(int32_t row) const
    {
        const int32_t top = HelpViewer::kStripHeight + HelpViewer::kTabHeight + 4;
        return {60, top + (row - viewer->firstRow()) * HelpViewer::kRowHeight + HelpViewer::kRowHeight / 2};
    }
    int32_t contentsRow(const char* page) const
    {
        const auto& rows = viewer->contents();
        const auto found = std::find_if(rows.begin(), rows.end(), [page](const auto& r) { return r.page == page; });
        return found == rows.end() ? -1 : int32_t(found - rows.begin());
    }
    void type(const std::string& text)
    {
        for (char c : text)
            system.pressKey(uint8_t(std::toupper(static_cast<unsigned char>(c))));
        system.pump();
    }

    platform::HeadlessWindowSystem system;
    Owner owner;
    std::unique_ptr<platform::Window> ownerWindow;
    std::unique_ptr<HelpViewer> viewer;
};

std::vector<std::string> pagesOf(const std::vector<help::SearchHit>& hits)
{
    std::vector<std::string> pages;
    for (const auto& hit : hits)
        pages.push_back(hit.page);
    return pages;
}

} // namespace

TEST_F(HelpViewerTest, ShowsThePageWithTheContentsBesideIt)
{
    ASSERT_TRUE(viewer->show(*ownerWindow, programPage("PE_Volume.htm"), HelpCommand::contents));
    system.pump();
    platform::Window& window = *viewer->window();
    EXPECT_EQ(system.title(window), "Quorbel Help");
    EXPECT_EQ(system.focusWindow(), &window);
    EXPECT_EQ(viewer->page(), "PE_Volume.htm");
    EXPECT_EQ(viewer->tab(), HelpViewer::Tab::contents);

    // The contents page's links, as deep as their lists, and its headings.
    const auto& rows = viewer->contents();
    ASSERT_GT(rows.size(), 40u);
    EXPECT_EQ(rows[0].text, "Welcome to Quorbel");
    EXPECT_EQ(rows[0].depth, 0);
    EXPECT_EQ(rows[3].page, "");   // "The pages"
    EXPECT_EQ(rows[contentsRow("PE_Volume.htm")].depth, 1);
    EXPECT_EQ(viewer->selectedRow(), contentsRow("PE_Volume.htm"));
    // Every link of the contents names a page of the archive.
    help::Archive archive(programHelpFile());
    for (const auto& row : rows)
        EXPECT_TRUE(row.page.empty() || archive.contains(row.page)) << row.page;

    // A click on a row opens its page; Back returns.
    system.click(window, rowPoint(contentsRow("GettingStarted.htm")));
    system.pump();
    EXPECT_EQ(viewer->page(), "GettingStarted.htm");
    EXPECT_EQ(viewer->selectedRow(), contentsRow("GettingStarted.htm"));
    system.click(window, {HelpViewer::kBackButton.left + 5, HelpViewer::kBackButton.top + 5});
    system.pump();
    EXPECT_EQ(viewer->page(), "PE_Volume.htm");

    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(system.captureScreen().writePng("screenshots/help_viewer.png"));
}

TEST_F(HelpViewerTest, SearchIsTypedNotRunThenRunsWithoutRegardToCase)
{
    ASSERT_TRUE(viewer->show(*ownerWindow, programPage("Welcome.htm"), HelpCommand::search, "culture"));
    system.pump();
    EXPECT_EQ(viewer->tab(), HelpViewer::Tab::search);
    EXPECT_EQ(viewer->searchText(), "culture");
    EXPECT_FALSE(viewer->searchRun());
    EXPECT_TRUE(viewer->searchHits().empty());

    system.pressKey(platform::kWinReturn);
    system.pump();
    EXPECT_TRUE(viewer->searchRun());
    EXPECT_TRUE(viewer->searchHits().empty());   // no page speaks of it

    // The same pages for any case of the query, typed or given.
    for (int i = 0; i < 7; ++i)
        system.pressKey(platform::kWinBack);
    type("vibrato");
    EXPECT_EQ(viewer->searchText(), "vibrato");
    system.pressKey(platform::kWinReturn);
    system.pump();
    const std::vector<std::string> found = pagesOf(viewer->searchHits());
    EXPECT_NE(std::find(found.begin(), found.end(), "FX_Hxx.htm"), found.end());
    for (const char* query : {"VIBRATO", "ViBrAtO"}) {
        viewer->show(*ownerWindow, programPage("Welcome.htm"), HelpCommand::search, query);
        viewer->runSearch();
        EXPECT_EQ(pagesOf(viewer->searchHits()), found) << query;
    }
    // Every word must be there.
    viewer->show(*ownerWindow, programPage("Welcome.htm"), HelpCommand::search, "vibrato  culture");
    viewer->runSearch();
    EXPECT_TRUE(viewer->searchHits().empty());

    // A hit opens its page.
    viewer->show(*ownerWindow, programPage("Welcome.htm"), HelpCommand::search, "vibrato");
    viewer->runSearch();
    system.pump();
    const int32_t listTop = HelpViewer::kListTopicsButton.bottom + 28;
    system.click(*viewer->window(), {60, listTop + HelpViewer::kRowHeight / 2});
    system.pump();
    EXPECT_EQ(viewer->page(), found[0]);
}

TEST_F(HelpViewerTest, AnAddressOutsideTheHelpOpensNothing)
{
    EXPECT_FALSE(viewer->show(*ownerWindow, programPage("Nowhere.htm"), HelpCommand::topic));
    EXPECT_FALSE(viewer->show(*ownerWindow, "Welcome.htm", HelpCommand::topic));
    EXPECT_FALSE(viewer->show(*ownerWindow, help::formatAddress("/nonexistent/help.chm", "Welcome.htm"),
                              HelpCommand::topic));
    EXPECT_FALSE(viewer->isOpen());
}

TEST_F(HelpViewerTest, ClosesWithItsOwnerOrWhenClosed)
{
    ASSERT_TRUE(viewer->show(*ownerWindow, programPage("Welcome.htm"), HelpCommand::topic));
    system.pump();
    ownerWindow.reset();
    system.advance(HelpViewer::kOwnerTimerMs);
    system.pump();
    EXPECT_FALSE(viewer->isOpen());

    PageWindow other(system);
    ASSERT_TRUE(viewer->show(*other.window, programPage("Welcome.htm"), HelpCommand::topic));
    ASSERT_TRUE(viewer->isOpen());
    viewer->close();
    EXPECT_FALSE(viewer->isOpen());
}
