#pragma once
// CxFile over a standard stream. A stream handed in by the caller stays open.

#include "image/cx_file.h"

#include <cstdio>

class CxIOFile : public CxFile {
public:
    explicit CxIOFile(FILE* stream = nullptr) : stream_(stream), closesStream_(stream == nullptr) {}
    ~CxIOFile() override;
    CxIOFile(const CxIOFile&) = delete;
    CxIOFile& operator=(const CxIOFile&) = delete;

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

private:
    FILE* stream_;
    bool closesStream_;
};
