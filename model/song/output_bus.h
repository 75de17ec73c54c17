#pragma once
// The song's output bus slot.

#include <cstdint>
#include <cstdio>
#include <string>

class TesselMemoryFile;
struct TesselElement;

constexpr int kOutputBusNameSize = 64;
constexpr int32_t kMaxOutputBusType = 2;
constexpr int kStoredOutputBusName = 13;   // characters kept in documents

struct TesselOutputBus {
    TesselOutputBus() { reset(); }

    // Name "Output Bus %d" with index + 1, type 2; the index stays.
    void reset();
    std::string defaultName() const;
    bool isDefault() const;
    void setName(const char* text);   // cut to 63 characters

    // Document markup: a self-contained "bus", nothing when at the default.
    void writeXml(FILE* file) const;
    // Resets to bus 0, then takes each "bus" of index 0 up to the closing
    // "outputs" (name cut to 13 characters, type at most 2); false when the
    // input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);

    int32_t index = 0;
    char name[kOutputBusNameSize] = {};
    int32_t type = kMaxOutputBusType;
};
