// The tag writer: one tag a call, indented by the program-wide depth.

#include "model/markup/markup.h"

#include <charconv>

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

namespace {

void writeIndent(FILE* stream)
{
    static const char spaces[] = "                                                                ";
    constexpr int32_t kRun = sizeof spaces - 1;
    for (int32_t left = markupDepth; left > 0; left -= kRun)
        std::fwrite(spaces, 1, static_cast<size_t>(left < kRun ? left : kRun), stream);
}

// Appends at most kMarkupNameSize - 1 characters of the name, as "%.*s" would.
char* appendName(char* at, const char* name)
{
    for (int i = 0; i < kMarkupNameSize - 1 && name[i]; ++i)
        *at++ = name[i];
    return at;
}

char* appendInt(char* at, long long value)
{
    return std::to_chars(at, at + 24, value).ptr;   // as "%lld" writes it
}

} // namespace

void writeIntElement(FILE* stream, const char* name, int32_t kind, const TesselIntAttribute* attributes, int n,
                     bool indent, bool newline)
{
    if (kind == kElementClose)
        --markupDepth;
    if (indent)
        writeIndent(stream);
    // Room for the name, "</" or "<", "/>" and the newline, and one attribute
    // more than the largest that is flushed before it.
    char text[256];
    constexpr size_t kFlushAt = sizeof text - (kMarkupNameSize + 24 + 8);
    char* at = text;
    *at++ = '<';
    if (kind == kElementClose)
        *at++ = '/';
    at = appendName(at, name);
    if (kind != kElementClose) {
        for (int i = 0; attributes && i < n && i < kMarkupSlots; ++i) {
            if (!attributes[i].present)
                continue;
            if (static_cast<size_t>(at - text) > kFlushAt) {
                std::fwrite(text, 1, static_cast<size_t>(at - text), stream);
                at = text;
            }
            *at++ = ' ';
            at = appendName(at, attributes[i].name);
            *at++ = '=';
            *at++ = '"';
            at = appendInt(at, attributes[i].value);
            *at++ = '"';
        }
    }
    if (kind == kElementSelf)
        *at++ = '/';
    *at++ = '>';
    if (kind == kElementOpen)
        ++markupDepth;
    if (newline)
        *at++ = '\n';
    std::fwrite(text, 1, static_cast<size_t>(at - text), stream);
}

void writeElement(FILE* stream, const TesselElement& element, bool indent, bool newline)
{
    if (element.kind == kElementClose)
        --markupDepth;
    if (indent)
        writeIndent(stream);
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
