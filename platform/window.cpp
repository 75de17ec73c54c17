#include "platform/window.h"

#include "platform/image.h"

namespace platform {

Image WindowSystem::captureScreen()
{
    return Image();
}

} // namespace platform
