#include "gui/bitmap.h"
#include "platform/headless/headless_window.h"
#include "platform/graphics/image.h"
#include "platform/system/folders.h"
#include "x11_fixture.h"

namespace {

// A view with text, an outline and a filled box, so that fonts and shapes
// both reach the screen.
class LabelView : public RecordingView {
public:
    explicit LabelView(const CRect& size, std::vector<std::string>* journal)
        : RecordingView(size, "label", journal, CColor{40, 40, 90, 0})
    {
    }
    void draw(CDrawContext* context) override
    {
        RecordingView::draw(context);
        context->setFrameColor(CColor{255, 255, 0, 0});
        context->drawRect(size);
        context->setFont(0);
        context->setFontColor(kWhiteCColor);
        context->drawString("Quorbel on X", size, false, kCenterText);
    }
};

// The same frame on any window system: the toolbar skin, a label and two
// coloured views side by side.
struct PaintedFrame {
    PaintedFrame(platform::Window* parent, std::vector<std::string>* journal)
        : frame(CRect(0, 0, 493, 80), parent, &editor)
    {
        CBitmap* skin = new CBitmap(103);
        frame.setBackground(skin);
        skin->forget();
        left = new RecordingView(CRect(10, 44, 120, 76), "left", journal, CColor{200, 30, 30, 0});
        right = new RecordingView(CRect(130, 44, 240, 76), "right", journal, CColor{30, 160, 60, 0});
        frame.addView(left);
        frame.addView(right);
        frame.addView(new LabelView(CRect(300, 40, 480, 70), journal));
    }
    RecordingEditor editor;
    CFrame frame;
    RecordingView* left;
    RecordingView* right;
};

platform::Image headlessRender()
{
    platform::HeadlessWindowSystem headless;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = {50, 60, 650, 460};
    auto top = headless.createWindow(options);
    PaintedFrame painted(top.get(), nullptr);
    headless.pump();
    return painted.frame.getWindow()->image().clone();
}

class X11FrameTest : public X11Test {};

TEST_F(X11FrameTest, AChildInTheHostsWindowShowsWhatTheHeadlessFramePaints)
{
    const ::Window parent = hostWindow({50, 60, 650, 460});
    platform::Window* hosted = windows->findWindow(parent);
    ASSERT_NE(hosted, nullptr);
    PaintedFrame painted(hosted, nullptr);
    ASSERT_NE(painted.frame.getWindow(), nullptr);
    const auto child = ::Window(painted.frame.getWindow()->handle());
    settle();
    settle();   // the exposure of the mapped child, painted again

    const platform::Image expected = headlessRender();
    const platform::Image shown = grab(child);
    EXPECT_EQ(differences(shown, expected), std::vector<std::string>{});
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(shown.writePng("screenshots/x11_frame.png"));

    // The host hides and shows its window: what was lost is painted again
    // from the exposure alone.
    XUnmapWindow(host, parent);
    XMapWindow(host, parent);
    XSync(host, False);
    EXPECT_FALSE(differences(grab(child), expected).empty());
    settle();
    EXPECT_EQ(differences(grab(child), expected), std::vector<std::string>{});
}

TEST_F(X11FrameTest, InA32BitParentTheChildIsOpaqueAndTheSame)
{
    XVisualInfo argb{};
    ASSERT_TRUE(XMatchVisualInfo(host, DefaultScreen(host), 32, TrueColor, &argb)) << "no 32-bit visual";
    const ::Window parent = hostWindow({50, 60, 650, 460}, &argb);
    PaintedFrame painted(windows->findWindow(parent), nullptr);
    ASSERT_NE(painted.frame.getWindow(), nullptr);
    settle();
    settle();
    XWindowAttributes attributes{};
    XGetWindowAttributes(host, ::Window(painted.frame.getWindow()->handle()), &attributes);
    EXPECT_EQ(attributes.depth, 32);
    uint32_t alpha = 0;
    const platform::Image shown = grab(::Window(painted.frame.getWindow()->handle()), &alpha);
    EXPECT_EQ(alpha, 0xFFu);
    EXPECT_EQ(differences(shown, headlessRender()), std::vector<std::string>{});
}

TEST_F(X11FrameTest, AClickReachesTheViewUnderItAndTakesTheFocus)
{
    const ::Window parent = hostWindow({50, 60, 650, 460});
    std::vector<std::string> journal;
    PaintedFrame painted(windows->findWindow(parent), &journal);
    settle();
    ASSERT_FALSE(painted.frame.getWindow()->hasFocus());

    moveTo({50 + 150, 60 + 50});
    settle();
    ASSERT_EQ(painted.right->clicks.size(), 1u);   // the move
    painted.right->clicks.clear();
    painted.right->buttons.clear();
    button(1, true);
    button(1, false);
    settle();
    ASSERT_EQ(painted.right->clicks.size(), 2u);   // press and release
    EXPECT_TRUE(painted.left->clicks.empty());
    EXPECT_EQ(painted.right->clicks[0].h, 150);
    EXPECT_EQ(painted.right->clicks[0].v, 50);
    EXPECT_EQ(painted.right->buttons[0], 1);   // the left button, held while pressed
    EXPECT_EQ(painted.right->buttons[1], 0);
    EXPECT_TRUE(painted.frame.getWindow()->hasFocus());
    ::Window focused = 0;
    int revert = 0;
    XGetInputFocus(host, &focused, &revert);
    EXPECT_EQ(focused, ::Window(painted.frame.getWindow()->handle()));

    // A wheel notch reaches the view under the pointer.
    button(4, true);
    button(4, false);
    settle();
    ASSERT_EQ(painted.right->wheels.size(), 1u);
    EXPECT_FLOAT_EQ(painted.right->wheels[0].distance, 1.0f);
}

TEST_F(X11FrameTest, ADestroyedParentAndABadWindowLeaveTheProcessAlive)
{
    EXPECT_EQ(windows->findWindow(0x3fffff1), nullptr);
    CFrame orphan(CRect(0, 0, 100, 50), windows->findWindow(0x3fffff1), nullptr);
    EXPECT_EQ(orphan.getWindow(), nullptr);

    const ::Window parent = hostWindow({50, 60, 650, 460});
    auto painted = std::make_unique<PaintedFrame>(windows->findWindow(parent), nullptr);
    settle();
    ASSERT_TRUE(painted->frame.isOpen());
    XDestroyWindow(host, parent);
    settle();
    EXPECT_FALSE(painted->frame.isOpen());
    EXPECT_FALSE(painted->frame.getWindow()->alive());
    painted->frame.getWindow()->invalidate({0, 0, 10, 10});
    painted->frame.getWindow()->takeFocus();
    settle();
    painted.reset();   // closed after its parent went: no error reaches anyone
    settle();
    // The host's window is gone too: asked for again it is no window.
    EXPECT_EQ(windows->findWindow(parent), nullptr);
}

int hostErrors = 0;
int countHostError(Display*, XErrorEvent*)
{
    ++hostErrors;
    return 0;
}

TEST_F(X11FrameTest, OpenAndCloseTwentyTimesLeavesNoWindowAndTheHostsErrorHandler)
{
    windows.reset();
    hostErrors = 0;
    XErrorHandler before = XSetErrorHandler(countHostError);
    const ::Window parent = hostWindow({50, 60, 650, 460});
    for (int cycle = 0; cycle < 20; ++cycle) {
        auto system = platform::X11WindowSystem::open(server->name().c_str());
        ASSERT_NE(system, nullptr);
        {
            PaintedFrame painted(system->findWindow(parent), nullptr);
            ASSERT_NE(painted.frame.getWindow(), nullptr);
            system->sync();
            system->pump();
        }
        system.reset();
    }
    ::Window rootReturn = 0, parentReturn = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(host, parent, &rootReturn, &parentReturn, &children, &count);
    if (children)
        XFree(children);
    EXPECT_EQ(count, 0u);
    // The host's own errors still reach its handler.
    XDestroyWindow(host, 0x3fffff1);
    XSync(host, False);
    EXPECT_EQ(hostErrors, 1);
    EXPECT_EQ(XSetErrorHandler(before), countHostError);
}

} // namespace
