#pragma once
// Told of the host's windows outside our own host: the window that holds
// the toolbar frame and every window above it up to the host's top window.
// Their moves, the top window's focus and changes of where they hang are
// handed to the editor window as posted messages, so that nothing of ours
// runs inside the host's own handling.

#include "platform/window.h"

#include <cstdint>
#include <vector>

class TesselHostHook final : public platform::WindowHandler {
public:
    // Messages posted to the editor window.
    static constexpr intptr_t kHostMoved = 1;
    static constexpr intptr_t kHostFocused = 2;
    // One of the windows went or moved into another parent: the host's top
    // window may be another one now.
    static constexpr intptr_t kHostRehung = 3;

    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;

    // Hooks the windows from the host's window up to its top window, the
    // last one (unhooking any others); none only unhooks.
    void attach(platform::WindowSystem* system, const std::vector<platform::Window*>& hostWindows,
                platform::Window* editorWindow);
    void detach(platform::WindowSystem* system) { attach(system, {}, nullptr); }
    bool attached() const { return !hooked_.empty(); }

private:
    // By handle: the host's windows may be gone by the time we unhook.
    std::vector<uintptr_t> hooked_;
    platform::Window* editorWindow_ = nullptr;
};
