// The text cursor of the memory file: what the markup reader and the format
// probes of the importers scan with.

#include "model/audio_files/memory_file.h"

#include <cstring>

namespace {

bool isNameChar(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

void TesselMemoryFile::readUntil(char* buffer, char stop, int limit)
{
    int scanned = 0;
    while (scanned < limit && position < end && *position != static_cast<uint8_t>(stop)) {
        if (scanned < limit - 1)
            buffer[scanned] = static_cast<char>(*position);
        ++scanned;
        ++position;
    }
    if (limit > 0)
        buffer[scanned < limit ? scanned : limit - 1] = 0;
}

void TesselMemoryFile::readName(char* buffer)
{
    int length = 0;
    while (position < end && isNameChar(*position)) {
        // Longer names are cut; the rest of the run is passed over so that
        // the character after the name is still what decides the attribute.
        if (length < kNameLength)
            buffer[length++] = static_cast<char>(*position);
        ++position;
    }
    buffer[length] = 0;
}

bool TesselMemoryFile::match(const char* literal)
{
    size_t length = std::strlen(literal);
    if (!position || !canRead(length) || std::memcmp(position, literal, length) != 0)
        return false;
    position += length;
    return true;
}
