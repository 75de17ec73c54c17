#include "platform/message_box.h"

#include <atomic>
#include <cstdio>

namespace platform {

namespace {
std::atomic<MessageBoxRecorder> recorder{nullptr};
}

void showMessageBox(const char* text, const char* caption, unsigned style)
{
    if (MessageBoxRecorder r = recorder.load()) {
        r(text ? text : "", caption ? caption : "", style);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    std::fflush(stderr);
}

void setMessageBoxRecorder(MessageBoxRecorder r)
{
    recorder.store(r);
}

} // namespace platform
