// The editor window's procedure and the key filter of manual key mode.

#include "editor/core/tessel_editor.h"
#include "editor/editor_window/editor_window.h"
#include "gui/frame/frame.h"
#include "pagekit/frame2.h"
#include "platform/key_table.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"

namespace {

constexpr float kWheelNotch = 120.0f;

bool isWithin(platform::Window* window, const platform::Window* ancestor)
{
    for (; window; window = window->parent())
        if (window == ancestor)
            return true;
    return false;
}

} // namespace

bool TesselEditorWindow::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    using platform::MessageKind;
    // A fault in a page ends this message, not the host.
    try {
        switch (message.kind) {
        case MessageKind::Moved:
            if (!inOwnHost())
                savedRect_ = message.area;
            return true;
        case MessageKind::Resized:
            if (!inOwnHost())
                savedRect_ = message.area;
            editor_.resized(message.area.width(), message.area.height());
            return true;
        case MessageKind::FocusIn:
            editor_.focusChanged(true);
            return true;
        case MessageKind::FocusOut:
            if (!inOwnHost())
                editor_.focusChanged(false);
            return true;
        case MessageKind::KeyDown:
        case MessageKind::KeyUp: {
            if (editor_.manualKeyMode() || message.key.repeatCount != 1)
                return true;
            const TesselKeyEvent key = platform::keyEventFor(message.key, message.input.keyboard());
            if (key.virtualKey == 0 && key.character == 0)
                return true;
            if (key.keyUp)
                editor_.handleKeyUp(key);
            else
                editor_.handleKeyDown(key);
            return true;
        }
        case MessageKind::Close:
            editor_.hideEditorWindow();
            return true;
        case MessageKind::Timer:
            editor_.timerFired(message.timerId);
            return true;
        case MessageKind::User:
            if (message.param == TesselHostHook::kHostMoved)
                linkToHost();
            else if (message.param == TesselHostHook::kHostRehung)
                rehangOnHost();
            else if (message.param == TesselHostHook::kHostFocused && editor_.toolbarFrame() && !editor_.popupActive()
                     && !(windows_ && (windows_->inputState().bits & platform::kRightButton))) {
                window.raise();
            }
            return true;
        case MessageKind::Wheel: {
            TesselUI* page = editor_.currentPage();
            if (editor_.popupActive() || !page)
                return true;
            const platform::Point origin = window.screenOrigin();
            int32_t x = message.point.x - origin.x;
            int32_t y = message.point.y - origin.y;
            if (editor_.doubleSize()) {
                x /= 2;
                y /= 2;
            }
            page->onMouseWheel(x, y, static_cast<float>(message.wheelDelta) / kWheelNotch);
            return true;
        }
        case MessageKind::HotKey:
            if (message.param == TesselEditor::kHotKeyR || message.param == TesselEditor::kHotKeyF2)
                editor_.toggleFocus();
            else if (message.param == TesselEditor::kHotKeyT)
                editor_.setAlwaysOnTop(!pluginPreferences().alwaysOnTop);
            return true;
        case MessageKind::Destroy:
            return false;
        default:
            return false;
        }
    } catch (...) {
        return true;
    }
}

// Keys of the editor window and of the toolbar in the host's window: the
// ones a hook on the host's thread would see while the editor is in use.
bool TesselEditorWindow::filterKey(platform::Window& target, const platform::WindowMessage& message)
{
    VSTGUI::CFrame* toolbar = editor_.toolbarFrame();
    const bool ours = isWithin(&target, window_.get()) || (toolbar && isWithin(&target, toolbar->getWindow()));
    if (!editor_.frame2() || editor_.popupActive() || !ours)
        return false;
    const platform::KeyMessage& key = message.key;
    if (key.repeatCount != 1)
        return false;
    const platform::KeyboardState held = message.input.keyboard();
    if (!key.up && key.windowsKey == 'K' && held.control && held.alt && !held.shift) {
        editor_.setKeyMode(editor_.getKeyMode() == 1 ? 0 : 1, false);
        return true;
    }
    if (editor_.getKeyMode() != 1)
        return false;
    const TesselKeyEvent event = platform::keyEventFor(key, held);
    if (event.virtualKey == 0 && event.character == 0)
        return false;
    if (event.keyUp)
        editor_.handleKeyUp(event);
    else
        editor_.handleKeyDown(event);
    return true;
}
