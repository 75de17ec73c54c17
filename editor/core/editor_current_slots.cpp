// The current instrument and sample, and how each follows the other: a
// sample made current finds an instrument whose key map plays it; an
// instrument made current brings its first sample when it does not play the
// current one.

#include "editor/core/page_kinds.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "patterneditor/pattern_editor_page.h"

namespace {

constexpr uint8_t kAllCellFlags = 127;

// The first sample the key map names, key by key: the key's row, else its
// first region; 0 when it names none.
int32_t firstSampleOf(const TesselKeymap& keymap)
{
    for (int k = 0; k < kKeys; ++k) {
        const int32_t row = keymap.keyRow(k).instrument;
        if (row >= 1 && row <= kSamples)
            return row;
        const int32_t region = keymap.regionsOf(k).regions[0].value;
        if (region >= 1 && region <= kSamples)
            return region;
    }
    return 0;
}

} // namespace

void TesselEditor::setCurrentInstrument(int32_t number, bool follow)
{
    const bool noneAllowed = number == 0 && current_ && current_ == patternEditor_;
    if (!noneAllowed && (number < 1 || number > kInstruments))
        return;
    const bool changed = number != instrument_;
    instrument_ = number;
    if (patternEditor_) {
        patternEditor_->showInstrument(static_cast<float>(number));
        if (changed)
            patternEditor_->markDirty(-1, -1, kAllCellFlags);
        patternEditor_->setDirty();
    }
    if (changed && current_ && current_ != patternEditor_)
        current_->setDirty();
    if (!follow || number < 1)
        return;
    const TesselKeymap& keymap = engine_->song.instruments[static_cast<size_t>(number - 1)].keymap;
    if (keymap.usesSample(sample_))
        return;
    if (const int32_t first = firstSampleOf(keymap)) {
        sample_ = first;
        if (sampleList_)
            sampleList_->setDirty();
    }
}

void TesselEditor::setCurrentSample(int32_t n, bool follow)
{
    if (n < 1 || n > kSamples)
        return;
    sample_ = n;
    if (!follow)
        return;
    const auto plays = [&](int32_t i) {
        return i >= 1 && i <= kInstruments && engine_->song.instruments[static_cast<size_t>(i - 1)].keymap.usesSample(n);
    };
    if (plays(instrument_))
        return;
    if (plays(n)) {
        setCurrentInstrument(n, false);
        return;
    }
    for (int32_t i = 1; i <= kInstruments; ++i) {
        if (i != instrument_ && i != n && plays(i)) {
            setCurrentInstrument(i, false);
            return;
        }
    }
}
