#include "editor/core/status_countdown.h"

#include "platform/status_text.h"

TesselStatusCountdown::Pass TesselStatusCountdown::step()
{
    Pass pass;
    const std::string status = platform::statusText();
    if (status != shownStatus_) {
        shownStatus_ = status;
        statusLeft_ = status.empty() ? 0 : kStatusPasses;
        pass.statusChanged = true;
    }
    const std::string message = platform::fileMessage().substr(0, kMessageCompared);
    if (message != shownMessage_) {
        shownMessage_ = message;
        messageLeft_ = message.empty() ? 0 : kMessagePasses;
        pass.messageChanged = true;
    }
    if (messageLeft_ > 0 && --messageLeft_ == 0) {
        platform::setFileMessage("");
        shownMessage_.clear();
        pass.messageCleared = true;
    }
    if (statusLeft_ > 0 && --statusLeft_ == 0) {
        platform::clearStatusText();
        shownStatus_.clear();
        pass.statusCleared = true;
    }
    return pass;
}
