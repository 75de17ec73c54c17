#pragma once
// The file the encoders write through: a standard stream (CxIOFile) or a
// growing memory buffer (CxMemFile).

#include <cstddef>
#include <cstdint>

class CxFile {
public:
    virtual ~CxFile() = default;
    virtual bool Close() = 0;
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    // origin 0 start, 1 current, 2 end
    virtual bool Seek(int32_t offset, int origin) = 0;
    virtual int32_t Tell() = 0;
    virtual int32_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual int Error() = 0; // 0 = no error
    virtual bool PutC(uint8_t c) { return Write(&c, 1, 1) == 1; }
    virtual int GetC() = 0; // 0..255, or -1
    virtual char* GetS(char* buffer, int capacity) = 0;
    // One conversion of `format` into `output`.
    virtual int Scanf(const char* format, void* output) = 0;
};
