// The embedded web page: our pages laid out with their style sheet and
// drawn, completion on the next pass, and what each kind of link does.

#include "web_test_support.h"

#include "platform/graphics/canvas.h"

#include <climits>

namespace {

using platform::rgb;
using web::Navigation;

int countPixels(const platform::Image& image, const platform::Rect& area, platform::Colour colour)
{
    int count = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            count += image.pixelAt(x, y) == colour;
    return count;
}

// A link that fills the top of its page, so a click at (20, 20) hits it.
std::string pageWithLink(const std::string& href, const std::string& more = {})
{
    return "<html><body style=\"margin:0\"><a href=\"" + href +
           "\" style=\"display:block;height:60px\">the link</a>" + more + "</body></html>";
}

class WebPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = std::make_unique<PageWindow>(system);
        ASSERT_EQ(web::embedBrowser(*page->window), web::kEmbedded);
    }
    void TearDown() override { page.reset(); }

    void click(platform::Point at)
    {
        system.click(*page->window, at);
        system.pump();
    }

    platform::HeadlessWindowSystem system;
    std::unique_ptr<PageWindow> page;
    ScratchFolder folder;
};

} // namespace

TEST_F(WebPageTest, ShowsOurPageWithItsStyleSheetAndCompletesOnTheNextPass)
{
    EXPECT_EQ(web::displayPage(*page->window, programPage("Welcome.htm")), web::kEmbedded);
    EXPECT_TRUE(web::isLoading(*page->window));
    system.pump();
    EXPECT_FALSE(web::isLoading(*page->window));
    EXPECT_EQ(page->view().title(), "Welcome to Quorbel");
    EXPECT_EQ(page->view().page(), "Welcome.htm");
    EXPECT_FALSE(page->view().pageMissing());

    // help.css came from the archive: the heading's colour, and the header's
    // rule across the page.
    const platform::Image& image = page->window->image();
    EXPECT_GT(countPixels(image, {0, 20, 400, 70}, rgb(0x2b, 0x3d, 0x56)), 40);
    int ruleRows = 0;
    for (int32_t y = 0; y < 40; ++y)
        ruleRows += countPixels(image, {14, y, 600, y + 1}, rgb(0xc8, 0xcd, 0xd4)) > 500;
    EXPECT_EQ(ruleRows, 1);
    EXPECT_TRUE(page->posted.empty());   // the page's own notice is not the window's
}

TEST_F(WebPageTest, AppLinksBlankThePageAndPostTheirNumberToTheWindow)
{
    struct Case {
        const char* address;
        uint32_t number;
    };
    const Case cases[] = {
        {"app:12", 12}, {"app:", 0}, {"APP:  7x", 7}, {"app:\t42", 42}, {"app:99999999999", INT32_MAX}, {"App:abc", 0},
    };
    for (const Case& c : cases) {
        web::displayPage(*page->window, programPage("Welcome.htm"));
        system.pump();
        page->posted.clear();
        EXPECT_EQ(web::displayPage(*page->window, c.address), web::kEmbedded) << c.address;
        system.pump();
        EXPECT_EQ(page->view().address(), "about:blank") << c.address;
        EXPECT_EQ(countPixels(page->window->image(), {0, 0, 640, 480}, rgb(255, 255, 255)), 640 * 480) << c.address;
        ASSERT_EQ(page->posted.size(), 1u) << c.address;
        EXPECT_EQ(page->posted[0], std::make_pair(web::kAppLinkMessage, c.number)) << c.address;
    }

    // Clicked in a page, the same.
    const std::string archive = makeArchive(folder, {{"a.htm", pageWithLink("app:12")}});
    web::displayPage(*page->window, help::formatAddress(archive, "a.htm"));
    system.pump();
    page->posted.clear();
    click({20, 20});
    system.pump();
    EXPECT_EQ(page->view().address(), "about:blank");
    EXPECT_EQ(page->posted, (std::vector<std::pair<uint32_t, uint32_t>>{{web::kAppLinkMessage, 12}}));
}

TEST_F(WebPageTest, WebLinksRunTheDesktopBrowserWithTheAddressAsItsOneArgument)
{
    StandInBrowser browser;
    const std::string web = "https://example.org/a b?x=1;y=$(id)";
    const std::string archive = makeArchive(folder, {{"file.htm", pageWithLink("file:///etc/passwd")},
                                                     {"mail.htm", pageWithLink("mailto:someone@example.org")},
                                                     {"web.htm", pageWithLink(web)}});
    // Links of other schemes do nothing and leave the page.
    for (const char* name : {"file.htm", "mail.htm"}) {
        const std::string address = help::formatAddress(archive, name);
        web::displayPage(*page->window, address);
        system.pump();
        click({20, 20});
        EXPECT_EQ(page->view().address(), address);
        EXPECT_FALSE(page->view().isLoading());
    }
    EXPECT_EQ(page->view().navigate("file:///etc/passwd"), Navigation::ignored);
    EXPECT_EQ(page->view().navigate("javascript:alert(1)"), Navigation::ignored);

    const std::string address = help::formatAddress(archive, "web.htm");
    web::displayPage(*page->window, address);
    system.pump();
    click({20, 20});
    EXPECT_EQ(page->view().address(), address);
    // One run only (the file and mail links ran nothing), one argument, as it was.
    EXPECT_EQ(browser.waitForRun(), std::vector<std::string>{"1|" + web});
    EXPECT_TRUE(page->posted.empty());
}

