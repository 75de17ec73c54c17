#pragma once
// Small pieces shared by the readers and writers of the song document.

#include "model/markup/markup.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

// 8-bit fields by their exact short names: short documents use "m"/"M" and
// "p"/"P" for different fields, which the case-blind getters would confuse.
inline bool readByte(const TesselElement& element, const char* longName, const char* shortName, uint8_t& out)
{
    int8_t value = 0;
    if (!element.getChar(longName, shortName, value, false))
        return false;
    out = static_cast<uint8_t>(value);
    return true;
}

inline bool readSignedByte(const TesselElement& element, const char* longName, const char* shortName,
                           int8_t& out)
{
    return element.getChar(longName, shortName, out, false);
}

// An integer attribute brought into low..high as it is read (a value outside
// becomes the nearest bound), so that no document, hand-edited or hostile,
// hands the engine a number its arithmetic was not made for.
inline bool readIntWithin(const TesselElement& element, const char* longName, const char* shortName, int32_t& out,
                          int32_t low, int32_t high)
{
    int32_t value = 0;
    if (!element.getInt(longName, shortName, value))
        return false;
    out = std::clamp(value, low, high);
    return true;
}

// As readByte, the value brought into low..high.
inline bool readByteWithin(const TesselElement& element, const char* longName, const char* shortName, uint8_t& out,
                           uint8_t low, uint8_t high)
{
    if (!readByte(element, longName, shortName, out))
        return false;
    out = std::clamp(out, low, high);
    return true;
}

inline void writeClose(FILE* file, const char* name, bool indent = true, bool newline = true)
{
    writeIntElement(file, name, kElementClose, nullptr, 0, indent, newline);
}

// Hands every element up to the closing `longName`/`shortName` to `child`:
// true at the closing element, false when the input ends first.
template <typename Child>
bool readChildren(TesselMemoryFile& buffer, const char* longName, const char* shortName, Child child)
{
    TesselElement element;
    while (readElement(buffer, element)) {
        if (element.is(longName, shortName, kElementClose))
            return true;
        child(element);
    }
    return false;
}

// Open or self-contained.
constexpr int32_t kElementAny = kElementOpen | kElementSelf;
