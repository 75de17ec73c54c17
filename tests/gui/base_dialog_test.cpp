// The dialog base on the headless window layer: the message map, the modal
// run with its default OK and Cancel, the items' mouse and keys, and links.
// Each dialog's user is a script run once a pass of the modal loop.

#include "gui/controls/hyperlink.h"
#include "gui/dialogs/base_dialog.h"
#include "gui/dialogs/dialog_view.h"
#include "gui/frame/frame.h"
#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int32_t kTemplateId = 300;
constexpr int32_t kLinkId = 10;
constexpr int32_t kListId = 11;
constexpr int32_t kTrackId = 12;
constexpr int32_t kDisabledId = 13;
constexpr int32_t kOtherButtonId = 14;

DialogModule& testModule()
{
    static DialogModule module("DialogTests", {DialogTemplate{kTemplateId, "Test Dialog", 160, 100, {
        {kLinkId, DialogItemKind::Text, {7, 7, 80, 10}, "Visit the site"},
        {-1, DialogItemKind::GroupBox, {4, 20, 152, 50}, "Group"},
        {kListId, DialogItemKind::DropList, {10, 32, 80, 12}, "", kItemSorted},
        {kTrackId, DialogItemKind::Trackbar, {10, 50, 100, 12}, ""},
        {kDisabledId, DialogItemKind::Button, {100, 30, 50, 14}, "Off", kItemDisabled},
        {kOtherButtonId, DialogItemKind::Button, {4, 80, 50, 14}, "Other"},
        {IDOK, DialogItemKind::Button, {58, 80, 45, 14}, "OK", kItemDefault},
        {IDCANCEL, DialogItemKind::Button, {107, 80, 45, 14}, "Cancel"},
    }}});
    return module;
}

struct Heard {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const Heard&) const = default;
};

// A dialog whose user is a script: step n runs at the nth pass of the loop;
// the dialog ends with 99 when the script runs out.
class ScriptedDialog : public CBaseDialog {
public:
    using Step = std::function<void(ScriptedDialog&)>;

    ScriptedDialog(platform::Window* parent, std::vector<Step> steps)
        : CBaseDialog(kTemplateId, parent), steps(std::move(steps))
    {
    }

    void record(platform::Window* window, uintptr_t wParam, intptr_t lParam, uint32_t message)
    {
        heard.push_back({message, wParam, lParam});
        windows.push_back(window);
    }
    void onInit(platform::Window* window, uintptr_t wParam, intptr_t lParam)
    {
        record(window, wParam, lParam, WM_INITDIALOG);
        if (init)
            init(*this);
    }
    void onCommand(platform::Window* window, uintptr_t wParam, intptr_t lParam)
    {
        record(window, wParam, lParam, WM_COMMAND);
    }
    void onScroll(platform::Window* window, uintptr_t wParam, intptr_t lParam)
    {
        record(window, wParam, lParam, WM_HSCROLL);
    }

    DialogItem& item(int32_t id) { return *view()->item(id); }

    std::vector<Step> steps;
    std::function<void(ScriptedDialog&)> init;
    std::vector<Heard> heard;
    std::vector<platform::Window*> windows;

protected:
    void onModalPass() override
    {
        if (next < steps.size())
            steps[next++](*this);
        else
            endDialog(99);
    }

private:
    size_t next = 0;
};

class BaseDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testModule();
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {100, 100, 700, 500};
        owner = system.createWindow(options);
    }

    // The dialog's client point of an item's centre.
    static platform::Point centre(const DialogItem& item)
    {
        return {(item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2};
    }
    // The window the dialog's items live in: the frame's child window.
    platform::Window& inner(ScriptedDialog&) { return *system.focusWindow(); }

    void click(ScriptedDialog& d, int32_t id) { system.click(inner(d), centre(d.item(id))); }

    platform::HeadlessWindowSystem system;
    std::unique_ptr<platform::Window> owner;
};

} // namespace

