// The editor window's procedure and the key filter of manual key mode.

#include "editor/core/page_kinds.h"
#include "editor/core/tessel_editor.h"
#include "pagekit/frame2.h"
#include "patterneditor/pattern_editor_page.h"
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

bool TesselEditor::handleMessage(platform::Window& window, platform::WindowMessage& message)
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
            resized(message.area.width(), message.area.height());
            return true;
        case MessageKind::FocusIn:
            active_ = true;
            redrawPatternEditor();
            if (help_)
                help_->setDirty();
            return true;
        case MessageKind::FocusOut:
            if (!inOwnHost()) {
                active_ = false;
                redrawPatternEditor();
            }
            return true;
        case MessageKind::KeyDown:
        case MessageKind::KeyUp: {
            if (manualKeyMode() || message.key.repeatCount != 1)
                return true;
            const TesselKeyEvent key = platform::keyEventFor(message.key, message.input.keyboard());
            if (key.virtualKey == 0 && key.character == 0)
                return true;
            if (key.keyUp)
                handleKeyUp(key);
            else
                handleKeyDown(key);
            return true;
        }
        case MessageKind::Close:
            hideEditorWindow();
            return true;
        case MessageKind::Timer:
            if (message.timerId == kTimerIdle)
                idle();
            else if (message.timerId == kTimerCommand && patternEditor_)
                patternEditor_->timedCommand();
            else if (message.timerId == kTimerRedraw)
                redrawRequest_ = true;
            else if (message.timerId == kTimerShortcut && preferences_)
                preferences_->shortcutTimer();
            return true;
        case MessageKind::User:
            if (message.param == TesselHostHook::kHostMoved)
                linkToHost();
            else if (message.param == TesselHostHook::kHostRehung)
                rehangOnHost();
            else if (message.param == TesselHostHook::kHostFocused && frame && !popupActive_
                     && !(liveInput().bits & platform::kRightButton)) {
                window.raise();
            }
            return true;
        case MessageKind::Wheel: {
            if (popupActive_ || !current_)
                return true;
            const platform::Point origin = window.screenOrigin();
            int32_t x = message.point.x - origin.x;
            int32_t y = message.point.y - origin.y;
            if (doubleSize()) {
                x /= 2;
                y /= 2;
            }
            current_->onMouseWheel(x, y, static_cast<float>(message.wheelDelta) / kWheelNotch);
            return true;
        }
        case MessageKind::HotKey:
            if (message.param == kHotKeyR || message.param == kHotKeyF2)
                toggleFocus();
            else if (message.param == kHotKeyT)
                setAlwaysOnTop(!pluginPreferences().alwaysOnTop);
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
bool TesselEditor::filterKey(platform::Window& target, const platform::WindowMessage& message)
{
    const bool ours = isWithin(&target, window_.get()) || (frame && isWithin(&target, frame->getWindow()));
    if (!frame2_ || popupActive_ || !ours)
        return false;
    const platform::KeyMessage& key = message.key;
    if (key.repeatCount != 1)
        return false;
    const platform::KeyboardState held = message.input.keyboard();
    if (!key.up && key.windowsKey == 'K' && held.control && held.alt && !held.shift) {
        setKeyMode(getKeyMode() == 1 ? 0 : 1, false);
        return true;
    }
    if (getKeyMode() != 1)
        return false;
    const TesselKeyEvent event = platform::keyEventFor(key, held);
    if (event.virtualKey == 0 && event.character == 0)
        return false;
    if (event.keyUp)
        handleKeyUp(event);
    else
        handleKeyDown(event);
    return true;
}

platform::InputState TesselEditor::liveInput() const
{
    return windows_ ? windows_->inputState() : platform::InputState{};
}
