#include "platform/dialogs/desktop_dialogs.h"
#include "platform/window.h"

namespace platform {

WindowSystem::WindowSystem() = default;

WindowSystem::~WindowSystem() = default;

Dialogs& WindowSystem::dialogs()
{
    if (!dialogs_)
        dialogs_ = std::make_unique<DesktopDialogs>(*this);
    return *dialogs_;
}

} // namespace platform
