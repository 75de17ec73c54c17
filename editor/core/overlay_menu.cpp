#include "editor/core/overlay_menu.h"

#include "platform/key_event.h"
#include "shell/usage_log.h"

namespace {


} // namespace

bool TesselOverlayMenu::onKey(const TesselKeyEvent& key)
{
    TesselButtonGroup* group = getButtonGroup();
    if (!isShown() || !group)
        return false;
    if (key.virtualKey == kVkEscape) {
        hide();
        return false;
    }
    const int32_t chosen = *group->onKey(key);
    if (TesselButton* button = group->getButton(chosen); button && isTextMode())
        resultText = button->getText();
    else
        resultIndex = chosen;
    if (key.virtualKey != kVkEnter)
        return false;
    hide();
    return true;
}

void TesselOverlayMenu::draw(VSTGUI::CDrawContext* context, bool focused)
{
    TesselButtonGroup* group = getButtonGroup();
    if (isShown() && group && !isTextMode()) {
        const float value = static_cast<float>(group->value);
        if (seenFirst_ && value != logRecord.value) {
            if (TesselUsageLog* log = usageLog())
                log->append(OMBRIX::iDATA(value));
        }
        logRecord.value = value;
        seenFirst_ = true;
    }
    TesselPopup::draw(context, focused);
}
