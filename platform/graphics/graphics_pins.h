#pragma once

namespace platform {

// Keeps the raster libraries loaded after a host unloads this library:
// pixman builds its tables when it loads and never frees them, so each
// unload and reload would lose them. Call once when the library loads.
void pinGraphicsLibraries();

} // namespace platform
