// A stand-in for the sibling library "Ostra.so": entries 2 and 3 count
// their calls, which the test reads through OstraCalls.

#include <cstdint>

namespace {
int32_t calls2 = 0;
int32_t calls3 = 0;
} // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t OstraEntry2()
{
    ++calls2;
    return 42;
}

__attribute__((visibility("default"))) int32_t OstraEntry3()
{
    ++calls3;
    return 7;
}

__attribute__((visibility("default"))) void OstraCalls(int32_t* entry2, int32_t* entry3)
{
    *entry2 = calls2;
    *entry3 = calls3;
}
}
