#pragma once
// The editor's own window system when no test supplies one: a connection to
// the X display, opened by effEditOpen. Null without a display.

#include "platform/window.h"

#include <memory>

std::unique_ptr<platform::WindowSystem> openOwnWindowSystem();
