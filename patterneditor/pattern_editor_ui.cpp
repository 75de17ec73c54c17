// The pattern editor page: construction, showing a pattern, the order
// position, the grid host and what the editor and the audio thread ask.
#include "patterneditor/pattern_editor_ui.h"

#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/controls/button.h"
#include "gui/lists/drop_list.h"
#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "model/song/module.h"
#include "shell/preferences.h"
#include "shell/usage_log.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint8_t kAllFlags = 127;

enum PublishedFlag : uint8_t {
    kCurrentPage = 1,
    kWantsKeys = 2,
    kEnterInstrument = 4,
    kEnterVolume = 8,
    kEnterLetter = 16,
    kEnterParameter = 32,
};

} // namespace

TesselPatternEditorUI::TesselPatternEditorUI(const CRect& size, TesselEditorServices* editor,
                                             std::unique_ptr<TesselPatternEditorLink> link, TesselUI* overview)
    : TesselPatternEditorPage(size, 0, nullptr, editor, kClassId),
      link_(link ? std::move(link) : std::make_unique<TesselPatternEditorLink>()),
      grid_(*song, engine, kChannels), overview_(overview)
{
    draggable = false;
    undo_ = new TesselUndoUI(*song, {}, editor);
    info_ = new TesselInfoUI(editor, grid_.view);
    options_ = makePatternOptions(editor);
    options_->setHelpOpener([this](const char* page) { link_->openHelpPage(page); });
    menus_ = makePatternMenus(*this);
    grid_.setEffectTable(&info_->effects());
    makeControls();
    if (overview_)
        overview_->setShown(false);
    pattern_ = &song->patterns[0];
    grid_.setPattern(pattern_, this, 0, 0, size.width(), size.height());
    goToPattern(0, true);
}

TesselPatternEditorUI::~TesselPatternEditorUI()
{
    for (TesselButton* button : buttons_)
        delete button;
    for (CBitmap* bitmap : statusToggles_)
        if (bitmap)
            bitmap->forget();
    if (titleStrip_)
        titleStrip_->forget();
    if (overview_)
        overview_->forget();
    options_->forget();
    info_->forget();
    undo_->forget();
}

void TesselPatternEditorUI::goToPattern(int32_t index, bool force)
{
    if (!song || index < 0 || index >= kPatterns)
        return;
    TesselPattern* next = &song->patterns[size_t(index)];
    if (next == pattern_ && !force)
        return;
    if (pattern_ && pattern_ != next) {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (lock)
            pattern_->tracks.freeEmptyTracks();
    }
    const bool changed = next != grid_.pattern();
    pattern_ = next;
    if (changed || force) {
        CRect area;
        getViewSize(area);
        grid_.setPattern(pattern_, this, 0, 0, area.width(), area.height());
    }
    if (force)
        grid_.renderChannelHeader(-1);   // names and colours may have changed with the song
    grid_.selection.pattern = pattern_;
    grid_.selection.normalise();
    grid_.view.majorStep = pattern_->majorStep;
    grid_.view.minorStep = pattern_->minorStep;
    grid_.setHighlights(pattern_->majorStep, pattern_->minorStep);

    int32_t position = engine ? engine->currentOrder : -1;
    const TesselOrderList& orders = song->orderList;
    const bool held = orderTable_ == 0 ? position >= 0 && position < kOrderEntries &&
                                             orders.entries[size_t(position)].pattern == index
                                       : position >= 0 && position < kOrderPitches &&
                                             orders.pitches[size_t(position)].pattern == index;
    // A song without order entries (a new one) puts no other pattern at the
    // current position: the readout keeps it, "000/000", not "-001/000".
    const bool noOrders = orderTable_ == 0 && position >= 0 && position < kOrderEntries && orders.isEmpty();
    if (!held && !noOrders)
        position = -1;
    published_.pattern.store(index, std::memory_order_relaxed);
    setCurrentOrder(position, true);
    logUsageAction(kCmdSetCurrentPattern, index);
    grid_.ensureCursorVisible();
    grid_.markAllDirty();
    publish();
    setDirty();
}

void TesselPatternEditorUI::setCurrentOrder(int32_t position, bool force)
{
    if (position == orderPosition_ && orderPositionSet_ && !force)
        return;
    orderPosition_ = position;
    orderPositionSet_ = true;
    if (engine && engine->transport < kPlayingSong) {
        engine->rebuildSongPlaylist(nullptr, false);
        engine->rebuildPatternPlaylists(false);
    }
    // The song rows around the pattern: only for a position of order table
    // 0 that holds this pattern; the grid reads the timing list only inside it.
    grid_.fillSongStrips(position);
    setDirtyChannel(true, -1);
    logUsageAction(kCmdSetCurrentOrder, position);
}

