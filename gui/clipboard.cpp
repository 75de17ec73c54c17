#include "gui/clipboard.h"

#include "platform/window.h"

#include <algorithm>
#include <vector>

namespace tessel_clipboard {

namespace {

std::vector<platform::WindowSystem*>& sources()
{
    static std::vector<platform::WindowSystem*> registered;
    return registered;
}

} // namespace

void addSource(platform::WindowSystem* system)
{
    if (system)
        sources().push_back(system);
}

void removeSource(platform::WindowSystem* system)
{
    auto& all = sources();
    auto found = std::find(all.rbegin(), all.rend(), system);
    if (found != all.rend())
        all.erase(std::next(found).base());
}

std::string text()
{
    return sources().empty() ? std::string() : sources().back()->clipboardText();
}

} // namespace tessel_clipboard
