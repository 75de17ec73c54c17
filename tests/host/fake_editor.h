#pragma once
// A plug-in with an editor, in the test itself, on the test's window system:
// effEditOpen puts a 493 x 36 toolbar into the host's window, the first idle
// puts an editor window into the host's "MDIClient" child, and the editor
// window keeps the keys it is handed.

#include "host/vst2.h"
#include "platform/window.h"

#include <memory>
#include <vector>

namespace hosttest {

class FakeEditorPlugin : private platform::WindowHandler {
public:
    static constexpr int kToolbarWidth = 493;
    static constexpr int kToolbarHeight = 36;

    explicit FakeEditorPlugin(platform::WindowSystem& windows) : windows_(windows)
    {
        effect.magic = kEffectMagic;
        effect.dispatcher = &FakeEditorPlugin::dispatch;
        effect.flags = effFlagsHasEditor;
        effect.object = this;
    }

    AEffect effect{};
    int idles = 0;
    int opens = 0;
    int closes = 0;
    std::vector<platform::WindowMessage> keys;   // what the editor window heard
    std::unique_ptr<platform::Window> toolbar;
    std::unique_ptr<platform::Window> editorWindow;

private:
    static VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
    {
        auto& self = *static_cast<FakeEditorPlugin*>(effect->object);
        switch (opcode) {
        case effEditOpen: return self.open(reinterpret_cast<uintptr_t>(ptr));
        case effEditGetRect:
            *static_cast<ERect**>(ptr) = &self.rect_;
            return 1;
        case effEditIdle: self.idle(); return 0;
        case effEditClose:
            ++self.closes;
            self.editorWindow.reset();
            self.toolbar.reset();
            return 0;
        default: return 0;
        }
    }

    VstIntPtr open(uintptr_t parentHandle)
    {
        ++opens;
        host_ = windows_.findWindow(parentHandle);
        if (!host_)
            return 0;
        platform::WindowOptions options;
        options.parent = host_;
        options.rect = {0, 0, kToolbarWidth, kToolbarHeight};
        options.className = "Toolbar";
        toolbar = windows_.createWindow(options);
        return 1;
    }

    void idle()
    {
        ++idles;
        if (editorWindow || !host_)
            return;
        for (platform::Window* child : windows_.children(*host_))
            if (child->className() == "MDIClient") {
                platform::WindowOptions options;
                options.parent = child;
                options.rect = {0, 0, 300, 200};
                options.className = "Editor";
                options.handler = this;
                editorWindow = windows_.createWindow(options);
            }
    }

    bool handleMessage(platform::Window&, platform::WindowMessage& message) override
    {
        if (message.kind == platform::MessageKind::KeyDown || message.kind == platform::MessageKind::KeyUp)
            keys.push_back(message);
        return false;
    }

    platform::WindowSystem& windows_;
    platform::Window* host_ = nullptr;
    ERect rect_{0, 0, kToolbarHeight, kToolbarWidth};
};

} // namespace hosttest
