// The file box's preview song: what the keyboard auditions. Inside a module
// or an instrument file the selection's own slot plays; in a folder the
// selected sample or instrument file is loaded into slot 1 first. Every
// change of the preview song waits 1000 ms for the song lock and silences
// the preview voices that read it.
#include "pagekit/file_box.h"
#include "pagekit/list_entries.h"

#include "engine/engine.h"
#include "pagekit/file_box_paths.h"
#include "model/model_globals.h"
#include "model/song/module.h"
#include "platform/status_text.h"

#include <cctype>

namespace {

constexpr uint32_t kPreviewLockMs = 1000;
constexpr int32_t kLoaded = 2;

} // namespace

int32_t TesselFileBox::selectedSlot() const
{
    const int32_t selection = list.getSelection();
    if (selection < 0 || selection >= list.entryCount())
        return 0;
    const std::string& name = list.entry(selection).name;
    if (name.size() < 2 || !std::isdigit(static_cast<unsigned char>(name[0])) ||
        !std::isdigit(static_cast<unsigned char>(name[1])))
        return 0;
    return (name[0] - '0') * 10 + (name[1] - '0');
}

bool TesselFileBox::previewSlotOfSelection()
{
    const int32_t slot = selectedSlot();
    if (slot < 1 || slot > kInstruments)
        return false;
    TesselInstrument& instrument = previewSong->instruments[static_cast<size_t>(slot - 1)];
    if (mode == kSampleBrowser) {
        // The default instrument of a slot plays the sample of that number.
        platform::MutexLock lock(previewSong->songLock(), kPreviewLockMs);
        if (!lock)
            return false;
        instrument.reset();
    }
    previewInstrument = &instrument;
    return true;
}

void TesselFileBox::loadPreview(bool force)
{
    const int32_t selection = list.getSelection();
    if (!force && selection == previewedSelection && listing == previewedListing)
        return;
    previewedSelection = selection;
    previewedListing = listing;
    if (selection > 1 && insideSlotListing()) {
        previewSlotOfSelection();
        return;
    }
    if (!force || listedKind != PathKind::Folder || selection >= list.entryCount())
        return;
    const std::string path = file_box_paths::combine(currentPath, list.entry(selection).name);
    if (file_box_listing::isChosenKind(path, browserMode()))
        loadPreviewFile(path, mode == kSampleBrowser ? PathKind::SampleFile : PathKind::InstrumentFile);
}

void TesselFileBox::loadPreviewFile(const std::string& path, PathKind kind)
{
    const bool sample = kind == PathKind::SampleFile;
    platform::setStatusText(sample ? "(Loading sample...)" : "(Loading instrument...)");
    redrawEditor();
    bool loaded = false;
    {
        SharedSongState keep;
        platform::MutexLock lock(previewSong->songLock(), kPreviewLockMs);
        if (lock && (!engine || engine->removePreviewVoices(*previewSong, kPreviewLockMs))) {
            previewSong->reset(120.0, 6.0, 4);
            loaded = sample ? previewSong->samples[0].loadFile(path) == kLoaded
                            : previewSong->instruments[0].loadFile(path, previewSong->samples) == kLoaded;
        }
    }
    if (loaded) {
        const TesselListItem shown = sample ? sampleListEntry(previewSong->samples[0])
                                            : instrumentListEntry(previewSong->instruments[0]);
        list.setEntryDetail(list.getSelection(), shown.detail);
        list.layout();
        previewInstrument = &previewSong->instruments[0];
    }
    platform::clearStatusText();
}

bool TesselFileBox::loadPreviewInstrument(const std::string& path)
{
    SharedSongState keep;
    platform::MutexLock lock(previewSong->songLock(), kPreviewLockMs);
    if (!lock || (engine && !engine->removePreviewVoices(*previewSong, kPreviewLockMs)))
        return false;
    previewSong->reset(120.0, 6.0, 4);
    return previewSong->instruments[0].loadFile(path, previewSong->samples) == kLoaded;
}

bool TesselFileBox::loadPreviewModule(const std::string& path)
{
    if (!engine)
        return false;
    SharedSongState keep;
    // The module is read apart and put in place by the engine, which holds
    // the song lock (every module's) only for that: the audio thread plays
    // on while the file is read. The preview's voices go with its old song.
    if (!engine->removePreviewVoices(*previewSong, kPreviewLockMs))
        return false;
    return engine->loadModule(path, previewSong.get()) == kLoaded;
}

void TesselFileBox::listPreviewSlots()
{
    if (mode == kSampleBrowser) {
        for (const TesselSample& sample : previewSong->samples)
            if (sample.length > 0 && sample.bits > 0)
                list.addEntry(sampleListEntry(sample));
        return;
    }
    for (const TesselInstrument& instrument : previewSong->instruments)
        if (!instrument.isEmpty())
            list.addEntry(instrumentListEntry(instrument));
}

void TesselFileBox::playPreview(int32_t note)
{
    if (!engine || note < 0 || note >= kHeldNotes || !previewInstrument)
        return;
    TesselSubrow subrow;
    subrow.pitch = static_cast<int16_t>(note);
    subrow.instrument = static_cast<int16_t>(previewInstrument->index + 1);
    subrow.effect.command = 'S';
    subrow.effect.parameter = kPreviewEffect;
    if (engine->heldNotes[0][note] == 0)
        engine->previewNote(subrow, previewSong.get());
}
