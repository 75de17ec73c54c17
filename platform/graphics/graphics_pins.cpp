#include "platform/graphics/graphics_pins.h"

#include <cairo.h>
#include <dlfcn.h>
#include <pixman.h>

namespace platform {

namespace {

// The library holding `symbol`, marked never to be unloaded.
void pinLibraryOf(const void* symbol)
{
    Dl_info info{};
    if (!dladdr(symbol, &info) || !info.dli_fname)
        return;
    // NOLOAD takes one more reference on the loaded library; NODELETE keeps it.
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace

void pinGraphicsLibraries()
{
    pinLibraryOf(reinterpret_cast<const void*>(&pixman_version));
    pinLibraryOf(reinterpret_cast<const void*>(&cairo_version));
}

} // namespace platform
