#include "platform/status_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::mutex guard;
char buffer[kStatusTextSize];
char fileBuffer[kFileMessageSize];

void store(const char* text)
{
    std::snprintf(buffer, sizeof buffer, "%s", text ? text : "");
}

} // namespace

void setStatusText(const char* text)
{
    std::lock_guard<std::mutex> lock(guard);
    store(text);
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
    std::lock_guard<std::mutex> lock(guard);
    return buffer;
}

bool trySetStatusText(const char* text, const char* requiredPrefix)
{
    std::unique_lock<std::mutex> lock(guard, std::try_to_lock);
    if (!lock.owns_lock())
        return false;
    if (requiredPrefix && buffer[0] != '\0' && std::strncmp(buffer, requiredPrefix, std::strlen(requiredPrefix)) != 0)
        return false;
    store(text);
    return true;
}

void setFileMessage(const char* text)
{
    std::lock_guard<std::mutex> lock(guard);
    std::snprintf(fileBuffer, sizeof fileBuffer, "%s", text ? text : "");
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
    std::lock_guard<std::mutex> lock(guard);
    return fileBuffer;
}

} // namespace platform
