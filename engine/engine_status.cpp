#include "engine/engine_status.h"

#include "platform/status_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

// Initial-exec: the library is dlopen'd, and the default model would reach this
// byte through __tls_get_addr and a block of its own on every audio block;
// glibc keeps spare static TLS for a dlopen'd library's few bytes like this one.
thread_local bool onAudioThread __attribute__((tls_model("initial-exec"))) = false;

} // namespace

TesselAudioThreadScope::TesselAudioThreadScope() : previous_(onAudioThread)
{
    onAudioThread = true;
}

TesselAudioThreadScope::~TesselAudioThreadScope()
{
    onAudioThread = previous_;
}

bool TesselAudioThreadScope::active()
{
    return onAudioThread;
}

void engineStatus(const char* text)
{
    if (onAudioThread)
        platform::trySetStatusText(text, nullptr);
    else
        platform::setStatusText(text);
}

void engineStatusFormat(const char* format, ...)
{
    char text[platform::kStatusTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    engineStatus(text);
}
