// The help popup on a real display (an Xvfb of the test's own): what the
// window manager is told, the focus it takes, paging by XTest keys, a click
// outside closing it, its own loop, and the work area from XRandR and
// _NET_WORKAREA.

#include "web_test_support.h"

#include "common/help_popup.h"
#include "gui/x11_fixture.h"
#include "platform/system/folders.h"

#include <X11/Xatom.h>

#include <functional>

namespace {

using help::CHelpPopup;

// Runs one step of a script each time the owner's timer fires; steps return
// true when done, false to be tried again at the next tick.
struct Owner : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        if (message.kind == platform::MessageKind::Timer && next < steps.size() && steps[next]())
            ++next;
        return true;
    }
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
};

class X11HelpPopupTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (HasFatalFailure())
            return;
        ownerWindow = topLevel({100, 100, 700, 600}, &owner);
        ownerWindow->takeFocus();
        settle();
        popup = std::make_unique<CHelpPopup>(*windows, ownerWindow.get());
    }
    void TearDown() override
    {
        popup.reset();
        ownerWindow.reset();
        X11Test::TearDown();
    }

    // Pumps until the condition holds, at most a few seconds.
    bool pumpUntil(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 500; ++i) {
            settle();
            if (condition())
                return true;
            usleep(10000);
        }
        return false;
    }
    ::Window xFocus() const
    {
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(host, &focus, &revert);
        return focus;
    }
    std::vector<Atom> atoms(::Window w, const char* property) const
    {
        std::vector<Atom> out;
        Atom type = None;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(host, w, XInternAtom(host, property, False), 0, 32, False, AnyPropertyType, &type,
                               &format, &count, &rest, &data) == Success && data) {
            out.assign(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
            XFree(data);
        }
        return out;
    }
    bool shownAndFocused() const
    {
        return popup->isOpen() && popup->window()->isVisible() && xFocus() == popup->window()->handle();
    }

    Owner owner;
    std::unique_ptr<platform::Window> ownerWindow;
    std::unique_ptr<CHelpPopup> popup;
};

} // namespace

TEST_F(X11HelpPopupTest, XTestKeysPageTheRealPopupAndAClickOutsideClosesIt)
{
    ASSERT_TRUE(popup->open(programHelpFile(), "Keys_PE_1.htm", 110, 137));
    ASSERT_TRUE(pumpUntil([this] { return shownAndFocused(); }));
    const ::Window xid = popup->window()->handle();

    // Told to the window manager: no frame, above, off the taskbar, over its owner.
    const std::vector<Atom> state = atoms(xid, "_NET_WM_STATE");
    for (const char* wanted : {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR"})
        EXPECT_NE(std::find(state.begin(), state.end(), XInternAtom(host, wanted, False)), state.end()) << wanted;
    const std::vector<Atom> motif = atoms(xid, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[0] & 2, 2u);
    EXPECT_EQ(motif[2], 0u);
    ::Window over = 0;
    EXPECT_TRUE(XGetTransientForHint(host, xid, &over));
    EXPECT_EQ(over, ownerWindow->handle());

    tap(XK_Right);
    ASSERT_TRUE(pumpUntil([this] { return popup->isOpen() && web::getBrowser(*popup->window())->page() == "Keys_PE_2.htm"; }));
    EXPECT_EQ(popup->page(), "Keys_PE_2.htm");

    // What the screen shows once the popup has fitted the new page: the page
    // framed, with its ink, without the paging links (blue) it hides.
    platform::Image shot;
    const auto linkBlue = [](const platform::Image& image) {
        int count = 0;
        for (int32_t y = 0; y < image.height(); ++y)
            for (int32_t x = 0; x < image.width(); ++x)
                count += image.pixelAt(x, y).blue > image.pixelAt(x, y).red + 100;
        return count;
    };
    EXPECT_TRUE(pumpUntil([&] {
        shot = grab(xid);
        return linkBlue(shot) == 0;
    }));
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(shot.writePng("screenshots/help_popup.png"));
    ASSERT_EQ(shot.width(), 503);
    int inked = 0;
    for (int32_t y = 0; y < shot.height(); ++y)
        for (int32_t x = 1; x < shot.width() - 1; ++x)
            inked += shot.pixelAt(x, y).red < 120;
    EXPECT_GT(inked, 1000);
    EXPECT_EQ(shot.pixelAt(0, 40), platform::rgb(100, 104, 112));

    const platform::Point origin = ownerWindow->screenOrigin();
    clickAt({origin.x + 580, origin.y + 480});
    EXPECT_TRUE(pumpUntil([this] { return !popup->isOpen(); }));
    EXPECT_EQ(popup->result(), CHelpPopup::kCancelled);
}

TEST_F(X11HelpPopupTest, ShowPageRunsItsOwnLoopUntilAKeyClosesIt)
{
    owner.steps = {
        [this] { return shownAndFocused(); },
        [this] {
            tap(XK_Right);
            return true;
        },
        [this] { return popup->isOpen() && popup->page() == "Keys_PE_2.htm" && !web::isLoading(*popup->window()); },
        [this] {
            tap(XK_Escape);
            return true;
        },
    };
    ownerWindow->setTimer(1, 20);
    EXPECT_TRUE(popup->showPage(programHelpFile(), "Keys_PE_1.htm", 110, 137));
    EXPECT_FALSE(popup->isOpen());
    EXPECT_EQ(owner.next, owner.steps.size());
    EXPECT_EQ(popup->page(), "Keys_PE_2.htm");
    EXPECT_EQ(CHelpPopup::loadBudget(), CHelpPopup::kLoadBudgetMs);
    // The key that closed it gave the focus back to the owner.
    EXPECT_TRUE(pumpUntil([this] { return ownerWindow->hasFocus(); }));
}

TEST_F(X11HelpPopupTest, TheWorkAreaIsTheMonitorCutToTheDesktopsWorkArea)
{
    EXPECT_EQ(windows->workArea({10, 10, 20, 20}), (platform::Rect{0, 0, 1024, 768}));
    const ::Window root = DefaultRootWindow(host);
    const long area[8] = {0, 0, 1024, 768, 0, 24, 1024, 716};
    XChangeProperty(host, root, XInternAtom(host, "_NET_WORKAREA", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(area), 8);
    const long desktop = 1;
    XChangeProperty(host, root, XInternAtom(host, "_NET_CURRENT_DESKTOP", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&desktop), 1);
    XSync(host, False);
    EXPECT_EQ(windows->workArea({1000, 700, 1100, 800}), (platform::Rect{0, 24, 1024, 740}));
}
