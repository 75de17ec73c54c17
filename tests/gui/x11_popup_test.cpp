#include "platform/dialogs/menu_panel.h"
#include "platform/system/folders.h"
#include "x11_fixture.h"

#include <functional>

namespace {

using platform::PopupMenu;

std::shared_ptr<PopupMenu> sampleMenu()
{
    auto sub = std::make_shared<PopupMenu>();
    sub->rows = {{"Sub &A", 6, 0, 0, nullptr}, {"Sub &B\tCtrl+B", 7, 0, 0, nullptr}};
    auto menu = std::make_shared<PopupMenu>();
    menu->rows = {
        {"&Open\tCtrl+O", 0, 0, 0, nullptr},
        {"&Save", 1, PopupMenu::kChecked, 0, nullptr},
        {"", 2, PopupMenu::kSeparator, 0, nullptr},
        {"Grey", 3, PopupMenu::kGrayed, 0, nullptr},
        {"Title", 4, PopupMenu::kDisabled, 0, nullptr},
        {"&More", 5, 0, 0, sub},
        {"&Last && least", 8, 0, 0, nullptr},
    };
    return menu;
}

constexpr platform::Point kAt{200, 150};
constexpr int kOpen = 0, kSave = 1, kGrey = 3, kTitle = 4, kMore = 5, kLast = 6;

// Runs one step of a script each time its timer fires inside the popup's loop.
struct Script : platform::WindowHandler {
    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        if (message.kind != platform::MessageKind::Timer)
            return false;
        if (next < steps.size())
            steps[next++]();
        else if (++spare > 20 && fallback)
            fallback();   // the menu should be gone; end it if not
        return true;
    }
    std::vector<std::function<void()>> steps;
    std::function<void()> fallback;
    size_t next = 0;
    int spare = 0;
};

class X11PopupTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (HasFatalFailure())
            return;
        owner = topLevel({20, 20, 420, 320}, &script);
        menu = sampleMenu();
        top = std::make_unique<platform::MenuPanel>(*menu, nullptr);
        placed = platform::placeMenu(kAt, top->width(), top->height(), screen());
        script.fallback = [this] { tap(XK_Escape); };
    }

    void TearDown() override
    {
        owner.reset();   // before its window system
        X11Test::TearDown();
    }

    platform::Rect screen() const
    {
        return {0, 0, DisplayWidth(host, DefaultScreen(host)), DisplayHeight(host, DefaultScreen(host))};
    }
    // The screen point in the middle of a row of the top menu.
    platform::Point rowPoint(int row) const
    {
        const platform::Rect r = top->rowRect(row);
        return {placed.left + (r.left + r.right) / 2, placed.top + (r.top + r.bottom) / 2};
    }
    platform::Rect submenuPlace(platform::MenuPanel& sub) const
    {
        return platform::placeSubmenu(placed, top->rowRect(kMore).movedBy(placed.left, placed.top), sub.width(),
                                      sub.height(), screen());
    }

    // A step that does something, then waits until our side has the events.
    std::function<void()> step(std::function<void()> action)
    {
        return [this, action] {
            action();
            XSync(host, False);
            windows->sync();
        };
    }

    int32_t run(bool rightButton = false)
    {
        owner->setTimer(1, 15);
        const int32_t chosen = windows->trackPopup(*owner, *menu, kAt, rightButton);
        owner->killTimer(1);
        return chosen;
    }

    Script script;
    std::unique_ptr<platform::Window> owner;
    std::shared_ptr<PopupMenu> menu;
    std::unique_ptr<platform::MenuPanel> top;
    platform::Rect placed;
};

TEST_F(X11PopupTest, AClickOnARowChoosesItsIdZeroIncluded)
{
    for (int row : {kSave, kOpen, kLast}) {
        script = Script{};
        script.fallback = [this] { tap(XK_Escape); };
        script.steps = {step([&] { moveTo(rowPoint(row)); }), step([&] { button(1, true); }),
                        step([&] { button(1, false); })};
        EXPECT_EQ(run(), menu->rows[size_t(row)].id) << "row " << row;
    }
}

