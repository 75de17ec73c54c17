#include "gui/dialogs/base_dialog.h"

#include "gui/dialogs/dialog_view.h"
#include "gui/frame/frame.h"
#include "gui/frame/frame_link.h"
#include "platform/window.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kDialogClass[] = "QuorbelDialog";
// The longest the modal loop sleeps between passes when nothing happens.
constexpr uint32_t kPassMs = 10;

CBaseDialog* g_current = nullptr;
platform::Window* g_currentWindow = nullptr;
std::vector<CBaseDialog*> g_running;
// Every dialog object, for the chain of the ones each replaced.
std::vector<CBaseDialog*> g_alive;

platform::Window* topLevelOf(platform::Window* window)
{
    while (window && window->parent())
        window = window->parent();
    return window;
}

} // namespace

// A running dialog: its window, the frame that fills it and the items. The
// window's own messages (closing, keys while it holds the focus) and the
// frame's keys come here.
struct CBaseDialog::Running final : platform::WindowHandler, TesselFrameLink {
    explicit Running(CBaseDialog& owner) : dialog(owner) {}

    bool handleMessage(platform::Window& /*window*/, platform::WindowMessage& message) override
    {
        switch (message.kind) {
        case platform::MessageKind::Close:
            dialog.send(WM_COMMAND, commandParam(IDCANCEL, BN_CLICKED), 0);
            return true;
        case platform::MessageKind::KeyDown:
            handleKeyDown(platform::keyEventFor(message.key, message.input.keyboard()));
            return true;
        default: return false;
        }
    }

    void handleKeyDown(const TesselKeyEvent& key) override
    {
        if (view)
            view->onKey(key);
    }
    void handleKeyUp(const TesselKeyEvent& /*key*/) override {}
    bool manualKeyMode() const override { return false; }
    bool doubleSize() const override { return false; }
    void redrawPatternEditor() override {}

    CBaseDialog& dialog;
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<CFrame> frame;
    DialogView* view = nullptr;   // held by the frame
};

CBaseDialog::CBaseDialog(int32_t resourceId, platform::Window* parent)
    : resourceId_(static_cast<uint16_t>(resourceId)), parent_(parent), replaced_(g_current),
      replacedWindow_(g_currentWindow)
{
    g_current = this;
    g_currentWindow = nullptr;
    g_alive.push_back(this);
}

CBaseDialog::~CBaseDialog()
{
    // A dialog made after this one and still alive stays current; one that
    // replaced this one now falls back to what this one replaced.
    std::erase(g_alive, this);
    if (g_current == this) {
        g_current = replaced_;
        g_currentWindow = replacedWindow_;
    }
    for (CBaseDialog* later : g_alive)
        if (later->replaced_ == this) {
            later->replaced_ = replaced_;
            later->replacedWindow_ = replacedWindow_;
        }
    messageMap_.clear();
}

CBaseDialog* CBaseDialog::currentDialog()
{
    return g_current;
}

platform::Window* CBaseDialog::currentWindow()
{
    return g_currentWindow;
}

CBaseDialog* CBaseDialog::ofWindow(const platform::Window* window)
{
    for (CBaseDialog* dialog : g_running)
        if (window && dialog->window() == window)
            return dialog;
    return nullptr;
}

DialogView* CBaseDialog::view() const
{
    return running_ ? running_->view : nullptr;
}

platform::Window* CBaseDialog::window() const
{
    return running_ ? running_->window.get() : nullptr;
}

void CBaseDialog::setClientHeight(int32_t height)
{
    if (!running_ || !running_->frame || height <= 0)
        return;
    Running& run = *running_;
    const platform::Rect now = run.window->rect();
    if (now.height() == height)
        return;
    // A dialog that grows past the bottom of its screen's work area moves up.
    int32_t top = now.top;
    const platform::Rect area = run.window->system().workArea(now);
    if (!area.empty() && top + height > area.bottom)
        top = std::max(area.top, area.bottom - height);
    run.window->setRect(platform::rectOfSize(now.left, top, now.width(), height));
    const CRect client(0, 0, now.width(), height);
    if (platform::Window* inner = run.frame->getWindow())
        inner->setRect(client.toPlatform());
    run.frame->setViewSize(client);
    if (run.view)
        run.view->setViewSize(client);
    if (platform::Window* inner = run.frame->getWindow())
        inner->invalidate(client.toPlatform());
}

