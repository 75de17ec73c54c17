#include "editor/editor_window/host_hook.h"

bool TesselHostHook::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    if (!editorWindow_)
        return false;
    switch (message.kind) {
    case platform::MessageKind::Moved:
    case platform::MessageKind::Resized:
        editorWindow_->post(kHostMoved);
        break;
    case platform::MessageKind::FocusIn:
        if (!hooked_.empty() && window.handle() == hooked_.back())
            editorWindow_->post(kHostFocused);
        break;
    case platform::MessageKind::Reparented:
    case platform::MessageKind::Destroy:
        editorWindow_->post(kHostRehung);
        break;
    default:
        break;
    }
    return false;
}

void TesselHostHook::attach(platform::WindowSystem* system, const std::vector<platform::Window*>& hostWindows,
                            platform::Window* editorWindow)
{
    if (system)
        for (uintptr_t handle : hooked_)
            if (platform::Window* hooked = system->findWindow(handle))
                hooked->setHandler(nullptr);
    hooked_.clear();
    editorWindow_ = nullptr;
    if (hostWindows.empty() || !editorWindow)
        return;
    for (platform::Window* host : hostWindows) {
        host->setHandler(this);
        hooked_.push_back(host->handle());
    }
    editorWindow_ = editorWindow;
}
