#include "host/main_window.h"

#include "host/host_bitmaps.h"
#include "platform/graphics/canvas.h"
#include "resources/palette.h"

#include <algorithm>
#include <cstdio>

namespace host {

const char kMainWindowTitle[] = "Quorbel";
const char kMainWindowClass[] = "QuorbelHost";
const char kMdiClientClass[] = "MDIClient";

namespace {

constexpr platform::Rect kFirstPlace{32, 32, 32 + 640, 32 + 480};
constexpr uint8_t kExportKey = platform::kWinF1 + 9;       // F10: mode 1
constexpr uint8_t kExportOtherKey = platform::kWinF1 + 10; // F11: mode 0
// The editor window is looked for and kept in place every this many ticks;
// once found filling the client it is checked more rarely (each check asks
// the server several questions), and at once when the client changes size.
constexpr uint32_t kPlaceEveryTicks = 10;
constexpr uint32_t kCheckPlacedEveryTicks = 100;

VstIntPtr dispatch(AEffect* effect, int32_t opcode, VstIntPtr value = 0, void* ptr = nullptr)
{
    return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
}

} // namespace

bool MainWindow::Workspace::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    if (message.kind != platform::MessageKind::Paint)
        return false;
    platform::Canvas(window.image()).fillRect(message.area, resources::palette::kBackground);
    return true;
}

MainWindow::MainWindow(platform::WindowSystem& windows, HostState& state, MainWindowActions& actions)
    : windows_(windows), state_(state), actions_(actions)
{
}

MainWindow::~MainWindow()
{
    close();
    mdiClient_.reset();
    frame_.reset();
}

bool MainWindow::create()
{
    AEffect* effect = state_.effect;
    if (!effect || frame_)
        return false;
    if (!(effect->flags & effFlagsHasEditor)) {
        std::printf("This plug does not have an editor!\n");
        return false;
    }
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = kFirstPlace;
    options.title = kMainWindowTitle;
    options.className = kMainWindowClass;
    options.visible = false;
    options.handler = this;
    frame_ = windows_.createWindow(options);
    if (!frame_)
        return false;
    frame_->setIcon(loadHostBitmap(kHostIconBitmap));

    platform::WindowOptions client;
    client.kind = platform::WindowOptions::Kind::Child;
    client.parent = frame_.get();
    client.className = kMdiClientClass;
    client.handler = &workspace_;
    mdiClient_ = windows_.createWindow(client);
    if (!mdiClient_) {
        frame_.reset();
        return false;
    }
    frame_->setTimer(kIdleTimer, kIdlePeriodMs);

    // The plug-in puts its toolbar in the frame and, at its first idle, its
    // editor window into the MDI client.
    std::printf("HOST> Open editor...\n");
    dispatch(effect, effEditOpen, 0, reinterpret_cast<void*>(frame_->handle()));
    editorOpen_ = true;
    std::printf("HOST> Get editor rect..\n");
    if (const auto rect = editorRect()) {
        const platform::Rect at = frame_->rect();
        frame_->setRect(platform::rectOfSize(at.left, at.top, rect->width() + kExtraWidth,
                                             rect->height() + kExtraHeight));
        // Narrower, the volume slider would slide under the toolbar.
        frame_->setMinimumSize(minimumCaptionWidth(rect->width()), rect->height());
    }
    std::fflush(stdout);
    layout();
    frame_->show(true);
    return true;
}

void MainWindow::close()
{
    if (!isOpen())
        return;
    closed_ = true;
    frame_->killTimer(kIdleTimer);
    std::printf("HOST> Close editor..\n");
    std::fflush(stdout);
    editorOpen_ = false;
    if (AEffect* effect = state_.effect)
        dispatch(effect, effEditClose);
    // Not destroyed here: close() may run inside the window's own handler.
    frame_->show(false);
}

void MainWindow::postTitle(std::string title)
{
    std::lock_guard<std::mutex> guard(titleLock_);
    pendingTitle_ = std::move(title);
}

CaptionLayout MainWindow::caption() const
{
    return {frame_ ? frame_->rect().width() : 0, maximised_};
}

platform::Window* MainWindow::editorWindow() const
{
    if (!mdiClient_ || !mdiClient_->alive())
        return nullptr;
    const std::vector<platform::Window*> inside = windows_.children(*mdiClient_);
    // The top of the stacking order, as the first child of a Windows parent.
    for (auto it = inside.rbegin(); it != inside.rend(); ++it)
        if ((*it)->alive())
            return *it;
    return nullptr;
}

std::optional<platform::Rect> MainWindow::editorRect() const
{
    AEffect* effect = state_.effect;
    ERect* rect = nullptr;
    if (!effect || !editorOpen_)
        return std::nullopt;
    dispatch(effect, effEditGetRect, 0, &rect);
    if (!rect)
        return std::nullopt;
    return platform::Rect{rect->left, rect->top, rect->right, rect->bottom};
}

void MainWindow::layout()
{
    const auto rect = editorRect();
    if (!rect || !mdiClient_)
        return;
    const platform::Rect client = frame_->rect();
    mdiClient_->setRect({0, rect->height(), client.width(), client.height()});
    keepEditorFilling();
}

