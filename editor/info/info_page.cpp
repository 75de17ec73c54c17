// The info page: its keys (mute, the playing pattern, skips, the cursor),
// its sliders and the composition of its picture.

#include "editor/info/info_page.h"

#include "common/help_pages.h"
#include "editor/core/channel_edits.h"
#include "editor/core/page_factory.h"
#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "pagekit/frame2.h"
#include "patterneditor/pattern_editor_page.h"
#include "resources/resource_ids.h"
#include "shell/command_ids.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

constexpr int32_t kLeftButton = 1;
constexpr int32_t kLastInfoChannel = TesselInfoDisplay::kChannels - 1;
// The level meters' column, cleared on every pass: all visible rows.
constexpr CRect kMeterArea{TesselInfoDisplay::kMeterX, TesselInfoDisplay::kFirstRowY,
                           TesselInfoDisplay::kMeterX + TesselInfoDisplay::kMeterWidth,
                           TesselInfoDisplay::kFirstRowY
                               + TesselInfoDisplay::kVisibleRows * TesselInfoDisplay::kRowHeight};

} // namespace

TesselInfoPageUI::TesselInfoPageUI(TesselEditorPageServices* editor, const CRect& size)
    : TesselInfoPage(size, 0, nullptr, editor, kClassId), TesselEditorPageOwner(editor)
{
    auto* skin = new CBitmap(resources::kInfoPageSkin);
    setBackground(skin);
    skin->forget();
}

TesselInfoPageUI::~TesselInfoPageUI() = default;

void TesselInfoPageUI::resetChannelDisplay(int32_t channel)
{
    display_.reset(channel);
    // Without a channel the whole picture starts again from the background.
    if (channel < 0)
        repaint_ = true;
    setDirty();
}

void TesselInfoPageUI::scrollTo(int32_t firstChannel)
{
    firstChannel = std::clamp(firstChannel, 0, kLastFirstChannel);
    if (firstChannel == first_)
        return;
    first_ = firstChannel;
    display_.placeSliders(first_);
    resetChannelDisplay(-1);
}

void TesselInfoPageUI::onPageCommand(int32_t id)
{
    runCommand(id, TesselKeyEvent{});
}

int32_t TesselInfoPageUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return 0;
    runCommand(defaultScheme().findIdInContext(cmd::info_page::kContext, key, false), key);
    return 0;
}

void TesselInfoPageUI::runCommand(int32_t id, const TesselKeyEvent& key)
{
    switch (id) {
    case cmd::root::kHelpContext:
        if (TesselEditorPageServices* owner = this->owner())
            owner->openHelpPage(help::kInfoPage);
        break;
    case cmd::root::kInfoPage:
        displayMode_ = 0;
        resetChannelDisplay(-1);
        break;
    case cmd::info_page::kMute: mute((key.modifiers & kModShift) != 0); break;
    case cmd::info_page::kGoToPattern: goToPlayingPattern(); break;
    case cmd::info_page::kSkipBackward: skip(false); break;
    case cmd::info_page::kSkipForward: skip(true); break;
    default:
        if (key.virtualKey == kVkUp)
            moveCursor(-1);
        else if (key.virtualKey == kVkDown)
            moveCursor(1);
        break;
    }
    redrawAll_ = true;
    setDirty();
}

void TesselInfoPageUI::moveCursor(int32_t by)
{
    cursor_ = std::clamp(cursor_ + by, 0, kLastInfoChannel);
    if (cursor_ < first_)
        scrollTo(cursor_);
    else if (cursor_ > first_ + TesselInfoDisplay::kVisibleRows - 1)
        scrollTo(cursor_ - (TesselInfoDisplay::kVisibleRows - 1));
}

void TesselInfoPageUI::mute(bool upwards)
{
    toggleChannelMute(owner(), song, cursor_);
    if (upwards && cursor_ > 0)
        moveCursor(-1);
    else if (!upwards && cursor_ < kLastInfoChannel)
        moveCursor(1);
}

