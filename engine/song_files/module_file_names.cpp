#include "engine/song_files/module_file.h"

#include "model/import/xm_import.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

std::string moduleSavePath(const std::string& path)
{
    const bool zip = path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".zip") == 0;
    return zip ? path : path + ".zip";
}

bool songLoadIsWhole(int kind, int result)
{
    return result >= 2 || (kind == 4 && result == kXmLoadedWithWarning);
}

std::string moduleTempPath(const std::string& path, const char* name)
{
    const size_t slash = path.find_last_of('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

std::string archivedDocumentName(int year, int month, int day, int hour, int minute, int second)
{
    char name[64];
    std::snprintf(name, sizeof name, "Module_%.4d-%.2d-%.2d_%.2dh%.2dm%.2d.xml", year, month, day, hour, minute,
                  second);
    return name;
}

bool isArchivedDocumentName(const char* entryName)
{
    const size_t n = std::strlen(entryName);
    return n >= 11 && strncasecmp(entryName, "Module_", 7) == 0 && strcasecmp(entryName + n - 4, ".xml") == 0;
}
