// Saving an instrument with the samples its key map uses as a zipped instrument.

#include "model/audio_files/sample_file_support.h"
#include "model/instrument/instrument.h"
#include "model/instrument/instrument_file_keymap.h"

#include <memory>

bool TesselInstrument::saveFile(const std::string& path, const std::array<TesselSample, kSamples>& samples,
                                int index) const
{
    return saveZip(path, samples, index);
}

bool TesselInstrument::saveZip(const std::string& path, const std::array<TesselSample, kSamples>& samples,
                               int index) const
{
    // The reader takes the key map's default from the element's index, so it
    // must be one that reads back.
    const int slot = (index >= 0 && index < kInstruments) ? index : 0;
    return saveZippedDocument(zipTarget(path), "Instrument.xml", [&](FILE* file, const std::string& archive) {
        auto copy = std::make_unique<TesselInstrument>(*this);
        std::array<int, kSamples + 1> written;
        written.fill(-1);
        int next = 0;
        // Samples go out numbered in order of first use; a number naming no
        // slot has nothing to save and is cleared.
        renumberKeymapSamples(copy->keymap, [&](int number) {
            if (number < 1 || number > kSamples)
                return 0;
            int& element = written[static_cast<size_t>(number)];
            if (element < 0) {
                element = next++;
                samples[static_cast<size_t>(number - 1)].writeXml(element, file, archive, true);
            }
            return element + 1;
        });
        copy->writeXml(slot, file);
    });
}
