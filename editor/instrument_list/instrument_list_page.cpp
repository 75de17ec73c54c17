// The instrument list page: construction, the current instrument and the
// write-back of each edit.
#include "editor/instrument_list/instrument_list_edit.h"

#include "editor/core/page_factory.h"
#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/controls/button_group.h"
#include "gui/lists/drop_list.h"
#include "pagekit/envelope_graph.h"
#include "pagekit/file_box.h"
#include "gui/controls/slider.h"
#include "gui/tessel_font.h"
#include "gui/controls/text_box.h"
#include "model/song/module.h"
#include "model/model_globals.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/system/mutex.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace instrument_layout;

std::string instrumentMarkup(const TesselInstrument& instrument)
{
    char* text = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&text, &size);
    if (!file)
        return {};
    instrument.writeXml(instrument.index, file);
    std::fclose(file);
    std::string markup(text ? text : "", size);
    std::free(text);
    return markup;
}

TesselInstrumentListUI::TesselInstrumentListUI(TesselEditorPageServices* editor, const CRect& size)
    : TesselInstrumentListPage(size, 0, nullptr, editor, kClassId), TesselEditorPageOwner(editor)
{
    auto* background = new CBitmap(resources::kSidePagePanel);
    setBackground(background);
    background->forget();
    auditionNote_.effect.command = '.';
    listFont_ = std::make_unique<TesselFont>(resources::kFontNormal, 8);
    highlightFont_ = std::make_unique<TesselFont>(resources::kFontAmber, 8);
    labelFont_ = std::make_unique<TesselFont>(resources::kFontCyan, 8);
    cursorFont_ = std::make_unique<TesselFont>(resources::kFontCursor, 8);
    if (editor && editor->currentInstrument() >= 1)
        current_ = std::min(editor->currentInstrument(), kInstruments) - 1;
    buildControls();
    seenSong_ = songCounter().load();
}

TesselInstrumentListUI::~TesselInstrumentListUI() = default;

TesselInstrumentListPage* makeInstrumentListPage(TesselEditorPageServices* editor, const CRect& size)
{
    return new TesselInstrumentListUI(editor, size);
}

int32_t TesselInstrumentListUI::focusCount() const
{
    static constexpr int32_t kCounts[6] = {4, 12, 13, 16, 12, 1};
    if (tab_ == kGeneral && regionAreaShown())
        return 1;
    return kCounts[std::clamp<int32_t>(tab_, 0, 5)];
}

bool TesselInstrumentListUI::regionAreaShown() const
{
    return keyMap_->regionAreaShown();
}

bool TesselInstrumentListUI::isDirty() const
{
    if (TesselUI::isDirty())
        return true;
    return tab_ == kBrowser && fileBox_->hasChanged();
}

bool TesselInstrumentListUI::wantsKeys()
{
    return (tab_ == kGeneral && field_ == 1 && keyMap_->isCapturing()) || swapPopup_.isShown()
        || midiPanel_->wantsKeys() || tab_ == kBrowser;
}

bool TesselInstrumentListUI::attached(CView* parent)
{
    // Files may have come or gone while another page showed.
    if (tab_ == kBrowser)
        fileBox_->relist();
    return TesselInstrumentListPage::attached(parent);
}

void TesselInstrumentListUI::showBrowser()
{
    if (tab_ != kBrowser)
        fileBox_->relist();
    tab_ = kBrowser;
    field_ = 1;
}

void TesselInstrumentListUI::selectFirstInstrument()
{
    selectInstrument(editor && editor->currentInstrument() >= 1 ? editor->currentInstrument() : 1, false);
}

void TesselInstrumentListUI::clearShiftState()
{
    keyMap_->clearShiftState();
}

void TesselInstrumentListUI::syncWithEditor()
{
    const int32_t n = editor ? editor->currentInstrument() : 0;
    if (n >= 1 && n <= kInstruments && n != current_ + 1) {
        selectInstrument(n, false);
    } else if (songCounter().load() != seenSong_) {
        keyMap_->loadFromInstrument(song->instruments[static_cast<size_t>(current_)]);
        setDirty();
    }
    seenSong_ = songCounter().load();
}

void TesselInstrumentListUI::scrollIntoView()
{
    if (current_ < firstRow_)
        firstRow_ = current_;
    else if (current_ > firstRow_ + kVisibleRows - 1)
        firstRow_ = current_ - (kVisibleRows - 1);
    firstRow_ = std::clamp(firstRow_, 0, kInstruments - kVisibleRows);
}

void TesselInstrumentListUI::selectInstrument(int32_t n, bool noScroll)
{
    n = std::clamp(n, 1, kInstruments);
    if (n != current_ + 1) {
        // A prompt asked about another slot, and the panel showed another instrument.
        pendingSlot_ = -1;
        midiPanel_->close();
    }
    current_ = n - 1;
    if (!noScroll)
        scrollIntoView();
    keyMap_->loadFromInstrument(song->instruments[static_cast<size_t>(current_)]);
    if (editor)
        editor->setCurrentInstrument(n, true);
    setDirty();
}

bool TesselInstrumentListUI::writeBack(const TesselInstrument& copy)
{
    if (copy.index < 0 || copy.index >= kInstruments)
        return false;
    platform::MutexLock lock(song->songLock(), editLockWaitMs);
    if (!lock)
        return false;
    TesselInstrument& target = song->instruments[static_cast<size_t>(copy.index)];
    target.assign(copy);
    song->markEdited();
    std::memcpy(target.label, copy.label, sizeof target.label);
    return true;
}

void TesselInstrumentListUI::refillPatternEditorList()
{
    TesselPatternEditorPage* patternEditor = patternEditorPage();
    if (!patternEditor)
        return;
    patternEditor->fillInstrumentList();
    patternEditor->setDirty();
}

void TesselInstrumentListUI::finishEdit(Edit& edit)
{
    if (!songWritten_ && edit.changed()) {
        const TesselInstrument& old = song->instruments[static_cast<size_t>(edit.copy.index)];
        const bool shown = std::strcmp(old.label, edit.copy.label) != 0 || old.nameText() != edit.copy.nameText()
            || old.colour != edit.copy.colour;
        if (writeBack(edit.copy) && shown)
            refillPatternEditorList();
    }
    songWritten_ = false;
    current_ = std::clamp(current_, 0, kInstruments - 1);
    scrollIntoView();
    keyMap_->loadFromInstrument(song->instruments[static_cast<size_t>(current_)]);
    if (editor)
        editor->setCurrentInstrument(current_ + 1, true);
    setDirty();
}
