#include "platform/status_text.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <thread>

namespace platform {
namespace {

// The audio thread writes the line on every row of playback, after a sleep
// that leaves the thread library's lock code and the string functions cold:
// a flag it only tries, and copies by hand, cost it a fraction of those.
// The other threads hold the flag for a copy of at most 256 characters.
std::atomic<bool> busy{false};
char buffer[kStatusTextSize];
char fileBuffer[kFileMessageSize];

bool tryTake()
{
    return !busy.exchange(true, std::memory_order_acquire);
}

class Hold {
public:
    Hold()
    {
        while (!tryTake())
            std::this_thread::yield();
    }
    ~Hold() { busy.store(false, std::memory_order_release); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
};

// Copies text, cut to fit, always terminated.
void copyCut(char* to, size_t size, const char* text)
{
    size_t n = 0;
    if (text)
        for (; n + 1 < size && text[n]; ++n)
            to[n] = text[n];
    to[n] = '\0';
}

bool startsWith(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix)
        if (*text != *prefix)
            return false;
    return true;
}

} // namespace

void setStatusText(const char* text)
{
    Hold hold;
    copyCut(buffer, sizeof buffer, text);
}

void formatStatusText(const char* format, ...)
{
    char formatted[kStatusTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(formatted, sizeof formatted, format, args);
    va_end(args);
    setStatusText(formatted);
}

void clearStatusText()
{
    setStatusText("");
}

std::string statusText()
{
    char copy[kStatusTextSize];
    {
        Hold hold;
        copyCut(copy, sizeof copy, buffer);
    }
    return copy;
}

bool trySetStatusText(const char* text, const char* requiredPrefix)
{
    if (!tryTake())
        return false;
    const bool writes = !requiredPrefix || buffer[0] == '\0' || startsWith(buffer, requiredPrefix);
    if (writes)
        copyCut(buffer, sizeof buffer, text);
    busy.store(false, std::memory_order_release);
    return writes;
}

void setFileMessage(const char* text)
{
    Hold hold;
    copyCut(fileBuffer, sizeof fileBuffer, text);
}

void formatFileMessage(const char* format, ...)
{
    char formatted[kFileMessageSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(formatted, sizeof formatted, format, args);
    va_end(args);
    setFileMessage(formatted);
}

std::string fileMessage()
{
    char copy[kFileMessageSize];
    {
        Hold hold;
        copyCut(copy, sizeof copy, fileBuffer);
    }
    return copy;
}

} // namespace platform