void TesselPatternEditorUI::setDirtyChannel(bool flag, int32_t channel)
{
    if (flag) {
        if (options_->isShown())
            options_->setDirty();
        if (info_->isShown())
            info_->setDirty();
        if (undo_->isShown())
            undo_->setDirty();
        grid_.markChannelDirty(channel);
    }
    setDirty();
}

void TesselPatternEditorUI::markDirty(int32_t channel, int32_t row, uint8_t /*flags*/)
{
    if (channel < 0)
        grid_.markAllDirty();
    else if (row < 0)
        grid_.markChannelDirty(channel);
    else
        grid_.markCellDirty(channel, row);
    if (channel >= 0 && row < 0)
        grid_.renderChannelHeader(channel);
    setDirty();
}

void TesselPatternEditorUI::releaseBitmaps()
{
    grid_.releaseDrawingObjects();
    markDirty(-1, -1, kAllFlags);
}

bool TesselPatternEditorUI::isDirty() const
{
    if (TesselUI::isDirty() || info_->isDirty() || link_->overlaySliding())
        return true;
    return (undo_->isShown() && undo_->isDirty()) || (options_->isShown() && options_->isDirty()) ||
           (overview_ && overview_->isShown() && overview_->isDirty());
}

bool TesselPatternEditorUI::gridNeedsRedraw() const
{
    return info_->isSliding() || (guideFade_ > 0 && guideFade_ < 30) || grid_.amplifyPromptOpen();
}

bool TesselPatternEditorUI::wantsKeys()
{
    return grid_.amplifyPromptOpen() || grid_.markingState == 1 || undo_->wantsKeys() || options_->wantsKeys();
}

void TesselPatternEditorUI::resetView()
{
    grid_.view.firstChannel = 0;
    grid_.view.firstRow = 0;
    grid_.view.cursorChannel = 0;
    grid_.view.cursorColumn = 0;
    grid_.view.cursorRow = 0;
    grid_.view.cursorSubrow = 0;
    grid_.view.zoomed = 0;
    grid_.markingState = 0;
    grid_.selection = TesselSelection{};
    hasFont_ = false;   // the song's font may differ
    orderPosition_ = -1;
    orderPositionSet_ = false;
    layout(true);
    goToPattern(0, true);
    fillInstrumentList(0);
    setDirtyChannel(true, -1);
}

void TesselPatternEditorUI::rebuild()
{
    releaseBitmaps();
    layout(true);
    // The list was filled before the song was erased: its names are gone.
    fillInstrumentList(0);
    if (pattern_)
        goToPattern(pattern_->index, true);
    setDirtyChannel(true, -1);
}

void TesselPatternEditorUI::showUpdateMark()
{
    updateMark_ = true;
    setDirty();
}

void TesselPatternEditorUI::clearShiftState()
{
    if (grid_.markingState == 2) {
        grid_.markingState = 0;
        grid_.selection.marking = 0;
    }
}

void TesselPatternEditorUI::followPlayback(int32_t pattern, int32_t row)
{
    if (pattern < 0 || pattern >= kPatterns)
        return;
    goToPattern(pattern, false);
    if (row >= 0 && row < pattern_->length()) {
        grid_.view.cursorRow = static_cast<int16_t>(row);
        grid_.view.cursorSubrow = 0;
        grid_.ensureCursorVisible();
    }
    publish();
    setDirty();
}

void TesselPatternEditorUI::applyMidiInput(const TesselMidiInputRequests::Taken& taken)
{
    bool changed = false;
    // A channel to redraw is one the audio thread entered a MIDI note into.
    if (taken.redrawChannels && song)
        song->markEdited();
    for (int32_t i = 0; i < std::min(taken.cursorSteps, 256); ++i) {
        grid_.stepCursor();
        changed = true;
    }
    for (int c = 0; c < kChannels; ++c)
        if (taken.redrawChannels & (uint64_t{1} << c)) {
            grid_.markChannelDirty(c);
            changed = true;
        }
    if (taken.lastNote >= 0) {
        grid_.view.lastEntered.pitch = static_cast<int16_t>(taken.lastNote);
        changed = true;
    }
    if (changed) {
        publish();
        setDirty();
    }
}

void TesselPatternEditorUI::publish()
{
    const TesselPatternView& v = grid_.view;
    uint8_t flags = 0;
    if (editor && editor->currentPage() == this)
        flags |= kCurrentPage;
    if (wantsKeys())
        flags |= kWantsKeys;
    if (v.copyInstrument)
        flags |= kEnterInstrument;
    if (v.copyVolume)
        flags |= kEnterVolume;
    if (v.copyLetter)
        flags |= kEnterLetter;
    if (v.copyParameter)
        flags |= kEnterParameter;
    published_.channel.store(v.cursorChannel, std::memory_order_relaxed);
    published_.row.store(v.cursorRow, std::memory_order_relaxed);
    published_.rowStep.store(std::max<int32_t>(v.cursorIncrement, 0), std::memory_order_relaxed);
    published_.instrument.store(getCurrentInstrument(), std::memory_order_relaxed);
    published_.panning.store(v.lastEntered.panning, std::memory_order_relaxed);
    published_.depth.store(v.lastEntered.depth, std::memory_order_relaxed);
    published_.parameter.store(v.lastEntered.effect.parameter, std::memory_order_relaxed);
    published_.letter.store(v.lastEntered.effect.command, std::memory_order_relaxed);
    published_.flags.store(flags, std::memory_order_release);
}

