#pragma once
// The class id every control and page carries, and the song generation at
// which it last logged its value (-1: never).

#include <cstdint>

struct TesselClass {
    explicit TesselClass(int32_t id) : classId(id) {}

    int32_t classId;
    int32_t logGeneration = -1;
};

// A page's class record.
using TesselClassUI = TesselClass;
