#include "model/song/output_bus.h"

#include <cstdio>

std::string TesselOutputBus::defaultName() const
{
    char text[32];
    std::snprintf(text, sizeof text, "Output Bus %d", index + 1);
    return text;
}

void TesselOutputBus::reset()
{
    setName(defaultName().c_str());
    type = kMaxOutputBusType;
}

bool TesselOutputBus::isDefault() const
{
    return defaultName() == name && type == kMaxOutputBusType;
}

void TesselOutputBus::setName(const char* text)
{
    std::snprintf(name, sizeof name, "%s", text ? text : "");
}
