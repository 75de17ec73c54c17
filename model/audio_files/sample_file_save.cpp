// Saving a sample slot as a WAV file or a zipped sample.

#include "model/audio_files/sample_file_support.h"
#include "model/sample/sample.h"
#include "model/song/temporaries_note.h"

namespace {

constexpr char kWavTemporary[] = "~qrblsav.tmp";

} // namespace

bool TesselSample::saveFile(const std::string& path, int index) const
{
    if (!endsWithNoCase(path, "wav"))
        return saveZip(path, index);
    const TemporariesNote note(path);
    const std::string temporary = besideFile(path, kWavTemporary);
    if (!writeWav(temporary)) {
        std::remove(temporary.c_str());
        return false;
    }
    return replaceWith(temporary, path);
}

bool TesselSample::saveZip(const std::string& path, int index) const
{
    // The element's index names the audio entry; one outside the table would
    // be read back without its audio.
    const int slot = (index >= 0 && index < kSamples) ? index : 0;
    return saveZippedDocument(zipTarget(path), "Sample.xml", [&](FILE* file, const std::string& archive) {
        writeXml(slot, file, archive, true);
    });
}