TEST_F(X11PopupTest, ARowOfASubmenuIsChosenThroughItsParentRow)
{
    platform::MenuPanel sub(*menu->rows[kMore].submenu, nullptr);
    const platform::Rect subPlace = submenuPlace(sub);
    const platform::Rect b = sub.rowRect(1);
    const platform::Point rowB{subPlace.left + (b.left + b.right) / 2, subPlace.top + (b.top + b.bottom) / 2};
    script.steps = {step([&] { moveTo(rowPoint(kMore)); }), step([&] { moveTo({rowB.x, rowB.y}); }),
                    step([&] { button(1, true); }), step([&] { button(1, false); })};
    EXPECT_EQ(run(), 7);
}

TEST_F(X11PopupTest, EscapeAndAClickOutsideDismissTheMenu)
{
    script.steps = {step([&] { moveTo(rowPoint(kSave)); }), step([&] { tap(XK_Escape); })};
    EXPECT_EQ(run(), -1);

    script = Script{};
    script.fallback = [this] { tap(XK_Escape); };
    script.steps = {step([&] { moveTo({5, 700}); }), step([&] { button(1, true); }), step([&] { button(1, false); })};
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(script.spare, 0) << "the click outside did not end the menu";
}

TEST_F(X11PopupTest, GreyDisabledAndSeparatorRowsChooseNothing)
{
    // Each click leaves the menu open; Escape then ends it.
    script.steps = {step([&] { moveTo(rowPoint(kGrey)); }), step([&] { button(1, true); }),
                    step([&] { button(1, false); }), step([&] { moveTo(rowPoint(kTitle)); }),
                    step([&] { button(1, true); }), step([&] { button(1, false); }),
                    step([&] { moveTo(rowPoint(2)); }), step([&] { button(1, true); }),
                    step([&] { button(1, false); }), step([&] { tap(XK_Escape); })};
    EXPECT_EQ(run(), -1);
}

TEST_F(X11PopupTest, TheOpeningPressReleasedUnmovedChoosesNothing)
{
    // The press that opens the menu is held over its first row.
    moveTo(rowPoint(kOpen));
    button(1, true);
    settle();   // the press reaches the owner, which opens the menu
    script.steps = {step([&] { button(1, false); }), step([&] { tap(XK_Down); }), step([&] { tap(XK_Down); }),
                    step([&] { tap(XK_Return); })};
    EXPECT_EQ(run(), 1);
}

TEST_F(X11PopupTest, WithLeftButtonTrackingTheRightButtonChoosesNothing)
{
    script.steps = {step([&] { moveTo(rowPoint(kSave)); }), step([&] { button(3, true); }),
                    step([&] { button(3, false); }), step([&] { tap(XK_Escape); })};
    EXPECT_EQ(run(false), -1);

    script = Script{};
    script.fallback = [this] { tap(XK_Escape); };
    script.steps = {step([&] { moveTo(rowPoint(kSave)); }), step([&] { button(3, true); }),
                    step([&] { button(3, false); })};
    EXPECT_EQ(run(true), 1);
}

TEST_F(X11PopupTest, KeysMoveAsInWindowsMenus)
{
    struct Case {
        std::vector<KeySym> keys;
        int32_t chosen;
    };
    const Case cases[] = {
        {{XK_Down, XK_Return}, 0},
        {{XK_Up, XK_Return}, 8},                       // wraps to the last row
        {{XK_Down, XK_Down, XK_Down, XK_Return}, -1},  // the grey row: nothing, then the fallback's Escape
        {{XK_s}, 1},                                   // a mnemonic
        {{XK_m, XK_Down, XK_Return}, 7},               // a mnemonic opens the submenu with its first row lit
        {{XK_End, XK_Up, XK_Right, XK_Return}, 6},
        {{XK_End, XK_Up, XK_Right, XK_Left, XK_Down, XK_Return}, 8},   // Left closes the submenu
        {{XK_m, XK_Escape, XK_Escape}, -1},
    };
    for (const Case& c : cases) {
        script = Script{};
        script.fallback = [this] { tap(XK_Escape); };
        for (KeySym sym : c.keys)
            script.steps.push_back(step([this, sym] { tap(sym); }));
        EXPECT_EQ(run(), c.chosen) << "keys starting " << XKeysymToString(c.keys.front());
    }
}

