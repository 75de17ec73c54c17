// Loading a zipped instrument with its samples.

#include "model/zip/zip_archive.h"
#include "model/file_kind.h"
#include "model/instrument/instrument.h"
#include "model/instrument/instrument_file_keymap.h"
#include "model/markup/markup.h"
#include "model/audio_files/sample_file_support.h"

#include <memory>

namespace {

constexpr int kNotInFile = -1;   // the file held no sample with that number
constexpr int kNoSlot = -2;      // it did, but the song had no free slot for it

// Where the file's sample numbers (1..99) went in the song.
struct SamplePlacement {
    std::array<TesselSample, kSamples>& samples;
    std::array<int, kSamples + 1> slotOf;
    int cursor = 0;
    bool missedSlot = false;

    explicit SamplePlacement(std::array<TesselSample, kSamples>& songSamples) : samples(songSamples)
    {
        slotOf.fill(kNotInFile);
    }

    // Every element is placed, read or not; its number maps only when its
    // index lay inside the table.
    void place(const TesselSample& sample)
    {
        const int number = sample.index >= 0 && sample.index < kSamples ? sample.index + 1 : 0;
        const int slot = findFreeSample(samples, cursor);
        if (slot < 0) {
            missedSlot = true;
            if (number > 0)
                slotOf[static_cast<size_t>(number)] = kNoSlot;
            return;
        }
        samples[static_cast<size_t>(slot)].assign(sample);
        cursor = slot + 1;
        if (number > 0)
            slotOf[static_cast<size_t>(number)] = slot;
    }

    int renumber(int number) const
    {
        if (number < 1 || number > kSamples)
            return number;
        const int slot = slotOf[static_cast<size_t>(number)];
        if (slot == kNoSlot)
            return 0;
        return slot == kNotInFile ? number : slot + 1;
    }
};

} // namespace

unsigned TesselInstrument::loadFile(const std::string& path, std::array<TesselSample, kSamples>& samples, int n)
{
    if (instrumentFileKind(path) != 1)
        return kFileWrongKind;
    return loadZip(path, samples, n);
}

unsigned TesselInstrument::loadZip(const std::string& path, std::array<TesselSample, kSamples>& samples, int n)
{
    ZipArchive archive;
    TesselMemoryFile buffer;
    if (!loadZippedDocument(archive, path, "Instrument.xml", buffer))
        return kFileNothingFound;
    auto loaded = std::make_unique<TesselInstrument>();
    SamplePlacement placement(samples);
    bool instrumentRead = false;
    int instrumentsSeen = 0;
    TesselElement element;
    while (readElement(buffer, element)) {
        if (element.is("instrument", "in", kElementOpen | kElementSelf)) {
            if (instrumentsSeen++ == n && loaded->readXml(buffer, element))
                instrumentRead = true;
        } else if (element.is("sample", "sa", kElementOpen | kElementSelf)) {
            auto sample = std::make_unique<TesselSample>();
            sample->readXml(buffer, &archive, element);
            placement.place(*sample);
        }
    }
    if (!instrumentRead)
        return placement.missedSlot ? kFileNoFreeSlot : kFileNothingFound;
    // Read after its samples (as saved) or before them: the key map follows the table either way.
    renumberKeymapSamples(loaded->keymap, [&](int number) { return placement.renumber(number); });
    assign(*loaded);
    return kFileLoaded;
}