TEST_F(WebPageTest, TextThatIsNoAddressIsRefusedAndChangesNothing)
{
    web::displayPage(*page->window, programPage("Welcome.htm"));
    system.pump();
    for (const char* text : {"Welcome.htm", "", "::/", "no-archive-here"}) {
        EXPECT_EQ(web::displayPage(*page->window, text), web::kBadAddress) << text;
        EXPECT_FALSE(web::isLoading(*page->window)) << text;
        EXPECT_EQ(page->view().page(), "Welcome.htm") << text;
    }
}

TEST_F(WebPageTest, OurLinksOpenInPlaceFragmentsScrollAndBackReturns)
{
    const std::string tall(40, 'x');
    std::string filler;
    for (int i = 0; i < 80; ++i)
        filler += "<p>" + tall + "</p>";
    const std::string archive =
        makeArchive(folder, {{"a.htm", pageWithLink("sub/B.HTM#far")},
                             {"sub/b.htm", "<html><body>" + filler + "<h2 id=\"far\">Far</h2>" + filler +
                                               "<p><a href=\"../missing.htm\">gone</a></p></body></html>"}});
    web::displayPage(*page->window, help::formatAddress(archive, "a.htm"));
    system.pump();
    click({20, 20});
    EXPECT_TRUE(page->view().isLoading());
    system.pump();
    EXPECT_EQ(page->view().page(), "sub/B.HTM");   // names are found without regard to case
    EXPECT_FALSE(page->view().pageMissing());
    EXPECT_GT(page->view().scrollY(), 1000);

    // The wheel scrolls; the page keeps within its length.
    const int32_t before = page->view().scrollY();
    system.injectWheel(*page->window, {100, 100}, -120);
    system.pump();
    EXPECT_GT(page->view().scrollY(), before);
    page->view().scrollTo(1 << 30);
    EXPECT_EQ(page->view().scrollY(), page->view().documentHeight() - 480);

    EXPECT_TRUE(page->view().goBack());
    EXPECT_EQ(page->view().page(), "a.htm");
    EXPECT_FALSE(page->view().goBack());

    // A page the archive lacks shows an error page, not the old page.
    web::displayPage(*page->window, help::formatAddress(archive, "nowhere.htm"));
    system.pump();
    EXPECT_TRUE(page->view().pageMissing());
    EXPECT_EQ(page->view().title(), "Page not found");
}

TEST_F(WebPageTest, PicturesComeFromTheArchive)
{
    platform::Image red(6, 4, rgb(220, 0, 0));
    ScratchFolder drawn;
    ASSERT_TRUE(red.writePng(drawn.file("red.png")));
    const std::string archive = makeArchive(
        folder, {{"pictures/p.htm", "<html><body style=\"margin:0\"><img src=\"../red.png\" width=\"12\" height=\"8\" style=\"display:block\"/>"
                                    "<div style=\"background:url(../red.png) repeat-x;height:4px\"></div>"
                                    "<img src=\"../absent.png\"/></body></html>"},
                 {"red.png", readWholeFile(drawn.file("red.png"))}});
    web::displayPage(*page->window, help::formatAddress(archive, "pictures/p.htm"));
    system.pump();
    const platform::Image& image = page->window->image();
    EXPECT_EQ(countPixels(image, {0, 0, 12, 8}, rgb(220, 0, 0)), 12 * 8);   // scaled to its size
    EXPECT_EQ(image.pixelAt(12, 2), rgb(255, 255, 255));
    int stripe = 0;
    for (int32_t y = 8; y < 30; ++y)
        stripe += countPixels(image, {0, y, 640, y + 1}, rgb(220, 0, 0)) == 640;
    EXPECT_EQ(stripe, 4);   // the background tiled across the page
}

TEST(WebPage, EachWindowHoldsItsOwnPage)
{
    platform::HeadlessWindowSystem system;
    PageWindow first(system);
    PageWindow second(system, {700, 0, 1000, 300});
    ASSERT_EQ(web::embedBrowser(*first.window), web::kEmbedded);
    EXPECT_EQ(web::embedBrowser(*first.window), web::kCannotCreate);
    ASSERT_EQ(web::embedBrowser(*second.window), web::kEmbedded);
    web::displayPage(*first.window, programPage("Welcome.htm"));
    web::displayPage(*second.window, programPage("Keys_PE_1.htm"));
    system.pump();
    EXPECT_EQ(first.view().page(), "Welcome.htm");
    EXPECT_EQ(second.view().page(), "Keys_PE_1.htm");
    EXPECT_EQ(second.view().area(), (platform::Rect{0, 0, 300, 300}));
}

TEST(WebPage, AWindowThatIsGoneRefusesAndKeepsItsLoadingFlag)
{
    platform::HeadlessWindowSystem system;
    PageWindow parent(system);
    PageWindow child(system);
    platform::WindowOptions options;
    options.parent = parent.window.get();
    options.rect = {10, 10, 210, 110};
    options.handler = &child;
    child.window = system.createWindow(options);
    ASSERT_EQ(web::embedBrowser(*child.window), web::kEmbedded);
    web::WebView* view = web::getBrowser(*child.window);
    web::displayPage(*child.window, programPage("Welcome.htm"));
    ASSERT_TRUE(view->isLoading());

    parent.window.reset();   // takes the child with it
    ASSERT_FALSE(child.window->alive());
    EXPECT_EQ(web::displayPage(*child.window, programPage("Keys_PE_1.htm")), web::kNoWindow);
    EXPECT_EQ(web::getBrowser(*child.window), nullptr);
    EXPECT_TRUE(view->isLoading());
    EXPECT_EQ(view->page(), "Welcome.htm");
}
