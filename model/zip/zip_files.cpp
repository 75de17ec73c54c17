// File tests and times used by the zip helpers and the file browser.

#include "model/zip/zip_helpers.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

bool fileExists(const char* path)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    struct stat info;
    bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    std::fclose(file);
    return regular;
}

uint64_t fileSize(const char* path)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return 0;
    struct stat info;
    uint64_t size = 0;
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode))
        size = static_cast<uint64_t>(info.st_size);
    std::fclose(file);
    return size;
}

TesselFileTime fileModifiedTime(const char* path)
{
    TesselFileTime result;
    struct stat info;
    struct tm utc;
    if (stat(path, &info) != 0 || !gmtime_r(&info.st_mtime, &utc))
        return result;
    result.year = utc.tm_year + 1900;
    result.month = utc.tm_mon + 1;
    result.day = utc.tm_mday;
    result.hour = utc.tm_hour;
    result.minute = utc.tm_min;
    result.second = utc.tm_sec;
    return result;
}

bool fileDosTime(const char* path, uint32_t& dosTime)
{
    struct stat info;
    if (stat(path, &info) != 0)
        return false;
    dosTime = dosTimeOf(info.st_mtime);
    return true;
}

uint32_t dosTimeOf(time_t moment)
{
    struct tm local {};
    if (!localtime_r(&moment, &local))
        local.tm_year = 0;   // taken as the earliest DOS date below
    // The DOS format counts years from 1980 in 7 bits.
    if (local.tm_year < 80) {
        local = tm{};
        local.tm_year = 80;
        local.tm_mday = 1;
    } else if (local.tm_year > 80 + 127) {
        local.tm_year = 80 + 127;
    }
    uint32_t date = static_cast<uint32_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5)
                                          | local.tm_mday);
    uint32_t time = static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5)
                                          | (local.tm_sec / 2));
    return (date << 16) | time;
}
