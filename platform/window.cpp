#include "platform/window.h"

#include "platform/graphics/image.h"

namespace platform {

Image WindowSystem::captureScreen()
{
    return Image();
}

} // namespace platform
