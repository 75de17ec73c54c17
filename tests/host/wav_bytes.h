#pragma once
// Reading written files back in the host's tests.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace hosttest {

inline std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The little-endian 32-bit value at a byte offset.
inline uint32_t le32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
    return v;
}

} // namespace hosttest
