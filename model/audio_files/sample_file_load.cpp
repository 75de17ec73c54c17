// Loading a sample slot from a WAV, zipped sample, FLAC or Ogg Vorbis file.

#include "model/zip/zip_archive.h"
#include "model/file_kind.h"
#include "model/markup/markup.h"
#include "model/sample/sample.h"
#include "model/audio_files/sample_file_support.h"
#include "model/audio_files/wav_loop_info.h"
#include "model/audio_files/wav_reader.h"

#include <memory>

unsigned TesselSample::loadFile(const std::string& path, int kind)
{
    if (kind == kSampleNone)
        kind = sampleFileKind(path);
    unsigned result = kFileWrongKind;
    switch (kind) {
    case kSampleWav:
        result = loadWav(path);
        break;
    case kSampleZip:
        result = loadZip(path, 0);
        break;
    case kSampleFlac:
    case kSampleOgg:
        if (!(kind == kSampleFlac ? loadFlac(path) : loadOgg(path)))
            return kFileUnreadable;
        setName(namePart(path).c_str());
        result = kFileLoaded;
        break;
    default:
        break;
    }
    if (result != kFileLoaded)
        return result;
    if (loop.end == 0)
        loop.setEnd(length);
    if (sustain.end == 0)
        sustain.setEnd(length);
    return kFileLoaded;
}

unsigned TesselSample::loadWav(const std::string& path)
{
    // Float WAV files (tag 3, plain or extensible) are refused here although
    // the reader takes them inside module files.
    if (wavFormatTag(path) > 2)
        return kFileWrongKind;
    TesselWavLoopInfo info;
    if (!readWavFile(path, &info))
        return kFileUnreadable;
    setName(namePart(path).c_str());
    info.applyTo(*this);
    return kFileLoaded;
}

unsigned TesselSample::loadZip(const std::string& path, int n)
{
    ZipArchive archive;
    TesselMemoryFile buffer;
    if (!loadZippedDocument(archive, path, "Sample.xml", buffer))
        return kFileNothingFound;
    int seen = 0;
    TesselElement element;
    while (readElement(buffer, element)) {
        if (!element.is("sample", "sa", kElementOpen | kElementSelf) || seen++ != n)
            continue;
        auto loaded = std::make_unique<TesselSample>();
        if (!loaded->readXml(buffer, &archive, element))
            return kFileNothingFound;
        assign(*loaded);
        return kFileLoaded;
    }
    return kFileNothingFound;
}