bool TesselPatternEditorUI::noteEntry(TesselNoteEntry& entry) const
{
    const uint8_t flags = published_.flags.load(std::memory_order_acquire);
    entry.isCurrentPage = flags & kCurrentPage;
    entry.wantsKeys = flags & kWantsKeys;
    entry.channel = published_.channel.load(std::memory_order_relaxed);
    entry.row = published_.row.load(std::memory_order_relaxed);
    entry.rowStep = published_.rowStep.load(std::memory_order_relaxed);
    entry.enterInstrument = flags & kEnterInstrument;
    entry.enterVolume = flags & kEnterVolume;
    entry.enterLetter = flags & kEnterLetter;
    entry.enterParameter = flags & kEnterParameter;
    entry.instrument = published_.instrument.load(std::memory_order_relaxed);
    entry.panning = published_.panning.load(std::memory_order_relaxed);
    entry.depth = published_.depth.load(std::memory_order_relaxed);
    entry.letter = published_.letter.load(std::memory_order_relaxed);
    entry.parameter = published_.parameter.load(std::memory_order_relaxed);
    entry.stepAfterChord = true;
    return true;
}

// --- the grid's host

platform::Point TesselPatternEditorUI::clientSize() const
{
    const platform::Point client = link_->clientSize();
    if (client.x > 0 && client.y > 0)
        return client;
    return {size.width(), size.height()};
}

bool TesselPatternEditorUI::followsPlayback() const
{
    return pluginPreferences().followPattern != 0;
}

int32_t TesselPatternEditorUI::coveringPanelHeight() const
{
    // A side panel that is shown (and not sliding) hides the grid's bottom.
    CRect area;
    if (undo_->isShown())
        return undo_->getViewSize(area).height();
    if (options_->isShown())
        return options_->getViewSize(area).height();
    return 0;
}

uint32_t TesselPatternEditorUI::ticks() const
{
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    return window ? window->system().ticks() : TesselGridHost::ticks();
}

void TesselPatternEditorUI::setCurrentInstrument(int32_t number)
{
    selectInstrument(std::clamp(number, 0, kInstruments));
}

void TesselPatternEditorUI::pushCheckpoint(const TesselPattern& pattern, const char* message)
{
    // The grid checkpoints only before an edit of its pattern.
    if (song)
        song->markEdited();
    undo_->pushCheckpoint(pattern, message);
}

uint32_t TesselPatternEditorUI::checkpointCount() const
{
    return undo_->checkpointCount();
}

void TesselPatternEditorUI::patternReshaped()
{
    if (pattern_)
        goToPattern(pattern_->index, true);
}

void TesselPatternEditorUI::showCellHelp(const char* page, platform::Point at)
{
    const platform::Point origin = link_->pageOrigin();
    link_->showHelpPopup(page, origin.x + at.x, origin.y + at.y);
}

void TesselPatternEditorUI::movePointerBy(int32_t dx, int32_t dy)
{
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    if (!window || !window->alive())
        return;
    platform::WindowSystem& system = window->system();
    const platform::Point at = system.cursorPosition();
    system.warpPointer({at.x + dx, at.y + dy});
}

void TesselPatternEditorUI::dragChanged(bool dragging)
{
    if (dragging)
        link_->updateDragCursor();
    else
        link_->endDragCursor();
}

void TesselPatternEditorUI::valueChanged(CDrawContext* /*context*/, CControl* control)
{
    if (!control)
        return;
    const auto value = static_cast<int32_t>(std::lround(control->getValue()));
    if (control == instrumentList_)
        selectInstrument(std::clamp(value, 0, kInstruments));
    else if (control == octaveList_)
        setOctave(std::clamp(value, 0, 8));
    publish();
    setDirty();
}

void TesselPatternEditorUI::showOctave(float octave)
{
    if (octaveList_)
        octaveList_->setValue(octave);
    setDirty();
}

void TesselPatternEditorUI::showInstrument(float instrument)
{
    if (instrumentList_)
        instrumentList_->setValue(instrument);
    publish();
    setDirty();
}

bool TesselPatternEditorUI::stripsShown() const
{
    return !link_->windowMaximised();
}

int32_t TesselPatternEditorUI::statusTop() const
{
    return clientSize().y - kStatusHeight;
}
