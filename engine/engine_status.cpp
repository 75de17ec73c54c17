#include "engine/engine_status.h"

#include "platform/status_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

thread_local bool onAudioThread = false;

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
