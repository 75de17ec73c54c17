#pragma once
// The one status line of the process: 80 characters that the editor shows and
// clears, written whole by the engine, the file operations and the plug-in;
// and the toolbar's file message beside it ("Loading...", "Saving...").

#include <cstddef>
#include <string>

namespace platform {

constexpr size_t kStatusTextSize = 80;   // including the terminator

// Editor and file threads: may wait briefly for a writer on another thread.
void setStatusText(const char* text);
void formatStatusText(const char* format, ...) __attribute__((format(printf, 1, 2)));
void clearStatusText();
std::string statusText();

// Audio thread: never waits; returns false (and writes nothing) when another
// thread is writing, or when the current text is neither empty nor begins
// with requiredPrefix (pass null to overwrite any text).
bool trySetStatusText(const char* text, const char* requiredPrefix);

// Editor and file threads; a longer text is cut.
constexpr size_t kFileMessageSize = 256;   // including the terminator
void setFileMessage(const char* text);
void formatFileMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string fileMessage();

} // namespace platform
