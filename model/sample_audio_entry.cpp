// Sample audio entries of the module zip.

#include "model/sample_audio_entry.h"

#include "model/sample.h"
#include "model/temporaries_note.h"
#include "model/zip_helpers.h"

#include <cstdio>

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
    if (sample.length <= 0 || !sample.audio.channel(0) || zipPath.empty())
        return false;
    const TemporariesNote note(zipPath);
    const std::string temporary = besideArchive(zipPath);
    const bool stored = sample.writeWav(temporary) &&
                        zipAddFile(temporary.c_str(), zipPath.c_str(), sampleEntryName(slot).c_str());
    std::remove(temporary.c_str());
    return stored;
}

bool loadSampleAudio(TesselSample& sample, const std::string& modulePath, int slot)
{
    if (modulePath.empty())
        return false;
    const TemporariesNote note(modulePath);
    const std::string temporary = besideArchive(modulePath);
    if (!zipExtractFile(modulePath.c_str(), temporary.c_str(), sampleEntryName(slot).c_str()))
        return false;
    const bool loaded = sample.readWavFile(temporary, nullptr);
    std::remove(temporary.c_str());
    // The temporary file's name is no source: the document's "filename" gives it.
    sample.filename.clear();
    return loaded;
}
