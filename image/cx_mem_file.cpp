#include "image/cx_mem_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int64_t kMaxPosition = INT32_MAX;
}

CxMemFile::CxMemFile(uint8_t* buffer, int32_t size)
{
    if (buffer) {
        buffer_ = buffer;
        dataSize_ = size < 0 ? 0 : size;
        capacity_ = dataSize_;
    } else {
        ownsBuffer_ = true;
    }
}

CxMemFile::~CxMemFile()
{
    Close();
}

bool CxMemFile::Open()
{
    if (buffer_)
        return false;
    dataSize_ = 0;
    capacity_ = 0;
    position_ = 0;
    buffer_ = static_cast<uint8_t*>(std::malloc(1));
    ownsBuffer_ = true;
    return buffer_ != nullptr;
}

uint8_t* CxMemFile::GetBuffer(bool detach)
{
    if (detach)
        ownsBuffer_ = false;
    return buffer_;
}

bool CxMemFile::Close()
{
    if (buffer_ && ownsBuffer_)
        std::free(buffer_);
    buffer_ = nullptr;
    dataSize_ = 0;
    return true;
}

bool CxMemFile::Grow(int64_t bytes)
{
    if (bytes <= capacity_)
        return buffer_ != nullptr;
    const int64_t newCapacity = (bytes & ~int64_t(0xFFFF)) + 65536;
    uint8_t* grown;
    if (ownsBuffer_ || !buffer_) {
        grown = static_cast<uint8_t*>(std::realloc(buffer_, static_cast<size_t>(newCapacity)));
        if (!grown)
            std::free(buffer_);
    } else {
        // The caller's memory is never reallocated: the data moves to our own.
        grown = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(newCapacity)));
        if (grown)
            std::memcpy(grown, buffer_, static_cast<size_t>(dataSize_));
    }
    buffer_ = grown;
    capacity_ = grown ? newCapacity : 0;
    ownsBuffer_ = true;
    if (!grown) {
        dataSize_ = 0;
        position_ = 0;
    }
    return buffer_ != nullptr;
}

void CxMemFile::ZeroGapBeforePosition()
{
    if (position_ > dataSize_)
        std::memset(buffer_ + dataSize_, 0, static_cast<size_t>(position_ - dataSize_));
}

size_t CxMemFile::Read(void* buffer, size_t size, size_t count)
{
    if (!buffer || !buffer_ || position_ >= dataSize_ || size == 0 || count == 0)
        return 0;
    const size_t available = static_cast<size_t>(dataSize_ - position_);
    const size_t wanted = count > SIZE_MAX / size ? SIZE_MAX : size * count;
    const size_t copied = wanted < available ? wanted : available;
    std::memcpy(buffer, buffer_ + position_, copied);
    position_ += static_cast<int32_t>(copied);
    return copied / size;
}

size_t CxMemFile::Write(const void* buffer, size_t size, size_t count)
{
    if (!buffer_ || !buffer || size == 0 || count == 0)
        return 0;
    if (count > static_cast<size_t>(kMaxPosition) / size)
        return 0;
    const int64_t bytes = static_cast<int64_t>(size * count);
    const int64_t end = position_ + bytes;
    if (end > kMaxPosition || !Grow(end))
        return 0;
    ZeroGapBeforePosition();
    std::memcpy(buffer_ + position_, buffer, static_cast<size_t>(bytes));
    position_ = static_cast<int32_t>(end);
    if (position_ > dataSize_)
        dataSize_ = position_;
    return count;
}

bool CxMemFile::PutC(uint8_t c)
{
    if (!buffer_ || position_ >= kMaxPosition)
        return false;
    if (position_ >= capacity_ && !Grow(int64_t(position_) + 1))
        return false;
    ZeroGapBeforePosition();
    buffer_[position_++] = c;
    if (position_ > dataSize_)
        dataSize_ = position_;
    return true;
}

bool CxMemFile::Seek(int32_t offset, int origin)
{
    if (!buffer_)
        return false;
    int64_t position;
    switch (origin) {
    case 0: position = offset; break;
    case 1: position = int64_t(position_) + offset; break;
    case 2: position = int64_t(dataSize_) + offset; break;
    default: return false;
    }
    if (position < 0)
        position = 0;
    if (position > kMaxPosition)
        return false;
    position_ = static_cast<int32_t>(position);
    return true;
}

int32_t CxMemFile::Tell()
{
    return buffer_ ? position_ : -1;
}

int32_t CxMemFile::Size()
{
    return buffer_ ? dataSize_ : -1;
}

bool CxMemFile::Flush()
{
    return buffer_ != nullptr;
}

bool CxMemFile::Eof()
{
    return !buffer_ || position_ >= dataSize_;
}

int CxMemFile::Error()
{
    if (!buffer_)
        return -1;
    return position_ > dataSize_ ? 1 : 0;
}

int CxMemFile::GetC()
{
    if (Eof())
        return -1;
    return buffer_[position_++];
}

char* CxMemFile::GetS(char* buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return nullptr;
    int n = 0;
    while (n < capacity - 1) {
        const int c = GetC();
        if (c < 0)
            return nullptr;
        buffer[n++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    buffer[n] = '\0';
    return buffer;
}

int CxMemFile::Scanf(const char*, void*)
{
    return 0;
}
