#include "image/cx_io_file.h"

CxIOFile::~CxIOFile()
{
    Close();
}

bool CxIOFile::Close()
{
    if (!stream_ || !closesStream_)
        return true;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return closed;
}

size_t CxIOFile::Read(void* buffer, size_t size, size_t count)
{
    return stream_ ? std::fread(buffer, size, count, stream_) : 0;
}

size_t CxIOFile::Write(const void* buffer, size_t size, size_t count)
{
    return stream_ ? std::fwrite(buffer, size, count, stream_) : 0;
}

bool CxIOFile::Seek(int32_t offset, int origin)
{
    return stream_ && std::fseek(stream_, offset, origin) == 0;
}

int32_t CxIOFile::Tell()
{
    return stream_ ? static_cast<int32_t>(std::ftell(stream_)) : 0;
}

int32_t CxIOFile::Size()
{
    if (!stream_)
        return -1;
    const long here = std::ftell(stream_);
    std::fseek(stream_, 0, SEEK_END);
    const long size = std::ftell(stream_);
    std::fseek(stream_, here, SEEK_SET);
    return static_cast<int32_t>(size);
}

bool CxIOFile::Flush()
{
    return stream_ && std::fflush(stream_) == 0;
}

bool CxIOFile::Eof()
{
    return !stream_ || std::feof(stream_) != 0;
}

int CxIOFile::Error()
{
    return stream_ ? std::ferror(stream_) : -1;
}

bool CxIOFile::PutC(uint8_t c)
{
    return stream_ && std::fputc(c, stream_) == c;
}

int CxIOFile::GetC()
{
    return stream_ ? std::fgetc(stream_) : -1;
}

char* CxIOFile::GetS(char* buffer, int capacity)
{
    return stream_ ? std::fgets(buffer, capacity, stream_) : nullptr;
}

int CxIOFile::Scanf(const char* format, void* output)
{
    if (!stream_)
        return -1;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return std::fscanf(stream_, format, output);
#pragma GCC diagnostic pop
}
