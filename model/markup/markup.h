#pragma once
// One markup tag as read or written. Readers pull tags one at a time out of a
// memory file and follow nesting themselves; writers fill an element and write
// it as one line, indented by the program-wide `markupDepth`.

#include "model/audio_files/memory_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr int kMarkupNameSize = 32;   // 31 characters and the terminator
constexpr int kMarkupValueSize = 256; // 255 characters and the terminator
constexpr int kMarkupSlots = 48;
constexpr int kMarkupReadLimit = 31;  // attributes a tag read from a file may carry

enum TesselElementKind : int32_t {
    kElementOpen = 1,
    kElementClose = 2,
    kElementSelf = 4,
};

struct TesselAttribute {
    uint8_t present = 0; // written only when non-zero; the reader leaves it 0
    char name[kMarkupNameSize] = {};
    char value[kMarkupValueSize] = {};

    // Copies name and value, cut to their fields.
    void set(const char* name, const char* value, bool present = true);
};

struct TesselElement {
    char name[kMarkupNameSize];
    int32_t kind;
    int32_t count;
    TesselAttribute attributes[kMarkupSlots];

    TesselElement();
    // Copies n attributes (at most 48); a missing name gives "untitled".
    TesselElement(const char* name, int32_t kind, const TesselAttribute* attributes = nullptr,
                  int n = 0);

    void reset();
    void setName(const char* name);

    // Adds a slot for writing; null when all 48 are in use.
    TesselAttribute* add(const char* name, const char* value, bool present = true);
    TesselAttribute* addInt(const char* name, long long value, bool present = true);

    // The element's name equals either name exactly and its kind shares a bit
    // with the mask. A null short name matches nothing.
    bool is(const char* longName, const char* shortName, int32_t kindMask) const;

    // Getters: true and the output set when an attribute was found; false and
    // the output untouched otherwise. Long names compare without regard to
    // case; short names exactly, except for getString and getChar unless
    // they are asked to (documents where "p" and "P" are different fields).
    bool getString(const char* longName, const char* shortName, char* out, size_t capacity,
                   bool shortCaseBlind = true) const;
    template <size_t N>
    bool getString(const char* longName, const char* shortName, char (&out)[N],
                   bool shortCaseBlind = true) const
    {
        return getString(longName, shortName, out, N, shortCaseBlind);
    }
    bool getChar(const char* longName, const char* shortName, int8_t& out, bool shortCaseBlind = true) const;
    bool getShort(const char* longName, const char* shortName, int16_t& out) const;
    bool getInt(const char* longName, const char* shortName, int32_t& out) const;
    bool getBool(const char* longName, const char* shortName, bool& out) const;
    bool getFloat(const char* longName, const char* shortName, float& out) const;
    bool getDouble(const char* longName, const char* shortName, double& out) const;

    // The first slot whose name matches, or null.
    const TesselAttribute* find(const char* longName, const char* shortName,
                                bool shortCaseBlind) const;
};

// Nesting depth of the element writer, one for the whole program. A file
// written completely leaves it where it started; only one writer at a time.
extern int32_t markupDepth;

// Reads the next tag; null when the tag is malformed or the text is exhausted,
// which readers take as the end of their input.
TesselElement* readElement(TesselMemoryFile& file, TesselElement& element);

// Writes one tag with its present attributes escaped; an open element raises
// the depth after it is written, a close element lowers it before.
void writeElement(FILE* stream, const TesselElement& element, bool indent, bool newline);

// One attribute of a tag whose values are all integers.
struct TesselIntAttribute {
    const char* name;
    long long value;
    bool present = true;
};

// As writeElement, for a tag whose attributes are all integers (a closing tag
// has none), without building an element: the song's cells, most of its
// document, are written this way. Same bytes, same depth.
void writeIntElement(FILE* stream, const char* name, int32_t kind, const TesselIntAttribute* attributes, int n,
                     bool indent, bool newline);

// Escapes the five special characters of a value; `out` must hold
// kMarkupEscapedSize bytes, enough for a value made only of them.
constexpr size_t kMarkupEscapedSize = (kMarkupValueSize - 1) * 6 + 1;
void escapeMarkup(const char* value, char* out);
// Decodes the five references in place, each once, left to right.
void unescapeMarkup(char* value);
