#include "model/markup/markup.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

void copyCut(char* destination, const char* source, size_t capacity)
{
    // Bounded on the source too: a slot filled by hand need not be terminated.
    std::snprintf(destination, capacity, "%.*s", static_cast<int>(capacity - 1), source ? source : "");
}

bool equalsBlind(const char* a, const char* b)
{
    return b && strncasecmp(a, b, kMarkupNameSize) == 0;
}

bool equalsExact(const char* a, const char* b)
{
    return b && std::strncmp(a, b, kMarkupNameSize) == 0;
}

} // namespace

void TesselAttribute::set(const char* newName, const char* newValue, bool isPresent)
{
    present = isPresent ? 1 : 0;
    copyCut(name, newName, sizeof name);
    copyCut(value, newValue, sizeof value);
}

TesselElement::TesselElement()
{
    reset();
}

TesselElement::TesselElement(const char* newName, int32_t newKind,
                             const TesselAttribute* source, int n)
{
    reset();
    setName(newName);
    kind = newKind;
    if (n > kMarkupSlots)
        n = kMarkupSlots;
    for (int i = 0; source && i < n; ++i) {
        attributes[i].present = source[i].present;
        copyCut(attributes[i].name, source[i].name, sizeof attributes[i].name);
        copyCut(attributes[i].value, source[i].value, sizeof attributes[i].value);
    }
    count = source && n > 0 ? n : 0;
}

void TesselElement::reset()
{
    std::strcpy(name, "untitled");
    kind = kElementSelf;
    count = 0;
    for (TesselAttribute& slot : attributes)
        slot = TesselAttribute{};
}

void TesselElement::setName(const char* newName)
{
    copyCut(name, newName ? newName : "untitled", sizeof name);
}

TesselAttribute* TesselElement::add(const char* attributeName, const char* value, bool present)
{
    if (count < 0 || count >= kMarkupSlots)
        return nullptr;
    TesselAttribute& slot = attributes[count++];
    slot.set(attributeName, value, present);
    return &slot;
}

TesselAttribute* TesselElement::addInt(const char* attributeName, long long value, bool present)
{
    char text[24];
    std::snprintf(text, sizeof text, "%lld", value);
    return add(attributeName, text, present);
}

bool TesselElement::is(const char* longName, const char* shortName, int32_t kindMask) const
{
    return (equalsExact(name, longName) || equalsExact(name, shortName)) && (kind & kindMask) != 0;
}

const TesselAttribute* TesselElement::find(const char* longName, const char* shortName,
                                           bool shortCaseBlind) const
{
    int n = count < 0 ? 0 : (count > kMarkupSlots ? kMarkupSlots : count);
    for (int i = 0; i < n; ++i) {
        const char* slotName = attributes[i].name;
        if (equalsBlind(slotName, longName))
            return &attributes[i];
        if (shortCaseBlind ? equalsBlind(slotName, shortName) : equalsExact(slotName, shortName))
            return &attributes[i];
    }
    return nullptr;
}
