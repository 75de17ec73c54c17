#pragma once
// The resource blob that the generator writes and the library embeds.
// Little-endian 32-bit fields: a header (magic, version, count), then count
// entries of kEntryWords fields, then payloads and labels. Bitmap payloads are
// width x height pixels 0x00RRGGBB, rows top first, without gaps.

#include <cstddef>
#include <cstdint>
#include <string>

namespace resources::blob {

constexpr uint32_t kMagic = 0x53524251;   // "QBRS"
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 12;

enum class Kind : uint32_t { bitmap = 1, data = 2 };

enum EntryField : size_t { id, kind, width, height, payloadOffset, payloadSize, labelOffset, labelSize, kEntryWords };
constexpr size_t kEntrySize = kEntryWords * 4;

inline uint32_t readLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void appendLe32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += char(uint8_t(value >> shift));
}

} // namespace resources::blob
