#pragma once
// Reading written files back in the host's tests.

#include "model/scratch_folder.h"

#include <cstdint>
#include <string>

namespace hosttest {

// The little-endian 32-bit value at a byte offset.
inline uint32_t le32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
    return v;
}

} // namespace hosttest
