// MOD importer: any image imports or is refused, inside its bounds.

#include "fuzz/module_import_check.h"
#include "model/import/mod_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzModuleImport(data, size, [](const uint8_t* d, size_t n, TesselModule& song) {
        return importMod(d, n, song);
    });
}
