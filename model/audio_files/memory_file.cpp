#include "model/audio_files/memory_file.h"

#include "platform/system/aligned_memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

bool TesselMemoryFile::load(const std::string& path, uint32_t wanted)
{
    free();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    if (wanted == 0) {
        long length = -1;
        if (std::fseek(file, 0, SEEK_END) == 0)
            length = std::ftell(file);
        std::rewind(file);
        // A folder opens but has no length; larger files than the 32-bit size
        // cannot be held.
        if (length < 0 || static_cast<unsigned long>(length) > std::numeric_limits<uint32_t>::max()) {
            std::fclose(file);
            return false;
        }
        wanted = static_cast<uint32_t>(length);
    }
    if (wanted > kMaxLoadSize) {
        std::fclose(file);
        return false;
    }
    // One byte more so that an empty file still gets a buffer.
    data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(wanted) + 1));
    if (!data) {
        std::fclose(file);
        return false;
    }
    size = wanted;
    end = data + size;
    position = data;
    platform::lockMemory(data, size);
    locked_ = true;
    size_t got = std::fread(data, 1, size, file);
    if (got < size)
        std::memset(data + got, 0, size - got);
    std::fclose(file);
    return true;
}

bool TesselMemoryFile::assign(const void* bytes, uint32_t count)
{
    if (!allocate(count))
        return false;
    if (count)
        std::memcpy(data, bytes, count);
    return true;
}

void TesselMemoryFile::free()
{
    if (data) {
        if (locked_)
            platform::unlockMemory(data, size);
        std::free(data);
    }
    data = nullptr;
    size = 0;
    end = nullptr;
    position = nullptr;
    locked_ = false;
}

bool TesselMemoryFile::allocate(uint32_t count)
{
    free();
    data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(count) + 1));
    if (!data)
        return false;
    size = count;
    end = data + size;
    position = data;
    return true;
}

bool TesselMemoryFile::putByte(uint8_t value)
{
    if (position >= end)
        return false;
    *position++ = value;
    return true;
}

bool TesselMemoryFile::write(const void* bytes, size_t itemSize, size_t count)
{
    if (count != 0 && itemSize > std::numeric_limits<size_t>::max() / count) {
        position = end;
        return false;
    }
    size_t total = itemSize * count;
    if (!canRead(total)) {
        position = end;
        return false;
    }
    if (total)
        std::memcpy(position, bytes, total);
    position += total;
    return true;
}

bool TesselMemoryFile::put16(uint32_t value)
{
    return putByte(value & 0xff) && putByte((value >> 8) & 0xff);
}

bool TesselMemoryFile::put24(uint32_t value)
{
    return put16(value) && putByte((value >> 16) & 0xff);
}

bool TesselMemoryFile::put32(uint32_t value)
{
    return put16(value) && put16(value >> 16);
}

uint32_t TesselMemoryFile::readUInt(int n)
{
    uint32_t value = 0;
    for (int i = 0; i < n && i < 4; ++i) {
        uint32_t byte = 0;
        if (position < end)
            byte = *position++;
        value |= byte << (8 * i);
    }
    return value;
}

void TesselMemoryFile::read(void* destination, uint32_t n)
{
    if (!canRead(n)) {
        position = end;
        return;
    }
    if (n)
        std::memcpy(destination, position, n);
    position += n;
}

void TesselMemoryFile::seek(size_t to)
{
    position = to < size ? data + to : end;
}

void TesselMemoryFile::skip(size_t n)
{
    position = canRead(n) ? position + n : end;
}
