// The tag writer: one tag a call, indented by the program-wide depth.

#include "model/markup.h"

int32_t markupDepth = 0;

void escapeMarkup(const char* value, char* out)
{
    char* o = out;
    // The value field holds at most 255 characters; a slot filled by hand
    // without a terminator is cut there as well.
    for (int i = 0; i < kMarkupValueSize - 1 && value[i]; ++i) {
        const char* replacement = nullptr;
        switch (value[i]) {
        case '"': replacement = "&quot;"; break;
        case '&': replacement = "&amp;"; break;
        case '\'': replacement = "&apos;"; break;
        case '<': replacement = "&lt;"; break;
        case '>': replacement = "&gt;"; break;
        default: *o++ = value[i]; continue;
        }
        while (*replacement)
            *o++ = *replacement++;
    }
    *o = 0;
}

void writeElement(FILE* stream, const TesselElement& element, bool indent, bool newline)
{
    if (element.kind == kElementClose)
        --markupDepth;
    if (indent)
        for (int32_t i = 0; i < markupDepth; ++i)
            std::fputc(' ', stream);
    int nameLength = kMarkupNameSize - 1;
    if (element.kind == kElementClose) {
        std::fprintf(stream, "</%.*s>", nameLength, element.name);
    } else {
        std::fprintf(stream, "<%.*s", nameLength, element.name);
        int n = element.count < 0 ? 0 : (element.count > kMarkupSlots ? kMarkupSlots : element.count);
        char escaped[kMarkupEscapedSize];
        for (int i = 0; i < n; ++i) {
            const TesselAttribute& slot = element.attributes[i];
            if (!slot.present)
                continue;
            escapeMarkup(slot.value, escaped);
            std::fprintf(stream, " %.*s=\"%s\"", nameLength, slot.name, escaped);
        }
        if (element.kind == kElementOpen) {
            std::fputs(">", stream);
            ++markupDepth;
        } else {
            std::fputs("/>", stream);
        }
    }
    if (newline)
        std::fputc('\n', stream);
}
