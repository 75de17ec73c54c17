// Sample audio entries of the module zip.

#include "model/sample/sample_audio_entry.h"

#include "model/audio_files/memory_file.h"
#include "model/sample/sample.h"
#include "model/song/temporaries_note.h"
#include "model/zip/zip_archive.h"
#include "model/zip/zip_helpers.h"

#include <cstdio>
#include <memory>

namespace {

constexpr char kTemporaryName[] = "~qrblsmp.tmp";

std::string besideArchive(const std::string& archive)
{
    const size_t slash = archive.find_last_of('/');
    return slash == std::string::npos ? std::string(kTemporaryName)
                                      : archive.substr(0, slash + 1) + kTemporaryName;
}

} // namespace

std::string sampleEntryName(int slot)
{
    char name[32];
    std::snprintf(name, sizeof name, "Sample %.3d.wav", slot);
    return name;
}

bool storeSampleAudio(const TesselSample& sample, const std::string& zipPath, int slot)
{
    if (zipPath.empty())
        return false;
    const bool hasAudio = sample.length > 0 && sample.audio.channel(0);
    if (!hasAudio)
        return sample.unreadAudio && zipAddStoredEntry(*sample.unreadAudio, zipPath.c_str(), sampleEntryName(slot).c_str());
    const TemporariesNote note(zipPath);
    const std::string temporary = besideArchive(zipPath);
    const bool stored = sample.writeWav(temporary) &&
                        zipAddFile(temporary.c_str(), zipPath.c_str(), sampleEntryName(slot).c_str());
    std::remove(temporary.c_str());
    return stored;
}

bool loadSampleAudio(TesselSample& sample, ZipArchive& archive, int slot)
{
    const int32_t entry = archive.indexOf(sampleEntryName(slot).c_str());
    if (entry < 0)
        return false;
    TesselMemoryFile image;
    if (archive.read(entry, image) && sample.readWav(image, nullptr))
        return true;
    // Damaged: the slot stays without audio but keeps the entry as stored.
    // One that cannot even be read as stored is still named as unread.
    auto stored = std::make_shared<ZipStoredEntry>();
    stored->kept = archive.readStored(entry, *stored);
    sample.unreadAudio = std::move(stored);
    return false;
}
