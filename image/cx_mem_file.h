#pragma once
// CxFile over memory: the caller's buffer, or one of its own that grows in
// steps of 64 KiB. Positions stay below 2 GiB.

#include "image/cx_file.h"

class CxMemFile : public CxFile {
public:
    // With a buffer the file works in that memory (not owned, `size` bytes of
    // data); without one nothing is allocated until Open or the first write.
    explicit CxMemFile(uint8_t* buffer = nullptr, int32_t size = 0);
    ~CxMemFile() override;
    CxMemFile(const CxMemFile&) = delete;
    CxMemFile& operator=(const CxMemFile&) = delete;

    // A fresh 1-byte owned buffer with a recorded capacity of 0; false when a
    // buffer exists already.
    bool Open();
    // With detach the caller takes the memory (free it with std::free).
    uint8_t* GetBuffer(bool detach = true);

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int32_t offset, int origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int Error() override;
    bool PutC(uint8_t c) override;
    int GetC() override;
    char* GetS(char* buffer, int capacity) override;
    int Scanf(const char* format, void* output) override;

    int64_t Capacity() const { return capacity_; }

private:
    bool Grow(int64_t bytes);
    // Bytes between the data's end and a position that a seek moved past it
    // read back as zero once something is written behind them.
    void ZeroGapBeforePosition();

    uint8_t* buffer_ = nullptr;
    int32_t dataSize_ = 0;
    bool ownsBuffer_ = false;
    int32_t position_ = 0;
    int64_t capacity_ = 0;
};
