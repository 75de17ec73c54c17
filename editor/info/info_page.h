#pragma once
// The info page (page 6, "InfoPage"): the playing song channel by channel,
// with each channel's volume and panning sliders and keys that mute
// channels and move playback. It wants no keys of its own, so the global
// keys work from it. GUI thread only.

#include "editor/info/info_display.h"
#include "editor/core/editor_page_services.h"
#include "editor/core/page_kinds.h"

#include <cstdint>

class TesselInfoPageUI : public TesselInfoPage, protected TesselEditorPageOwner {
public:
    static constexpr int32_t kClassId = 10;
    static constexpr int32_t kLastFirstChannel =
        TesselInfoDisplay::kChannels - TesselInfoDisplay::kVisibleRows;

    TesselInfoPageUI(TesselEditorPageServices* editor, const CRect& size);
    ~TesselInfoPageUI() override;

    bool wantsKeys() override { return false; }
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // The sliders store the channel's volume and panning.
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    // Draws what changed into the page's picture and copies it to the context.
    void draw(CDrawContext* context) override;

    // Every channel's row starts afresh (before playback starts or resets).
    void resetChannelDisplay() override { resetChannelDisplay(-1); }
    void resetChannelDisplay(int32_t channel);
    void refresh() override { setDirty(); }
    void onPageCommand(int32_t id) override;
    // The first visible channel; the rows start afresh when it changed.
    void scrollTo(int32_t firstChannel);

    int32_t channelCursor() const { return cursor_; }
    int32_t firstChannel() const { return first_; }
    const TesselInfoDisplay& display() const { return display_; }

private:
    void runCommand(int32_t id, const TesselKeyEvent& key);
    void mute(bool upwards);
    void goToPlayingPattern();
    void skip(bool forwards);
    void moveCursor(int32_t by);

    TesselInfoDisplay display_;
    int32_t cursor_ = 0;
    int32_t first_ = 0;
    int32_t displayMode_ = 0;
    bool redrawAll_ = true;
    // The picture is composed anew over the background.
    bool repaint_ = true;
    // A slider pressed and held: its channel, else -1.
    int32_t dragChannel_ = -1;
    bool dragPanning_ = false;
};