void CBaseDialog::addHandler(uint32_t message, Handler handler)
{
    messageMap_.emplace(message, handler);
}

intptr_t CBaseDialog::dialogProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    const auto found = messageMap_.lower_bound(message);
    if (found == messageMap_.end() || found->first != message)
        return 0;
    lastHandler_ = found->second;
    (this->*lastHandler_)(window, wParam, lParam);
    return 1;
}

intptr_t CBaseDialog::staticDialogProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (!g_currentWindow)
        g_currentWindow = window;
    return g_current ? g_current->dialogProc(window, message, wParam, lParam) : 0;
}

void CBaseDialog::send(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (staticDialogProc(window(), message, wParam, lParam) != 0 || message != WM_COMMAND)
        return;
    const int32_t id = commandId(wParam);
    if (id == IDOK || id == IDCANCEL)
        endDialog(id);
}

void CBaseDialog::endDialog(intptr_t result)
{
    result_ = result;
    ended_ = true;
}

void CBaseDialog::onOK()
{
    if (g_current)
        g_current->endDialog(IDOK);
}

void CBaseDialog::onCancel()
{
    if (g_current)
        g_current->endDialog(IDCANCEL);
}

intptr_t CBaseDialog::doModal(const char* moduleName)
{
    return doModalWithInstance(moduleName ? DialogModule::named(moduleName) : nullptr);
}

intptr_t CBaseDialog::doModalWithInstance(const DialogModule* instance)
{
    const DialogTemplate* dialog = instance ? instance->find(resourceId_) : nullptr;
    if (!dialog || running_ || !parent_ || !parent_->alive())
        return -1;
    platform::WindowSystem& system = parent_->system();
    running_ = std::make_unique<Running>(*this);
    Running& run = *running_;

    // Centred over the owner's top-level window.
    const int32_t width = dialogUnitsToPixelsX(dialog->width);
    const int32_t height = dialogUnitsToPixelsY(dialog->height);
    platform::Window* owner = topLevelOf(parent_);
    const platform::Point origin = owner->screenOrigin();
    const platform::Rect ownerRect = owner->rect();
    const int32_t left = std::max(0, origin.x + (ownerRect.width() - width) / 2);
    const int32_t top = std::max(0, origin.y + (ownerRect.height() - height) / 2);

    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.parent = parent_;
    options.rect = platform::rectOfSize(left, top, width, height);
    options.title = dialog->caption;
    options.className = kDialogClass;
    options.visible = false;
    options.handler = &run;
    run.window = system.createWindow(options);
    if (run.window)
        run.frame = std::make_unique<CFrame>(CRect(0, 0, width, height), run.window.get(), &run);
    if (!run.frame || !run.frame->getWindow()) {
        running_.reset();
        return -1;
    }
    run.view = new DialogView(*dialog, [this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
        send(message, wParam, lParam);
    });
    run.frame->addView(run.view);
    g_running.push_back(this);

    ended_ = false;
    result_ = IDCANCEL;
    send(WM_INITDIALOG, 0, 0);
    if (!ended_) {
        run.window->show(true);
        run.frame->getWindow()->takeFocus();
    }
    while (!ended_ && run.window->alive()) {
        system.waitForEvents(kPassMs);
        // Every window paints and times; input reaches the dialog alone.
        system.pumpModal(run.window.get());
        if (!ended_)
            onModalPass();
    }

    std::erase(g_running, this);
    if (g_currentWindow == run.window.get())
        g_currentWindow = nullptr;
    run.view = nullptr;
    run.frame.reset();
    run.window.reset();
    running_.reset();
    return result_;
}