TEST(DialogMessageMap, UnhandledMessagesGetZeroAndTheFirstHandlerStays)
{
    struct Two : CBaseDialog {
        Two() : CBaseDialog(1, nullptr) {}
        void first(platform::Window* w, uintptr_t wParam, intptr_t lParam) { calls.push_back({1, w, wParam, lParam}); }
        void second(platform::Window* w, uintptr_t, intptr_t) { calls.push_back({2, w, 0, 0}); }
        struct Call {
            int which;
            platform::Window* window;
            uintptr_t wParam;
            intptr_t lParam;
        };
        std::vector<Call> calls;
    } dialog;
    dialog.addHandler(WM_COMMAND, &Two::first);
    dialog.addHandler(WM_COMMAND, &Two::second);
    dialog.addHandler(WM_HSCROLL, &Two::second);

    EXPECT_EQ(dialog.dialogProc(nullptr, WM_INITDIALOG, 0, 0), 0);
    EXPECT_EQ(dialog.dialogProc(nullptr, 0x1234, 5, 6), 0);
    EXPECT_TRUE(dialog.calls.empty());
    auto* marker = reinterpret_cast<platform::Window*>(0x10);
    EXPECT_EQ(dialog.dialogProc(marker, WM_COMMAND, 7, 8), 1);
    EXPECT_EQ(dialog.dialogProc(nullptr, WM_HSCROLL, 0, 0), 1);
    ASSERT_EQ(dialog.calls.size(), 2u);
    EXPECT_EQ(dialog.calls[0].which, 1);
    EXPECT_EQ(dialog.calls[0].window, marker);
    EXPECT_EQ(dialog.calls[0].wParam, 7u);
    EXPECT_EQ(dialog.calls[0].lParam, 8);
    EXPECT_EQ(dialog.calls[1].which, 2);
    // The static procedure hands everything to the current dialog.
    EXPECT_EQ(CBaseDialog::currentDialog(), &dialog);
    EXPECT_EQ(CBaseDialog::staticDialogProc(marker, WM_COMMAND, 1, 2), 1);
    EXPECT_EQ(CBaseDialog::currentWindow(), marker);
    EXPECT_EQ(dialog.calls.size(), 3u);
}

TEST(DialogMessageMap, DestroyingClearsTheCurrentDialogOnlyWhenItIsCurrent)
{
    auto first = std::make_unique<CBaseDialog>(1, nullptr);
    auto second = std::make_unique<CBaseDialog>(2, nullptr);
    auto third = std::make_unique<CBaseDialog>(3, nullptr);
    EXPECT_EQ(CBaseDialog::currentDialog(), third.get());
    second.reset();   // not current: the current one stays
    EXPECT_EQ(CBaseDialog::currentDialog(), third.get());
    third.reset();   // gives back what it replaced, past the one already gone
    EXPECT_EQ(CBaseDialog::currentDialog(), first.get());
    first.reset();
    EXPECT_EQ(CBaseDialog::currentDialog(), nullptr);
}

TEST_F(BaseDialogTest, EscapeReturnCloseAndButtonsEndTheRun)
{
    struct Case {
        const char* what;
        ScriptedDialog::Step step;
        intptr_t result;
    };
    const Case cases[] = {
        {"Escape", [this](ScriptedDialog&) { system.pressKey(platform::kWinEscape); }, IDCANCEL},
        {"Return", [this](ScriptedDialog&) { system.pressKey(platform::kWinReturn); }, IDOK},
        {"close", [this](ScriptedDialog& d) { system.injectClose(*d.window()); }, IDCANCEL},
        {"OK", [this](ScriptedDialog& d) { click(d, IDOK); }, IDOK},
        {"Cancel", [this](ScriptedDialog& d) { click(d, IDCANCEL); }, IDCANCEL},
        // A button of the dialog's own and a disabled one end nothing.
        {"other", [this](ScriptedDialog& d) { click(d, kOtherButtonId), click(d, kDisabledId); }, 99},
    };
    for (const Case& c : cases) {
        ScriptedDialog dialog(owner.get(), {c.step, [](ScriptedDialog&) {}});
        EXPECT_EQ(dialog.doModal("DialogTests"), c.result) << c.what;
        EXPECT_FALSE(dialog.isRunning());
    }
}

