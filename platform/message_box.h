#pragma once
// Message boxes for the plug-in's refusals. There is no window system here:
// a box becomes one line on standard error, or goes to a recorder that a
// test installs.

namespace platform {

// Style bits as the boxes ask for them; kept for the recorder.
constexpr unsigned kBoxIconError = 0x10;
constexpr unsigned kBoxIconInformation = 0x40;
constexpr unsigned kBoxSystemModal = 0x1000;

using MessageBoxRecorder = void (*)(const char* text, const char* caption, unsigned style);

// Any thread; returns once the box is shown (written).
void showMessageBox(const char* text, const char* caption, unsigned style);
// Null restores standard error.
void setMessageBoxRecorder(MessageBoxRecorder recorder);

} // namespace platform