TEST_F(X11PopupTest, ThePopupWithItsSubmenuOpenAsAPersonSeesIt)
{
    platform::MenuPanel sub(*menu->rows[kMore].submenu, nullptr);
    const platform::Rect subPlace = submenuPlace(sub);
    platform::Image shot;
    const platform::Rect area{placed.left - 10, placed.top - 10, subPlace.right + 10, placed.bottom + 10};
    script.steps = {step([&] { moveTo(rowPoint(kMore)); }), step([&] {
                        const platform::Rect r = sub.rowRect(0);
                        moveTo({subPlace.left + r.left + 20, subPlace.top + (r.top + r.bottom) / 2});
                    }),
                    step([&] {
                        XImage* image = XGetImage(host, DefaultRootWindow(host), area.left, area.top,
                                                  unsigned(area.width()), unsigned(area.height()), AllPlanes, ZPixmap);
                        std::vector<uint32_t> pixels;
                        for (int y = 0; y < area.height(); ++y)
                            for (int x = 0; x < area.width(); ++x)
                                pixels.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFFu);
                        XDestroyImage(image);
                        shot = platform::Image::fromPixels(area.width(), area.height(), pixels.data());
                    }),
                    step([&] { tap(XK_Escape); }), step([&] { tap(XK_Escape); })};
    EXPECT_EQ(run(), -1);
    ASSERT_FALSE(shot.empty());
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(shot.writePng("screenshots/x11_popup.png"));

    // The parent row that opened the submenu and the submenu's first row are
    // lit; the menus are drawn where they were placed.
    const platform::Colour lit = platform::rgb(10, 36, 106);
    const platform::Rect more = top->rowRect(kMore);
    EXPECT_EQ(shot.pixelAt(placed.left - area.left + more.left + 2, placed.top - area.top + more.top + 2), lit);
    const platform::Rect a = sub.rowRect(0);
    EXPECT_EQ(shot.pixelAt(subPlace.left - area.left + a.left + 2, subPlace.top - area.top + a.top + 2), lit);
    const platform::Rect save = top->rowRect(kSave);
    EXPECT_EQ(shot.pixelAt(placed.left - area.left + save.left + 2, placed.top - area.top + save.top + 2),
              platform::rgb(212, 208, 200));
}

TEST_F(X11PopupTest, OurWindowsArePaintedAndTheHostsIdleRunsWhileTheMenuIsOpen)
{
    int idles = 0;
    windows->setModalIdle([&] { ++idles; });
    owner->invalidate({0, 0, 50, 50});
    bool painted = false;
    struct Painter : platform::WindowHandler {
        bool handleMessage(platform::Window& window, platform::WindowMessage& message) override
        {
            if (message.kind == platform::MessageKind::Paint)
                *flag = true;
            return script->handleMessage(window, message);
        }
        bool* flag;
        Script* script;
    } painter;
    painter.flag = &painted;
    painter.script = &script;
    owner->setHandler(&painter);
    int32_t nested = 0;
    // One popup at a time: a second one asked for from inside the first is refused.
    script.steps.push_back([&] { nested = windows->trackPopup(*owner, *menu, kAt, false); });
    for (int i = 0; i < 15; ++i)
        script.steps.push_back([] {});
    script.steps.push_back(step([&] { tap(XK_Escape); }));
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(nested, -1);
    EXPECT_TRUE(painted);
    EXPECT_GE(idles, 1);
    owner->setHandler(&script);
}

} // namespace