TEST_F(BaseDialogTest, HandlersHearTheRunAndDecideTheEnd)
{
    ScriptedDialog dialog(owner.get(), {});
    dialog.addHandler(WM_INITDIALOG, &ScriptedDialog::onInit);
    dialog.addHandler(WM_COMMAND, &ScriptedDialog::onCommand);
    platform::Window* shown = nullptr;
    dialog.init = [&](ScriptedDialog& d) {
        shown = d.window();
        EXPECT_FALSE(d.window()->isVisible());   // set up before it shows
        EXPECT_EQ(CBaseDialog::currentWindow(), d.window());
    };
    dialog.steps = {
        [this](ScriptedDialog& d) {
            // Centred over its owner, transient for it, with its caption.
            const platform::Rect r = d.window()->rect();
            EXPECT_EQ(r, platform::rectOfSize(100 + (600 - 240) / 2, 100 + (400 - 163) / 2, 240, 163));
            EXPECT_TRUE(d.window()->isTopLevel());
            EXPECT_EQ(system.title(*d.window()), "Test Dialog");
            EXPECT_TRUE(d.window()->isVisible());
        },
        [this](ScriptedDialog&) { system.pressKey(platform::kWinEscape); },   // handled: nothing ends
        [this](ScriptedDialog& d) { click(d, kOtherButtonId); },
        [](ScriptedDialog& d) { d.onOK(); },
    };
    EXPECT_EQ(dialog.doModal("DialogTests"), IDOK);
    const std::vector<Heard> expected{{WM_INITDIALOG, 0, 0},
                                      {WM_COMMAND, commandParam(IDCANCEL, BN_CLICKED), IDCANCEL},
                                      {WM_COMMAND, commandParam(kOtherButtonId, BN_CLICKED), kOtherButtonId}};
    EXPECT_EQ(dialog.heard, expected);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(dialog.windows.front(), shown);
    EXPECT_EQ(dialog.window(), nullptr);   // gone with the run

    // No template, no module, no owner: nothing runs.
    EXPECT_EQ(dialog.doModal("NoSuchModule"), -1);
    CBaseDialog stray(999, owner.get());
    EXPECT_EQ(stray.doModal("DialogTests"), -1);
}

