#include "model/file_kind.h"

#include "model/zip/zip_helpers.h"
#include "platform/system/folders.h"

#include <cstdio>
#include <strings.h>

std::string namePart(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

// The text after the last dot of the name part, without the dot; empty when
// the name has no dot.
std::string extension(const std::string& path)
{
    const std::string name = namePart(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool hasExtension(const std::string& path, const char* ext)
{
    return strcasecmp(extension(path).c_str(), ext) == 0;
}

// A zip that cannot be listed counts as one without the entry.
bool zipHoldsEntry(const std::string& path, const char* entry)
{
    ZipEntryList list;
    return zipListEntries(path.c_str(), list) && list.indexOf(entry) >= 0;
}

} // namespace

bool isDirectory(const std::string& path)
{
    return platform::folderExists(path);
}

bool isZipFile(const std::string& path)
{
    if (!hasExtension(path, "zip"))
        return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char start[2] = {};
    const bool longEnough = std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) > 16;
    std::rewind(f);
    const bool signature = std::fread(start, 1, 2, f) == 2 && start[0] == 'P' && start[1] == 'K';
    std::fclose(f);
    return longEnough && signature;
}

bool hasModuleArchiveName(const std::string& path)
{
    return hasExtension(path, "zip");
}

int moduleFileKind(const std::string& path)
{
    if (hasExtension(path, "zip"))
        return zipHoldsEntry(path, "module.xml") ? kModuleZip : kModuleNone;
    if (hasExtension(path, "it"))
        return kModuleIt;
    if (hasExtension(path, "s3m"))
        return kModuleS3m;
    if (hasExtension(path, "xm"))
        return kModuleXm;
    if (hasExtension(path, "mod"))
        return kModuleMod;
    return kModuleNone;
}

int songFileKind(const std::string& path)
{
    if (hasExtension(path, "mid") || hasExtension(path, "smf"))
        return kSongMidi;
    return moduleFileKind(path);
}

int sampleFileKind(const std::string& path)
{
    if (hasExtension(path, "wav") || namePart(path) == kExtractedWavName)
        return kSampleWav;
    if (hasExtension(path, "flac"))
        return kSampleFlac;
    if (hasExtension(path, "ogg"))
        return kSampleOgg;
    if (hasExtension(path, "zip") && zipHoldsEntry(path, "sample.xml"))
        return kSampleZip;
    return kSampleNone;
}

int instrumentFileKind(const std::string& path)
{
    const bool zipName = hasExtension(path, "zip") || namePart(path) == kExtractedZipName;
    return zipName && zipHoldsEntry(path, "instrument.xml") ? 1 : 0;
}
