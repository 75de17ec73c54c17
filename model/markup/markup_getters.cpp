// Typed getters of an element: attribute text to numbers, the same way
// whatever the process locale is.

#include "model/markup/markup.h"

#include <cfloat>
#include <charconv>
#include <cstring>

namespace {

const char* skipBlanks(const char* text, const char* end)
{
    while (text < end && (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r'
                          || *text == '\v' || *text == '\f'))
        ++text;
    return text;
}

const char* valueEnd(const TesselAttribute& slot)
{
    return slot.value + strnlen(slot.value, sizeof slot.value);
}

// Sign and decimal digits as far as they go, saturating; no digits gives 0.
long long parseInteger(const TesselAttribute& slot)
{
    const char* end = valueEnd(slot);
    const char* p = skipBlanks(slot.value, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    long long value = 0;
    constexpr long long kLimit = 1LL << 40; // far beyond 32 bits, far below overflow
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        if (value < kLimit)
            value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

// Sign, digits, fraction and exponent as far as they form a number.
double parseReal(const TesselAttribute& slot)
{
    const char* end = valueEnd(slot);
    const char* p = skipBlanks(slot.value, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    double value = 0.0;
    // from_chars takes no sign and no "inf"/"nan" once the text starts with a digit or point.
    if (p < end && ((*p >= '0' && *p <= '9') || *p == '.')) {
        auto result = std::from_chars(p, end, value, std::chars_format::general);
        if (result.ec != std::errc())
            value = 0.0; // a lone point, or a number beyond double range

    }
    return negative ? -value : value;
}

uint32_t lowBits(long long value)
{
    return static_cast<uint32_t>(static_cast<unsigned long long>(value));
}

// Sets out from the first matching slot; false and out untouched when none.
template <typename T, typename Conversion>
bool convert(const TesselElement& element, const char* longName, const char* shortName,
             bool shortCaseBlind, T& out, Conversion conversion)
{
    const TesselAttribute* slot = element.find(longName, shortName, shortCaseBlind);
    if (!slot)
        return false;
    out = conversion(*slot);
    return true;
}

} // namespace

bool TesselElement::getString(const char* longName, const char* shortName, char* out,
                              size_t capacity, bool shortCaseBlind) const
{
    const TesselAttribute* slot = find(longName, shortName, shortCaseBlind);
    if (!slot)
        return false;
    if (capacity > 0) {
        size_t length = strnlen(slot->value, sizeof slot->value - 1);
        if (length > capacity - 1)
            length = capacity - 1;
        std::memcpy(out, slot->value, length);
        out[length] = 0;
    }
    return true;
}

bool TesselElement::getChar(const char* longName, const char* shortName, int8_t& out,
                            bool shortCaseBlind) const
{
    return convert(*this, longName, shortName, shortCaseBlind, out, [](const TesselAttribute& slot) {
        return static_cast<int8_t>(static_cast<uint8_t>(lowBits(parseInteger(slot))));
    });
}

bool TesselElement::getShort(const char* longName, const char* shortName, int16_t& out) const
{
    return convert(*this, longName, shortName, false, out, [](const TesselAttribute& slot) {
        return static_cast<int16_t>(static_cast<uint16_t>(lowBits(parseInteger(slot))));
    });
}

bool TesselElement::getInt(const char* longName, const char* shortName, int32_t& out) const
{
    return convert(*this, longName, shortName, false, out, [](const TesselAttribute& slot) {
        return static_cast<int32_t>(lowBits(parseInteger(slot)));
    });
}

bool TesselElement::getBool(const char* longName, const char* shortName, bool& out) const
{
    return convert(*this, longName, shortName, false, out,
                   [](const TesselAttribute& slot) { return parseInteger(slot) != 0; });
}

bool TesselElement::getFloat(const char* longName, const char* shortName, float& out) const
{
    return convert(*this, longName, shortName, false, out, [](const TesselAttribute& slot) {
        double value = parseReal(slot);
        // Out of float range is clamped rather than left undefined.
        return static_cast<float>(value > FLT_MAX ? FLT_MAX : value < -FLT_MAX ? -FLT_MAX : value);
    });
}

bool TesselElement::getDouble(const char* longName, const char* shortName, double& out) const
{
    return convert(*this, longName, shortName, false, out, parseReal);
}