void MainWindow::keepEditorFilling()
{
    // Looking for the editor asks the server for the client's children: it
    // is done until the editor is found and again only once it has gone.
    platform::Window* editor = placedEditor_ ? windows_.findWindow(placedEditor_) : nullptr;
    if (!editor || !editor->alive()) {
        editor = editorWindow();
        placedEditor_ = editor ? editor->handle() : 0;
    }
    editorInPlace_ = false;
    if (!editor)
        return;
    const platform::Rect whole{0, 0, mdiClient_->rect().width(), mdiClient_->rect().height()};
    if (editor->rect() != whole)
        windows_.placeWindow(*editor, whole);
    else
        editorInPlace_ = true;
}

void MainWindow::onTimer()
{
    if (AEffect* effect = state_.effect; effect && editorOpen_)
        dispatch(effect, effEditIdle);
    if (!isOpen())
        return;
    {
        std::lock_guard<std::mutex> guard(titleLock_);
        if (pendingTitle_) {
            frame_->setTitle(pendingTitle_->c_str());
            pendingTitle_.reset();
        }
    }
    // A window the server reported gone is known without asking: a new
    // editor window is then looked for at the quicker pace.
    if (editorInPlace_) {
        const platform::Window* placed = windows_.findWindow(placedEditor_);
        editorInPlace_ = placed && placed->alive();
    }
    static_assert(kPlaceEveryTicks > 0 && kCheckPlacedEveryTicks % kPlaceEveryTicks == 0);
    if (++ticks_ % (editorInPlace_ ? kCheckPlacedEveryTicks : kPlaceEveryTicks) == 1)
        keepEditorFilling();
}

void MainWindow::onKey(const platform::WindowMessage& message)
{
    const platform::KeyMessage& key = message.key;
    // Shift as the key event carries it: the editor posts these with it.
    if (message.kind == platform::MessageKind::KeyDown && (message.input.bits & platform::kShiftHeld)) {
        switch (key.windowsKey) {
        case platform::kWinF12: actions_.openAudioSettings(*frame_); return;
        case kExportKey: actions_.startExport(*frame_, 1); return;
        case kExportOtherKey: actions_.startExport(*frame_, 0); return;
        default: break;
        }
    }
    // A key the editor posted here never goes back to it: Shift with a
    // function key would bounce between the two for ever.
    if (key.sent)
        return;
    if (platform::Window* editor = editorWindow())
        windows_.forwardKey(*editor, message);
}

void MainWindow::setVolumeAt(int x)
{
    const float v = sliderVolume(x, caption().slider().left);
    if (v == state_.masterVolume.load())
        return;
    state_.masterVolume = std::clamp(v, 0.0f, 1.0f);
    const platform::Rect slider = caption().slider();
    frame_->invalidate({slider.left, slider.top, slider.right + 1, slider.bottom + 1});
}

void MainWindow::onPress(const platform::WindowMessage& message)
{
    const CaptionLayout layout = caption();
    switch (layout.hit(message.point)) {
    case CaptionPart::SystemButtons:
        switch (layout.systemButtonAt(message.point.x)) {
        case SystemButton::Minimise: frame_->minimise(); break;
        case SystemButton::Restore: frame_->setMaximised(false); break;
        case SystemButton::Close: askToQuit(); break;
        }
        break;
    case CaptionPart::Settings: actions_.openAudioSettings(*frame_); break;
    case CaptionPart::Export: actions_.startExport(*frame_, (message.input.bits & platform::kShiftHeld) ? 0 : 1); break;
    case CaptionPart::Slider: setVolumeAt(message.point.x); break;
    case CaptionPart::Strip: break;
    }
}

void MainWindow::invalidateControls()
{
    const auto rect = editorRect();
    const int left = rect ? rect->width() : 0;
    frame_->invalidate({left, 0, frame_->rect().width(), kCaptionHeight});
}

void MainWindow::askToQuit()
{
    if (actions_.confirmQuit(*frame_))
        close();
}

bool MainWindow::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    using platform::MessageKind;
    switch (message.kind) {
    case MessageKind::Paint: {
        platform::Canvas(window.image()).fillRect(message.area, resources::palette::kBackground);
        drawCaption(window.image(), caption(), state_.masterVolume.load());
        return true;
    }
    case MessageKind::Resized:
        layout();
        invalidateControls();
        return true;
    case MessageKind::Timer:
        onTimer();
        return true;
    case MessageKind::Close:
        askToQuit();
        return true;
    case MessageKind::KeyDown:
    case MessageKind::KeyUp:
        onKey(message);
        return true;
    case MessageKind::ButtonDown:
        if (message.button == platform::kLeftButton)
            onPress(message);
        return true;
    case MessageKind::MouseMove:
        if ((message.input.bits & platform::kLeftButton) &&
            caption().hit(message.point) == CaptionPart::Slider)
            setVolumeAt(message.point.x);
        return true;
    case MessageKind::StateChanged:
        // Maximised, the window manager's caption goes and the strip takes
        // the system buttons.
        maximised_ = message.param != 0;
        window.setDecorated(!maximised_);
        invalidateControls();
        return true;
    default:
        return false;
    }
}

} // namespace host
