#pragma once
// Message boxes for the plug-in's refusals, shown before any window of ours
// exists: a line on standard error always, then a box through the desktop's
// dialogs (zenity, else kdialog, else a window of our own) when there is a
// display to show it on. A recorder that a test installs takes the box's
// place.

namespace platform {

// Style bits as the boxes ask for them; kept for the recorder.
constexpr unsigned kBoxIconError = 0x10;
constexpr unsigned kBoxIconInformation = 0x40;
constexpr unsigned kBoxSystemModal = 0x1000;

using MessageBoxRecorder = void (*)(const char* text, const char* caption, unsigned style);

// Any thread; returns once the box is answered (without a display, once the
// line is written).
void showMessageBox(const char* text, const char* caption, unsigned style);
// Null restores standard error.
void setMessageBoxRecorder(MessageBoxRecorder recorder);

} // namespace platform
