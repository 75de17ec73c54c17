// The help popup without a display: where it opens and how large, paging
// through the key pages, what closes it, and how it keeps to the monitor.

#include "web_test_support.h"

#include "common/help_popup.h"
#include "common/help_viewer.h"
#include "platform/key_table.h"

namespace {

using help::CHelpPopup;
using platform::Point;
using platform::Rect;
using platform::rgb;

struct Owner : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage&) override { return true; }
};

class HelpPopupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {100, 80, 900, 680};
        options.handler = &owner;
        ownerWindow = system.createWindow(options);
        ownerWindow->takeFocus();
        popup = std::make_unique<CHelpPopup>(system, ownerWindow.get());
    }
    void TearDown() override { popup.reset(); }

    // Passes of the window system 10 ms apart: enough for a page to load
    // and the popup to fit it.
    void settle()
    {
        for (int i = 0; i < 10; ++i) {
            system.advance(CHelpPopup::kLoadTimerMs);
            system.pump();
        }
    }
    void open(const char* page, Point at)
    {
        ASSERT_TRUE(popup->open(programHelpFile(), page, at.x, at.y)) << page;
        settle();
        ASSERT_TRUE(popup->isOpen()) << page;
        ASSERT_TRUE(popup->window()->isVisible()) << page;
    }
    void press(uint8_t key)
    {
        system.pressKey(key);
        settle();
    }
    Rect popupRect() const { return popup->window()->rect(); }

    platform::HeadlessWindowSystem system;
    Owner owner;
    std::unique_ptr<platform::Window> ownerWindow;
    std::unique_ptr<CHelpPopup> popup;
};

template <typename Test>
int countPixels(const platform::Image& image, const Rect& area, const Test& test)
{
    int count = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            count += test(image.pixelAt(x, y));
    return count;
}

bool paper(platform::Colour c) { return c == rgb(255, 255, 255); }
bool ink(platform::Colour c) { return c.red + c.green + c.blue < 3 * 140; }
bool linkBlue(platform::Colour c) { return c.blue > c.red + 100; }

} // namespace

TEST_F(HelpPopupTest, OpensBesideTheOwnerSizedByItsTableWithItsOwnHint)
{
    open("Keys_PE_1.htm", {100 + 10, 80 + 37});
    platform::Window& window = *popup->window();
    EXPECT_EQ(system.focusWindow(), &window);
    EXPECT_TRUE(system.isTool(window));
    EXPECT_TRUE(system.keptAbove(window));
    EXPECT_EQ(system.title(window), "Quorbel Help");
    EXPECT_EQ(window.className(), "QuorbelHelp");

    // At the point asked for; 495 wide with the body's margins of 4 around.
    const Rect at = popupRect();
    EXPECT_EQ(at.left, 110);
    EXPECT_EQ(at.top, 117);
    EXPECT_EQ(at.width(), 495 + 4 + 4);
    EXPECT_EQ(at.height(), web::getBrowser(window)->firstTableBox().height() + 4 + 4);

    // The table fills it to the bottom margin: ink just above, paper in it
    // (inside the frame's line).
    const platform::Image& image = window.image();
    const Rect margin{1, at.height() - 4, at.width() - 1, at.height() - 1};
    EXPECT_EQ(countPixels(image, margin, paper), margin.width() * margin.height());
    EXPECT_GT(countPixels(image, {0, at.height() - 20, at.width(), at.height() - 4}, ink), 40);
    // The paging links are hidden and the popup's own hint shows at the top.
    EXPECT_EQ(countPixels(image, image.bounds(), linkBlue), 0);
    EXPECT_GT(countPixels(image, {0, 0, at.width(), 18}, ink), 40);
}

TEST_F(HelpPopupTest, ArrowsAndPageKeysWalkTheChainOfKeyPages)
{
    struct Case {
        const char* start;
        std::vector<uint8_t> keys;
        const char* shown;
    };
    using namespace platform;
    const Case cases[] = {
        {"Keys_PE_1.htm", {kWinRight, kWinRight, kWinRight}, "Keys_PE_1.htm"},
        {"Keys_PE_1.htm", {kWinLeft}, "Keys_PE_3.htm"},
        {"Keys_PE_3.htm", {kWinRight}, "Keys_PE_1.htm"},
        {"Keys_PE_2.htm", {kWinNext}, "Keys_PE_3.htm"},
        {"Keys_PE_2.htm", {kWinPrior, kWinUp}, "Keys_PE_3.htm"},
        {"keys_pe_1.htm", {kWinDown}, "Keys_PE_2.htm"},
    };
    for (const Case& c : cases) {
        popup = std::make_unique<CHelpPopup>(system, ownerWindow.get());
        open(c.start, {110, 117});
        for (uint8_t key : c.keys)
            press(key);
        ASSERT_TRUE(popup->isOpen()) << c.start;
        EXPECT_EQ(popup->page(), c.shown) << c.start;
        EXPECT_EQ(web::getBrowser(*popup->window())->page(), c.shown) << c.start;
        EXPECT_EQ(popupRect().width(), 503) << c.start;   // fitted to each page in turn
        EXPECT_EQ(popupRect().left, 110) << c.start;
    }
}

