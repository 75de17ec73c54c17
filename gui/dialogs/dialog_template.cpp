#include "gui/dialogs/dialog_template.h"

#include <algorithm>
#include <mutex>

namespace {

// Base units of the 8-point dialog font: 4 horizontal units are an average
// character width, 8 vertical units a character height.
constexpr int32_t kBaseWidth = 6;
constexpr int32_t kBaseHeight = 13;

int32_t scaled(int32_t units, int32_t base, int32_t divisor)
{
    const int64_t product = static_cast<int64_t>(units) * base;
    return static_cast<int32_t>(product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor));
}

std::mutex& registryLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<const DialogModule*>& registry()
{
    static std::vector<const DialogModule*> modules;
    return modules;
}

} // namespace

int32_t dialogUnitsToPixelsX(int32_t units)
{
    return scaled(units, kBaseWidth, 4);
}

int32_t dialogUnitsToPixelsY(int32_t units)
{
    return scaled(units, kBaseHeight, 8);
}

CRect dialogUnitsToPixels(const DialogUnits& units)
{
    const int32_t left = dialogUnitsToPixelsX(units.x);
    const int32_t top = dialogUnitsToPixelsY(units.y);
    return CRect(left, top, left + dialogUnitsToPixelsX(units.width), top + dialogUnitsToPixelsY(units.height));
}

DialogModule::DialogModule(std::string name, std::vector<DialogTemplate> templates)
    : name_(std::move(name)), templates_(std::move(templates))
{
    std::lock_guard<std::mutex> guard(registryLock());
    registry().push_back(this);
}

DialogModule::~DialogModule()
{
    std::lock_guard<std::mutex> guard(registryLock());
    std::erase(registry(), this);
}

const DialogTemplate* DialogModule::find(int32_t id) const
{
    const auto found = std::find_if(templates_.begin(), templates_.end(),
                                    [id](const DialogTemplate& t) { return t.id == id; });
    return found == templates_.end() ? nullptr : &*found;
}

const DialogModule* DialogModule::named(const std::string& name)
{
    std::lock_guard<std::mutex> guard(registryLock());
    // The latest of a name wins, as the last loaded module would.
    for (auto it = registry().rbegin(); it != registry().rend(); ++it)
        if ((*it)->name() == name)
            return *it;
    return nullptr;
}
