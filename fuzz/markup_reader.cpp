// Markup reader: every tag of the input is read, queried and written again.

#include "model/markup/markup.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    TesselMemoryFile file;
    if (!file.assign(data, static_cast<uint32_t>(size)))
        return 0;
    static FILE* sink = std::fopen("/dev/null", "w");
    markupDepth = 0;
    TesselElement element;
    while (!file.atEnd() && readElement(file, element)) {
        if (element.count > kMarkupReadLimit)
            __builtin_trap();
        char text[16];
        int32_t number;
        double real;
        int8_t small;
        const char* name = element.count > 0 ? element.attributes[0].name : "index";
        element.getString(name, "i", text);
        element.getInt(name, "i", number);
        element.getDouble(name, "v", real);
        element.getChar(name, "c", small);
        element.is("sample", "sa", kElementOpen | kElementSelf);
        for (int i = 0; i < element.count; ++i)
            element.attributes[i].present = 1;
        if (sink)
            writeElement(sink, element, true, true);
    }
    markupDepth = 0;
    return 0;
}