TEST_F(HelpPopupTest, AnotherKeyOrAnArrowWithoutANeighbourClosesIt)
{
    struct Case {
        const char* page;
        uint8_t key;
    };
    using namespace platform;
    const Case cases[] = {
        {"Keys_SL_1.htm", kWinRight}, {"Keys_SL_1.htm", kWinLeft}, {"Keys_SL_1.htm", kWinUp},
        {"Keys_PR_1.htm", kWinNext},  {"Keys_PE_1.htm", 'A'},      {"Keys_PE_1.htm", kWinEscape},
        {"Keys_PE_1.htm", kWinF1},    {"Welcome.htm", kWinRight},
    };
    for (const Case& c : cases) {
        popup = std::make_unique<CHelpPopup>(system, ownerWindow.get());
        open(c.page, {110, 117});
        press(c.key);
        EXPECT_FALSE(popup->isOpen()) << c.page << " " << int(c.key);
        EXPECT_EQ(popup->result(), CHelpPopup::kCancelled);
        EXPECT_EQ(system.focusWindow(), ownerWindow.get()) << c.page << " " << int(c.key);
    }
    // A page the help lacks, or a help file not there, opens nothing.
    EXPECT_FALSE(popup->open(programHelpFile(), "Keys_XX_9.htm", 110, 117));
    EXPECT_FALSE(popup->open("/nonexistent/help.chm", "Keys_PE_1.htm", 110, 117));
    EXPECT_FALSE(popup->isOpen());
}

TEST_F(HelpPopupTest, LosingTheFocusClosesIt)
{
    open("Keys_PE_1.htm", {110, 117});
    system.click(*ownerWindow, {400, 500});
    settle();
    EXPECT_FALSE(popup->isOpen());
    EXPECT_EQ(popup->result(), CHelpPopup::kCancelled);
    EXPECT_EQ(system.focusWindow(), ownerWindow.get());
}

TEST_F(HelpPopupTest, KeepsToTheWorkAreaOfTheNearestMonitor)
{
    open("Keys_PE_1.htm", {110, 117});
    const Rect fitted = popupRect();

    struct Case {
        std::vector<Rect> monitors;
        Rect desktopWorkArea;
        Point at;
        Rect expected;
    };
    const int32_t w = fitted.width();
    const int32_t h = fitted.height();
    const Case cases[] = {
        // Near the bottom right: up and left, just enough.
        {{{0, 0, 1024, 768}}, {}, {1000, 740}, {1024 - w, 768 - h, 1024, 768}},
        // Above and left of the screen: down and right.
        {{{0, 0, 1024, 768}}, {}, {-50, -20}, {0, 0, w, h}},
        // The second monitor, above a panel the desktop keeps free.
        {{{0, 0, 1024, 768}, {1024, 0, 2048, 768}}, {0, 0, 2048, 740}, {1900, 700}, {2048 - w, 740 - h, 2048, 740}},
        {{{0, 0, 1024, 768}, {1024, 0, 2048, 768}}, {0, 0, 2048, 740}, {1030, 10}, {1030, 10, 1030 + w, 10 + h}},
        // Larger than the work area: cut to it, its top-left inside.
        {{{0, 0, 400, 300}}, {}, {50, 50}, {0, 0, 400, 300}},
    };
    for (const Case& c : cases) {
        system.setMonitors(c.monitors, c.desktopWorkArea);
        popup = std::make_unique<CHelpPopup>(system, ownerWindow.get());
        open("Keys_PE_1.htm", c.at);
        EXPECT_EQ(popupRect(), c.expected) << c.at.x << "," << c.at.y;
    }
    // Cut short, the page scrolls.
    const web::WebView& view = *web::getBrowser(*popup->window());
    EXPECT_EQ(view.area(), (Rect{0, 0, 400, 300}));
    EXPECT_GT(view.documentHeight(), 300);
}

TEST_F(HelpPopupTest, TheViewerAndThePopupShowTheirPagesAtOnce)
{
    help::HelpViewer viewer(system);
    ASSERT_TRUE(viewer.show(*ownerWindow, programPage("Welcome.htm"), help::HelpCommand::topic));
    system.pump();
    open("Keys_PE_1.htm", {110, 117});
    EXPECT_EQ(viewer.page(), "Welcome.htm");
    EXPECT_EQ(popup->page(), "Keys_PE_1.htm");
    press(platform::kWinRight);
    EXPECT_EQ(web::getBrowser(*popup->window())->page(), "Keys_PE_2.htm");
    EXPECT_EQ(viewer.page(), "Welcome.htm");
    press(platform::kWinEscape);
    EXPECT_FALSE(popup->isOpen());
    EXPECT_TRUE(viewer.isOpen());
    EXPECT_EQ(viewer.page(), "Welcome.htm");
}
