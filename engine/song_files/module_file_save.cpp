// Saving the song as a module file. The song is copied as it was at one
// instant (engine/song_files/song_snapshot.h) and written from the copy. The new file is built
// complete beside the target and only then renamed over it, so a failure at
// any step leaves the old file as it was.
#include "engine/engine.h"
#include "engine/song_files/module_file.h"
#include "engine/song_files/song_snapshot.h"

#include "model/song/temporaries_note.h"
#include "model/zip/zip_archive.h"
#include "model/zip/zip_helpers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <strings.h>

namespace {

struct SaveTemporaries {
    explicit SaveTemporaries(const std::string& path)
        : note(path), archive(moduleTempPath(path, "~qrblzip.tmp")),
          earlier(moduleTempPath(path, "~qrblarc.tmp")), entry(moduleTempPath(path, "~qrblupd.tmp"))
    {
        removeAll();   // leftovers of an interrupted save would be appended to
    }
    ~SaveTemporaries() { removeAll(); }
    void removeAll() const
    {
        for (const std::string* p : {&archive, &earlier, &entry})
            std::remove(p->c_str());
    }
    TemporariesNote note;   // first made, last gone
    std::string archive, earlier, entry;
};

// The document, written in memory, goes into the new zip after the samples'
// audio, which writing it stores there.
bool writeDocument(TesselModule& song, const SaveTemporaries& temp)
{
    char* text = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&text, &size);
    if (!file)
        return false;
    song.writeXml(file, temp.archive, true);
    const bool written = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    const bool stored = written && closed && zipAddBuffer(text, size, temp.archive.c_str(), "Module.xml");
    std::free(text);
    return stored;
}

// Every sample with audio, and every entry kept unread in place of audio,
// must have reached the new zip.
bool samplesStored(const TesselModule& song, const std::string& archive)
{
    ZipEntryList entries;
    const bool listed = zipListEntries(archive.c_str(), entries);
    for (int slot = 0; slot < kSamples; ++slot) {
        const TesselSample& sample = song.samples[static_cast<size_t>(slot)];
        const bool hasAudio = sample.length > 0 && sample.audio.channel(0);
        const bool keepsEntry = sample.unreadAudio && sample.unreadAudio->kept;
        if (sample.isEmpty() || (!hasAudio && !keepsEntry))
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "Sample %.3d.wav", slot);
        if (!listed || entries.indexOf(name) < 0)
            return false;
    }
    return true;
}

bool isReferencedSample(const ZipEntryList& referenced, const char* name)
{
    return referenced.indexOf(name) >= 0;
}

// Moves what the replaced file holds into the new zip and the archive.
bool carryOver(const std::string& path, const SaveTemporaries& temp)
{
    ZipEntryList entries;
    if (!zipListEntries(path.c_str(), entries))
        return true;   // not a module file: nothing of it to keep
    ZipEntryList referenced;
    zipListModuleSamples(path.c_str(), referenced);

    if (entries.indexOf("Archive.zip") >= 0 &&
        !zipExtractFile(path.c_str(), temp.earlier.c_str(), "Archive.zip"))
        return false;

    for (const ZipEntry& entry : entries.entries) {
        if (isReferencedSample(referenced, entry.name) || strcasecmp(entry.name, "Archive.zip") == 0)
            continue;
        if (!zipExtractFile(path.c_str(), temp.entry.c_str(), entry.name))
            return false;
        bool added;
        if (strcasecmp(entry.name, "Module.xml") == 0) {
            // Named by the replaced document's own date, as stored in the zip.
            const tm_unz& d = entry.info->tmu_date;
            const std::string name = archivedDocumentName(static_cast<int>(d.tm_year), static_cast<int>(d.tm_mon) + 1,
                                                          static_cast<int>(d.tm_mday), static_cast<int>(d.tm_hour),
                                                          static_cast<int>(d.tm_min), static_cast<int>(d.tm_sec));
            added = zipAddFile(temp.entry.c_str(), temp.earlier.c_str(), name.c_str());
        } else if (isArchivedDocumentName(entry.name)) {
            added = zipAddFile(temp.entry.c_str(), temp.earlier.c_str(), entry.name);
        } else {
            added = zipAddFile(temp.entry.c_str(), temp.archive.c_str(), entry.name);
        }
        std::remove(temp.entry.c_str());
        if (!added)
            return false;
    }
    return true;
}

} // namespace

bool TesselEngine::saveModule(std::string& path)
{
    path = moduleSavePath(path);
    std::unique_ptr<TesselModule> copy;
    try {
        copy = std::make_unique<TesselModule>(this);
        if (snapshotSong(song, *copy, editLockWaitMs) != TesselSnapshotResult::kWhole)
            return false;
    } catch (const std::bad_alloc&) {
        return false;   // a song too large to copy now: the file stays as it was
    }
    const SaveTemporaries temp(path);
    if (!writeDocument(*copy, temp) || !samplesStored(*copy, temp.archive))
        return false;

    if (fileExists(path.c_str()) && !carryOver(path, temp))
        return false;
    if (fileExists(temp.earlier.c_str()) &&
        !zipAddFile(temp.earlier.c_str(), temp.archive.c_str(), "Archive.zip"))
        return false;
    return std::rename(temp.archive.c_str(), path.c_str()) == 0;
}
