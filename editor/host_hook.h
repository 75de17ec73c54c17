#pragma once
// Told of the host's top window's moves and focus outside our own host; hands
// them to the editor window as posted messages, so that nothing of ours runs
// inside the host's own handling.

#include "platform/window.h"

#include <cstdint>

class TesselHostHook final : public platform::WindowHandler {
public:
    // Messages posted to the editor window.
    static constexpr intptr_t kHostMoved = 1;
    static constexpr intptr_t kHostFocused = 2;

    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;

    // Hooks the host's window (unhooking any other); none only unhooks.
    void attach(platform::WindowSystem* system, platform::Window* host, platform::Window* editorWindow);
    void detach(platform::WindowSystem* system) { attach(system, nullptr, nullptr); }
    bool attached() const { return hooked_ != 0; }

private:
    // By handle: the host's window may be gone by the time we unhook.
    uintptr_t hooked_ = 0;
    platform::Window* editorWindow_ = nullptr;
};