void TesselInfoPageUI::goToPlayingPattern()
{
    TesselEditorPageServices* owner = this->owner();
    TesselPatternEditorPage* page = patternEditorPage();
    if (!engine || !owner || !page || engine->transport < kPlayingSong)
        return;
    const int32_t pattern = owner->playingPattern();
    if (pattern < 0 || pattern >= kPatterns || owner->playingRow() < 0)
        return;
    // The page keeps the editor's current order when it holds the pattern.
    if (engine->transport == kPlayingSong)
        engine->currentOrder = engine->getPlayingOrder();
    page->goToPattern(pattern, true);
    owner->switchPage(kPatternEditorPage, true);
}

void TesselInfoPageUI::skip(bool forwards)
{
    TesselEditorPageServices* owner = this->owner();
    if (!engine || !owner || !song || engine->transport != kPlayingSong || song->orderList.inPitchMode())
        return;
    const int32_t current = engine->getPlayingOrder();
    if (current < 0 || current >= kOrderEntries)
        return;
    const TesselOrderList& orders = song->orderList;
    const int32_t target = forwards ? orders.nextUsed(current) : orders.previousUsed(current);
    if (target != current)
        owner->playSong(target, 0);
}

int32_t TesselInfoPageUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    if (!(buttons & kLeftButton)) {
        dragChannel_ = -1;
        return 0;
    }
    const CPoint point(x, y);
    if (freshPress) {
        dragChannel_ = -1;
        const int32_t row = (y - TesselInfoDisplay::kFirstRowY) / TesselInfoDisplay::kRowHeight;
        const int32_t channel = first_ + row;
        if (y < TesselInfoDisplay::kFirstRowY || row >= TesselInfoDisplay::kVisibleRows || channel > kLastInfoChannel)
            return 0;
        for (const bool panning : {false, true})
            if (display_.slider(channel, panning).hitTest(point)) {
                dragChannel_ = channel;
                dragPanning_ = panning;
            }
    }
    if (dragChannel_ < 0 || !song)
        return 0;
    TesselSlider& slider = display_.slider(dragChannel_, dragPanning_);
    const TesselChannel& channel = song->channels[static_cast<size_t>(dragChannel_)];
    const int32_t before = dragPanning_ ? channel.panning : channel.volume;
    slider.value = before;
    const CRect* track = slider.getRect();
    const int32_t value = *slider.onMouse(buttons, CPoint(x, std::clamp(y, track->top, track->bottom)));
    if (value != before) {
        if (dragPanning_)
            storeChannelPanning(owner(), song, dragChannel_, value);
        else
            storeChannelVolume(owner(), song, dragChannel_, value);
    }
    setDirty();
    return 0;
}

void TesselInfoPageUI::draw(CDrawContext* context)
{
    const int32_t width = size.width();
    const int32_t height = size.height();
    if (width <= 0 || height <= 0)
        return;
    if (isDirty()) {
        setDirty(false);
        cursorRecord.update(static_cast<int16_t>(cursor_), 0, 0, 0);
    }
    CBitmap* skin = getBackground();
    if (!offscreen)
        offscreen = std::make_unique<COffscreenContext>(frame2(), width, height, kBlackCColor);
    if (repaint_) {
        if (skin)
            skin->draw(offscreen.get(), CRect(0, 0, width, height));
        repaint_ = false;
        redrawAll_ = true;
    }
    offscreen->setFillColor(kBlackCColor);
    offscreen->setFrameColor(kWhiteCColor);
    // On a busy song lock the rows keep what they show.
    if (engine && display_.capture(*engine)) {
        if (displayMode_ == 0)
            control_skin::fill(offscreen.get(), kMeterArea, kBlackCColor);
        display_.drawRows(offscreen.get(), skin, first_, cursor_, redrawAll_, width);
        redrawAll_ = false;
    }
    if (!context)
        return;
    static_cast<COffscreenContext*>(offscreen.get())->transfert(context, size);
    TesselUI::draw(context);
}

TesselInfoPage* makeInfoPage(TesselEditorPageServices* editor, const CRect& size)
{
    return new TesselInfoPageUI(editor, size);
}
