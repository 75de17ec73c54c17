// The tag reader: one tag at a time out of a memory file, never past its end.

#include "model/markup/markup.h"

#include <cstring>

namespace {

struct Reference {
    const char* text;
    size_t length;
    char character;
};

constexpr Reference kReferences[] = {
    {"&quot;", 6, '"'}, {"&apos;", 6, '\''}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&amp;", 5, '&'},
};

bool at(const TesselMemoryFile& file, char c)
{
    return file.position < file.end && *file.position == static_cast<uint8_t>(c);
}

void step(TesselMemoryFile& file)
{
    if (file.position < file.end)
        ++file.position;
}

} // namespace

void unescapeMarkup(char* value)
{
    char* out = value;
    for (const char* in = value; *in;) {
        bool replaced = false;
        if (*in == '&') {
            for (const Reference& reference : kReferences) {
                if (std::strncmp(in, reference.text, reference.length) == 0) {
                    *out++ = reference.character;
                    in += reference.length;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            *out++ = *in++;
    }
    *out = 0;
}

TesselElement* readElement(TesselMemoryFile& file, TesselElement& element)
{
    element.reset();
    element.kind = kElementOpen;
    if (!file.data || file.position < file.data || file.position > file.end)
        return nullptr;

    while (file.position < file.end && *file.position != '<')
        ++file.position;
    step(file);
    if (at(file, '/')) {
        step(file);
        element.kind = kElementClose;
    }
    file.readName(element.name);

    for (int k = 0;; ++k) {
        while (file.position < file.end && *file.position != ' ' && *file.position != '/'
               && *file.position != '>')
            ++file.position;
        while (at(file, ' '))
            ++file.position;
        // A tag cut off by the end of the text is no tag.
        if (file.atEnd())
            return nullptr;
        if (at(file, '/')) {
            step(file);
            element.kind = kElementSelf;
            if (!at(file, '>'))
                return nullptr;
            step(file);
            return &element;
        }
        if (at(file, '>')) {
            step(file);
            return &element;
        }

        TesselAttribute& slot = element.attributes[k];
        file.readName(slot.name);
        if (file.atEnd())
            return nullptr;
        char next = static_cast<char>(*file.position);
        if (next == ' ' || next == '/' || next == '>' || next == '"') {
            step(file); // an attribute without a value spoils the tag
            return nullptr;
        }
        if (next == '=') {
            step(file);
            if (at(file, '"'))
                step(file);
            file.readUntil(slot.value, '"', kMarkupValueSize);
            unescapeMarkup(slot.value);
            if (at(file, '"'))
                step(file);
        }
        element.count = k + 1;
        if (element.count > kMarkupReadLimit)
            return nullptr;
    }
}
