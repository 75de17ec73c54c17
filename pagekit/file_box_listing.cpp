#include "pagekit/file_box_listing.h"

#include "model/file_kind.h"
#include "model/zip/zip_helpers.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace file_box_listing {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
enum Icon : uint8_t { kPlain = 0, kFolder = 1, kZippedModule = 2, kSample = 3, kArchive = 4, kModule = 5,
                      kInstrument = 6 };

struct Found {
    std::string name;
    struct stat info;
};

bool caseBlindLess(const Found& a, const Found& b)
{
    const int order = strcasecmp(a.name.c_str(), b.name.c_str());
    return order != 0 ? order < 0 : a.name < b.name;
}

std::tm localTime(time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

std::string folderDetail(const struct stat& info)
{
    const std::tm t = localTime(info.st_mtime);
    char text[64];
    std::snprintf(text, sizeof text, "           %-7s %.2d/%.2d/%.2d %.2d:%.2d", "Folder", t.tm_mday, t.tm_mon + 1,
                  t.tm_year % 100, t.tm_hour, t.tm_min);
    return text;
}

// Sizes print unsigned: a file past 2 GiB is no negative number.
std::string sizedDetail(unsigned long long size, const char* kind, int day, int month, int year, int hour,
                        int minute)
{
    char text[80];
    std::snprintf(text, sizeof text, "%10llu %-7s %.2d/%.2d/%.2d %.2d:%.2d", size, kind, day, month, year % 100, hour,
                  minute);
    return text;
}

TesselListItem fileEntry(const std::string& path, const Found& file)
{
    const char* kind = "";
    uint8_t icon = kPlain;
    switch (pathKind(path)) {
    case PathKind::SampleFile: kind = "Sample"; icon = kSample; break;
    case PathKind::InstrumentFile: kind = "Instr."; icon = kInstrument; break;
    case PathKind::ModuleFile:
        kind = "Module";
        icon = moduleFileKind(path) == kModuleZip ? kZippedModule : kModule;
        break;
    case PathKind::Archive: kind = "Archive"; icon = kArchive; break;
    default: break;
    }
    const std::tm t = localTime(file.info.st_mtime);
    return {file.name, icon, *kind ? kWhite : TesselListBox::kGreyEntry,
            sizedDetail(static_cast<unsigned long long>(file.info.st_size), kind, t.tm_mday, t.tm_mon + 1,
                        t.tm_year, t.tm_hour, t.tm_min),
            0};
}

bool stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

// Entries inside an archive cannot be opened, so their names alone tell.
bool samplePart(const std::string& name)
{
    for (const char* extension : {".wav", ".flac", ".ogg"})
        if (name.size() >= std::strlen(extension) &&
            strcasecmp(name.c_str() + name.size() - std::strlen(extension), extension) == 0)
            return true;
    return false;
}

bool instrumentPart(const std::string& name)
{
    return name.size() >= 4 && strcasecmp(name.c_str() + name.size() - 4, ".zip") == 0;
}

// Missing or Folder from the file system alone; OtherFile for a regular file,
// which the caller looks into.
PathKind statKind(const std::string& path)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return PathKind::Missing;
    if (S_ISDIR(info.st_mode))
        return PathKind::Folder;
    return S_ISREG(info.st_mode) ? PathKind::OtherFile : PathKind::Missing;
}

// A regular file that is not one the caller takes directly.
PathKind moduleArchiveOrOther(const std::string& path)
{
    if (moduleFileKind(path) != kModuleNone)
        return PathKind::ModuleFile;
    if (isZipFile(path))
        return PathKind::Archive;
    return PathKind::OtherFile;
}

} // namespace

PathKind pathKind(const std::string& path)
{
    if (const PathKind kind = statKind(path); kind != PathKind::OtherFile)
        return kind;
    if (sampleFileKind(path) != kSampleNone)
        return PathKind::SampleFile;
    if (instrumentFileKind(path) != 0)
        return PathKind::InstrumentFile;
    return moduleArchiveOrOther(path);
}

PathKind openingKind(const std::string& path, BrowserMode mode)
{
    if (const PathKind kind = statKind(path); kind != PathKind::OtherFile)
        return kind;
    if (mode == BrowserMode::Sample && instrumentFileKind(path) != 0)
        return PathKind::InstrumentFile;
    return moduleArchiveOrOther(path);
}

bool isChosenKind(const std::string& path, BrowserMode mode)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return mode == BrowserMode::Sample ? sampleFileKind(path) != kSampleNone : instrumentFileKind(path) != 0;
}

TesselListItem plainEntry(const std::string& name)
{
    return {name, kPlain, kWhite, "", 0};
}

bool listFolder(const std::string& folder, BrowserMode /*mode*/, const std::atomic<bool>* stop,
                std::vector<TesselListItem>& out)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    std::vector<Found> folders;
    std::vector<Found> files;
    const std::string prefix = folder == "/" ? folder : folder + "/";
    while (const dirent* entry = readdir(dir)) {
        if (stopped(stop))
            break;
        Found found{entry->d_name, {}};
        if (found.name.empty() || found.name[0] == '.')
            continue;
        if (stat((prefix + found.name).c_str(), &found.info) != 0)
            continue;
        if (S_ISDIR(found.info.st_mode))
            folders.push_back(std::move(found));
        else if (S_ISREG(found.info.st_mode))
            files.push_back(std::move(found));
    }
    closedir(dir);
    std::sort(folders.begin(), folders.end(), caseBlindLess);
    std::sort(files.begin(), files.end(), caseBlindLess);
    for (const Found& f : folders)
        out.push_back({f.name, kFolder, kWhite, folderDetail(f.info), 0});
    // Files of every kind are listed in both modes.
    for (const Found& f : files) {
        if (stopped(stop))
            return false;
        out.push_back(fileEntry(prefix + f.name, f));
    }
    return !stopped(stop);
}

bool listArchive(const std::string& path, BrowserMode mode, std::vector<TesselListItem>& out)
{
    ZipEntryList entries;
    if (!zipListEntries(path.c_str(), entries))
        return false;
    for (const ZipEntry& entry : entries.entries) {
        const std::string name = entry.name;
        const char* kind = "";
        uint8_t icon = kPlain;
        if (mode == BrowserMode::Sample && samplePart(name)) {
            kind = "Sample";
            icon = kSample;
        } else if (mode == BrowserMode::Instrument && instrumentPart(name)) {
            kind = "Instr.";
            icon = kInstrument;
        }
        unsigned long long size = 0;
        tm_unz date{};
        if (entry.info) {
            size = entry.info->uncompressed_size;
            date = entry.info->tmu_date;
        }
        // The archive's months count from 0.
        out.push_back({name, icon, *kind ? kWhite : TesselListBox::kGreyEntry,
                       sizedDetail(size, kind, static_cast<int>(date.tm_mday), static_cast<int>(date.tm_mon) + 1,
                                   static_cast<int>(date.tm_year), static_cast<int>(date.tm_hour),
                                   static_cast<int>(date.tm_min)),
                       0});
    }
    return true;
}

} // namespace file_box_listing