TEST_F(BaseDialogTest, ItemsTellTheProcedureWhatTheUserDid)
{
    ScriptedDialog dialog(owner.get(), {});
    dialog.addHandler(WM_INITDIALOG, &ScriptedDialog::onInit);
    dialog.addHandler(WM_COMMAND, &ScriptedDialog::onCommand);
    dialog.addHandler(WM_HSCROLL, &ScriptedDialog::onScroll);
    dialog.init = [](ScriptedDialog& d) {
        DialogView& v = *d.view();
        for (const char* entry : {"beta", "Alpha", "gamma"})
            v.addEntry(kListId, entry);
        v.selectEntry(kListId, v.findEntry(kListId, "beta"));
        v.setRange(kTrackId, 10, 1000);
        v.setPosition(kTrackId, 100);
    };
    std::vector<std::string> entries;
    dialog.steps = {
        [&](ScriptedDialog& d) {
            entries = d.item(kListId).entries;
            EXPECT_EQ(d.view()->focusId(), kListId);   // the first item that takes the focus
            system.pressKey(platform::kWinRight);       // the next entry
        },
        [&](ScriptedDialog& d) {
            EXPECT_EQ(d.view()->selection(kListId), 2);
            system.answerPopup(0);
            click(d, kListId);   // the popup, answered with the first entry
        },
        [&](ScriptedDialog& d) {
            EXPECT_EQ(d.view()->text(kListId), "Alpha");
            system.pressKey(platform::kWinTab);   // on to the trackbar (the disabled button skipped)
            system.pressKey(platform::kWinEnd);
        },
        [&](ScriptedDialog& d) {
            EXPECT_EQ(d.view()->focusId(), kTrackId);
            EXPECT_EQ(d.view()->position(kTrackId), 1000);
            d.view()->enable(kListId, false);
            click(d, kListId);   // disabled: nothing
            EXPECT_TRUE(system.popupsAsked().size() == 1);
        },
    };
    EXPECT_EQ(dialog.doModal("DialogTests"), 99);
    EXPECT_EQ(entries, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    const std::vector<Heard> expected{
        {WM_INITDIALOG, 0, 0},
        {WM_COMMAND, commandParam(kListId, CBN_SELCHANGE), kListId},
        {WM_COMMAND, commandParam(kListId, CBN_SELCHANGE), kListId},
        {WM_HSCROLL, commandParam(TB_THUMBTRACK, 1000), kTrackId},
    };
    EXPECT_EQ(dialog.heard, expected);
}

TEST_F(BaseDialogTest, ALinkUnderlinesWhileHoveredAndReportsClicks)
{
    ScriptedDialog dialog(owner.get(), {});
    dialog.addHandler(WM_INITDIALOG, &ScriptedDialog::onInit);
    dialog.addHandler(WM_COMMAND, &ScriptedDialog::onCommand);
    dialog.init = [](ScriptedDialog& d) { EXPECT_TRUE(makeHyperlink(d.window(), kLinkId)); };
    // Per pixel row of the link, how many blue pixels it has.
    std::vector<int> inkRows[3];
    const auto rowsWithLinkInk = [](ScriptedDialog& d) {
        std::vector<int> rows;
        const DialogItem& link = d.item(kLinkId);
        platform::Image& image = CBaseDialog::ofWindow(d.window())->view()->getFrame()->getWindow()->image();
        for (int y = link.rect.top; y < link.rect.bottom + 2; ++y) {
            int ink = 0;
            for (int x = link.rect.left; x < link.rect.right; ++x) {
                const platform::Colour c = image.pixelAt(x, y);
                ink += c.blue > c.red + 80;   // the link's blue, not the face or other text
            }
            if (ink > 0)
                rows.push_back(ink);
        }
        return rows;
    };
    dialog.steps = {
        [&](ScriptedDialog& d) {
            inkRows[0] = rowsWithLinkInk(d);
            system.injectMove(inner(d), centre(d.item(kLinkId)));
        },
        [&](ScriptedDialog& d) {
            EXPECT_TRUE(d.item(kLinkId).hovered);
            EXPECT_EQ(inner(d).cursor(), platform::Cursor::Hand);
            inkRows[1] = rowsWithLinkInk(d);
            system.injectMove(inner(d), {2, 150});
        },
        [&](ScriptedDialog& d) {
            EXPECT_FALSE(d.item(kLinkId).hovered);
            EXPECT_EQ(inner(d).cursor(), platform::Cursor::Arrow);
            inkRows[2] = rowsWithLinkInk(d);
            click(d, kLinkId);
        },
    };
    EXPECT_EQ(dialog.doModal("DialogTests"), 99);
    // Blue text at first; hovered, one more row: a line as wide as the text.
    ASSERT_FALSE(inkRows[0].empty());
    EXPECT_EQ(inkRows[1].size(), inkRows[0].size() + 1);
    EXPECT_GT(*std::max_element(inkRows[1].begin(), inkRows[1].end()), 40);
    EXPECT_EQ(inkRows[2], inkRows[0]);
    EXPECT_EQ(dialog.heard, (std::vector<Heard>{{WM_INITDIALOG, 0, 0},
                                                {WM_COMMAND, commandParam(kLinkId, STN_CLICKED), kLinkId}}));
    EXPECT_FALSE(makeHyperlink(owner.get(), kLinkId));
}
