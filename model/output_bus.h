#pragma once
// The song's output bus slot.

#include <cstdint>
#include <string>

constexpr int kOutputBusNameSize = 64;
constexpr int32_t kMaxOutputBusType = 2;

struct TesselOutputBus {
    TesselOutputBus() { reset(); }

    // Name "Output Bus %d" with index + 1, type 2; the index stays.
    void reset();
    std::string defaultName() const;
    bool isDefault() const;
    void setName(const char* text);   // cut to 63 characters

    int32_t index = 0;
    char name[kOutputBusNameSize] = {};
    int32_t type = kMaxOutputBusType;
};
