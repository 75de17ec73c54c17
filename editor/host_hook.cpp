#include "editor/host_hook.h"

bool TesselHostHook::handleMessage(platform::Window& /*window*/, platform::WindowMessage& message)
{
    if (!editorWindow_)
        return false;
    if (message.kind == platform::MessageKind::Moved || message.kind == platform::MessageKind::Resized)
        editorWindow_->post(kHostMoved);
    else if (message.kind == platform::MessageKind::FocusIn)
        editorWindow_->post(kHostFocused);
    return false;
}

void TesselHostHook::attach(platform::WindowSystem* system, platform::Window* host, platform::Window* editorWindow)
{
    if (hooked_ && system) {
        if (platform::Window* hooked = system->findWindow(hooked_))
            hooked->setHandler(nullptr);
    }
    hooked_ = 0;
    editorWindow_ = nullptr;
    if (!host || !editorWindow)
        return;
    host->setHandler(this);
    hooked_ = host->handle();
    editorWindow_ = editorWindow;
}
