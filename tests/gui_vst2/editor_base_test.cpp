#include "plugin/fake_host.h"
#include "gui/frame/frame.h"
#include "platform/headless/headless_window.h"
#include "vst2/audio_effect_x.h"
#include "gui_vst2/editor_base.h"

#include <gtest/gtest.h>

namespace {

class Effect : public AudioEffectX {
public:
    Effect() : AudioEffectX(FakeHost::callback, 0, 0) {}
    void process(float**, float**, VstInt32) override {}
};

// The paced idle on a clock the test moves.
class ClockedEditor : public AEffGUIEditor {
public:
    explicit ClockedEditor(AudioEffect* effect) : AEffGUIEditor(effect)
    {
        rect = ERect{0, 0, 30, 400};
        restartIdleClock();
    }
    void idle() override
    {
        ++passes;
        AEffGUIEditor::idle();
    }
    void setFrame(CFrame* f) { frame = f; }
    void restartAt(uint32_t ms)
    {
        now = ms;
        restartIdleClock();
    }

    uint32_t now = 1000;
    uint32_t slept = 0;
    int passes = 0;

protected:
    uint32_t tickCount() override { return now; }
    void sleepTicks(uint32_t ms) override
    {
        slept += ms;
        now += ms;
    }
};

class KeyFrame : public CFrame {
public:
    KeyFrame() : CFrame(CRect(0, 0, 400, 30), nullptr, nullptr) {}
    int32_t onKeyDown(VstKeyCode&) override { return 1; }
    bool onWheel(CDrawContext*, const CPoint&, float distance) override { return distance > 0.0f; }
};

class EditorBaseTest : public ::testing::Test {
protected:
    void SetUp() override { FakeHost::reset(); }
};

TEST_F(EditorBaseTest, RegistersWithTheEffect)
{
    Effect effect;
    auto* editor = new ClockedEditor(&effect);   // the effect owns it
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    ERect* rect = nullptr;
    EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 400);
    EXPECT_EQ(rect->bottom, 30);
    EXPECT_EQ(editor->setKnobMode(2), 1);
}

TEST_F(EditorBaseTest, WithoutAFrameKeysAndWheelAreNotTaken)
{
    Effect effect;
    auto* editor = new ClockedEditor(&effect);
    VstKeyCode key{'a', 0, 0};
    EXPECT_EQ(editor->onKeyDown(key), -1);
    EXPECT_EQ(editor->onKeyUp(key), -1);
    EXPECT_FALSE(editor->onWheel(1.0f));
    KeyFrame frame;
    editor->setFrame(&frame);
    EXPECT_EQ(editor->onKeyDown(key), 1);
    EXPECT_EQ(editor->onKeyUp(key), -1);
    EXPECT_TRUE(editor->onWheel(1.0f));
    editor->setFrame(nullptr);
}

TEST_F(EditorBaseTest, OpenPostsAnUpdateAndKeepsTheWindow)
{
    Effect effect;
    auto* editor = new ClockedEditor(&effect);
    int window = 0;
    EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, &window, 0.0f), 0);
    EXPECT_EQ(editor->getSystemWindow(), &window);
}

TEST_F(EditorBaseTest, IdleIsPacedAndCallsTheHostOnce)
{
    Effect effect;
    auto* editor = new ClockedEditor(&effect);
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 1);
    EXPECT_EQ(editor->slept, 0u);

    // Twice within 10 ms: one pass; the second call sleeps 4 ms and returns.
    editor->now += 10;
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 1);
    EXPECT_EQ(editor->slept, 4u);

    // 45 ms after the pass: still early after the sleep.
    editor->now = 1000 + 45;
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 1);
    // 46 ms after: the sleep brings it to exactly 50 ms early, which passes.
    editor->now = 1000 + 46;
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 2);
    // 60 ms after that pass (which counted from 1050): passes again.
    editor->now = 1050 + 60;
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 3);

    int idles = 0;
    for (const HostCall& call : FakeHost::get().calls)
        idles += call.opcode == audioMasterIdle;
    EXPECT_EQ(idles, 3);
}

TEST_F(EditorBaseTest, AnIdlePassDispatchesTheFramesPendingMessages)
{
    struct Painted : CView {
        Painted() : CView(CRect(0, 0, 10, 10)) {}
        void draw(CDrawContext*) override { ++draws; }
        int draws = 0;
    };
    platform::HeadlessWindowSystem windows;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = {0, 0, 400, 30};
    std::unique_ptr<platform::Window> host = windows.createWindow(options);
    Effect effect;
    auto* editor = new ClockedEditor(&effect);
    CFrame frame(CRect(0, 0, 400, 30), host.get(), nullptr);
    auto* view = new Painted;
    frame.addView(view);
    editor->setFrame(&frame);
    editor->doIdleStuff();
    EXPECT_EQ(view->draws, 1);   // the window's first paint
    // The host's own idle call pumps too: nothing else reads the window system.
    frame.getWindow()->invalidate({0, 0, 5, 5});
    editor->idle();
    EXPECT_EQ(view->draws, 2);
    editor->setFrame(nullptr);
}

TEST_F(EditorBaseTest, IdleSurvivesTheTickCountWrapping)
{
    Effect effect;
    auto* editor = new ClockedEditor(&effect);
    editor->restartAt(0xFFFFFFF0u);
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 1);
    editor->now = 0xFFFFFFF0u + 10;
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 1);
    editor->now = 0xFFFFFFF0u + 100;   // wrapped past zero
    editor->doIdleStuff();
    EXPECT_EQ(editor->passes, 2);
}

} // namespace
