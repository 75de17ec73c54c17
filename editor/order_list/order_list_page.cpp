// The order list page: its making, the active table, the song-locked edits,
// the cursor's bounds, the typed pattern match and the colour chooser.

#include "editor/order_list/order_list_page.h"

#include "editor/core/page_factory.h"
#include "gui/bitmap.h"
#include "model/song/module.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/dialogs/dialogs.h"
#include "platform/window.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kSliderRange = 64;
constexpr int32_t kDefaultVolume = 64;
constexpr int32_t kDefaultPanning = 32;
constexpr int32_t kCellLength = 3;

} // namespace

TesselOrderEntry& activeOrderEntry(TesselOrderList& orders, int32_t position)
{
    if (orders.inPitchMode())
        return orders.pitches[static_cast<size_t>(std::clamp(position, 0, kOrderPitches - 1))];
    return orders.entries[static_cast<size_t>(std::clamp(position, 0, kOrderEntries - 1))];
}

TesselOrderListUI::TesselOrderListUI(TesselEditorPageServices* editor, const CRect& size)
    : TesselOrderListPage(size, 0, nullptr, editor, kClassId), TesselEditorPageOwner(editor), orderBar_(kOrderBar), channelBar_(kChannelBar)
{
    auto* skin = new CBitmap(resources::kOrderListSkin);
    setBackground(skin);
    skin->forget();
    for (int32_t r = 0; r < kVisibleRows; ++r) {
        const int32_t y = kFirstRowY + kRowHeight * r;
        volumeSliders_[r] = std::make_unique<TesselSlider>(CRect(kVolumeLeft, y, kVolumeRight, y + kRowHeight), 0,
                                                           kSliderRange, kDefaultVolume, 2);
        panningSliders_[r] = std::make_unique<TesselSlider>(CRect(kPanningLeft, y, kPanningRight, y + kRowHeight),
                                                            0, kSliderRange, kDefaultPanning, 2);
        volumeSliders_[r]->setCompact(true);
        panningSliders_[r]->setCompact(true);
        panningSliders_[r]->setDefaultValue(kDefaultPanning);
    }
    channelBar_.setCounts(64, kVisibleRows);
}

TesselOrderListUI::~TesselOrderListUI() = default;

bool TesselOrderListUI::pitchMode() const
{
    return song && song->orderList.inPitchMode();
}

int32_t TesselOrderListUI::rowCount() const
{
    return pitchMode() ? kOrderPitches : kOrderEntries;
}

const TesselOrderEntry& TesselOrderListUI::entryAt(int32_t position) const
{
    return activeOrderEntry(song->orderList, position);
}

bool TesselOrderListUI::editOrders(const std::function<void(TesselOrderList&)>& edit)
{
    if (!song)
        return false;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return false;
        edit(song->orderList);
        song->orderList.updateLength();
        song->markEdited();
    }
    orderListChanged();
    return true;
}

void TesselOrderListUI::orderListChanged()
{
    if (TesselPatternEditorPage* page = patternEditorPage())
        page->goToPattern(page->getCurrentPattern(), true);
}

bool TesselOrderListUI::setValueAtCursor(int32_t value)
{
    const int32_t at = orderCursor_;
    return editOrders([at, value](TesselOrderList& orders) { activeOrderEntry(orders, at).pattern = value; });
}

int32_t TesselOrderListUI::getCurrentPattern()
{
    if (!song)
        return -1;
    const int32_t value = entryAt(orderCursor_).pattern;
    return value < 0 ? -1 : value;
}

void TesselOrderListUI::clampCursor()
{
    digit_ = std::clamp(digit_, 0, kCellLength - 1);
    orderCursor_ = std::clamp(orderCursor_, 0, rowCount() - 1);
    firstOrder_ = std::clamp(firstOrder_, orderCursor_ - (kVisibleRows - 1), orderCursor_);
}

void TesselOrderListUI::cellEditText(int32_t position, char* text) const
{
    std::memcpy(text, "000", kCellLength + 1);
    const int32_t value = entryAt(position).pattern;
    if (value < 0 || value >= kPatterns)
        return;
    const std::string label = song->patterns[static_cast<size_t>(value)].displayLabel(false);
    std::memset(text, 0, kCellLength + 1);
    std::memcpy(text, label.data(), std::min<size_t>(label.size(), kCellLength));
}

void TesselOrderListUI::cellShownText(int32_t position, char* text) const
{
    const int32_t value = entryAt(position).pattern;
    const char* marker = value == kOrderSkip ? "+++" : value == kOrderEnd ? "===" : "---";
    if (!pitchMode() && position == song->orderList.length)
        marker = "===";
    else if (value >= 0 && value < kPatterns) {
        cellEditText(position, text);
        return;
    }
    std::memcpy(text, marker, kCellLength + 1);
}

int32_t TesselOrderListUI::findPatternByLabel(const TesselModule& song, const char* text, int32_t length,
                                              int32_t position)
{
    if (!text || length <= 0)
        return 0;
    int32_t best = 0;
    int32_t bestScore = 0;
    for (int32_t p = 0; p < kPatterns; ++p) {
        std::string label = song.patterns[static_cast<size_t>(p)].displayLabel(false);
        label.resize(static_cast<size_t>(length), '\0');
        int32_t score = 0;
        for (int32_t i = length - 1; i >= 0; --i)
            if (label[static_cast<size_t>(i)] == text[i])
                score += i == position ? 4 : 1;
        if (score > bestScore) {
            best = p;
            bestScore = score;
        }
    }
    constexpr int32_t kFullMatch = 6;
    if (bestScore == kFullMatch)
        return best;
    // A pattern number typed as its digits, even when a label shares two of them.
    const std::string typed(text, strnlen(text, static_cast<size_t>(length)));
    char* end = nullptr;
    const long number = std::strtol(typed.c_str(), &end, 10);
    if (end && end != typed.c_str() && number >= 0 && number < kPatterns) {
        char printed[16];
        std::snprintf(printed, sizeof printed, "%.3d", static_cast<int>(number));
        if (typed.size() == static_cast<size_t>(length) && typed == printed)
            return static_cast<int32_t>(number);
    }
    return best;
}

uint32_t TesselOrderListUI::chooseChannelColour(int32_t channel)
{
    if (!song || channel < 0 || channel >= kChannels)
        return 0xFFFFFF;
    const uint32_t old = song->channels[static_cast<size_t>(channel)].colour & 0xFFFFFF;
    TesselEditorPageServices* owner = this->owner();
    platform::Window* window = owner ? owner->editorWindow() : nullptr;
    if (!window || !editor || editor->popupActive())
        return old;
    platform::Colour colour = platform::fromColorRef(old);
    editor->beginPopup();
    const bool chosen = window->system().dialogs().chooseColour(window, colour);
    editor->endPopup();
    return chosen ? platform::toColorRef(colour) : old;
}

TesselSlider& TesselOrderListUI::rowSlider(int32_t row, bool panning)
{
    const size_t r = static_cast<size_t>(std::clamp(row, 0, kVisibleRows - 1));
    return panning ? *panningSliders_[r] : *volumeSliders_[r];
}

TesselOrderListPage* makeOrderListPage(TesselEditorPageServices* editor, const CRect& size)
{
    return new TesselOrderListUI(editor, size);
}
