#pragma once
// The settings sub-page of the preferences page: the refresh rate, the
// pattern font and its width, the default folders and the MIDI delay, in one
// column of seven controls. Every change takes effect at once, in the
// running editor and in the preferences; nothing is written to the
// preferences file here. GUI thread only.

#include "editor/preferences/sub_page.h"
#include "pagekit/font_box.h"
#include "pagekit/path_box.h"
#include "gui/controls/slider.h"

#include <array>
#include <cstdint>
#include <string>

class TesselDropList;

class TesselSettingsUI : public TesselSubPage {
public:
    static constexpr int32_t kClassId = 22;
    enum Control : int32_t {
        kRefresh,
        kFace,
        kWidth,
        kSamples,
        kInstruments,
        kModules,
        kDelay,
        kControlCount,
    };
    // Labels end here; every control runs from x 93 to 575, 11 pixels high.
    static constexpr int32_t kLabelRight = 88;
    static constexpr int32_t kControlLeft = 93;
    static constexpr int32_t kControlRight = 576;
    static constexpr int32_t kControlTops[kControlCount] = {47, 69, 80, 102, 113, 124, 146};

    explicit TesselSettingsUI(TesselEditorPageServices* editor);
    ~TesselSettingsUI() override;

    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    int32_t onKeyEvent(const TesselKeyEvent& key) override;

    int32_t focusIndex() const { return focus_; }
    const TesselFontBox& fontBox() const { return font_; }
    const TesselPathBox& folderBox(int32_t control) const;
    // What the two sliders show: a value, or "Auto" at their lowest.
    std::string sliderText(int32_t control) const;
    const char* refreshText() const;

private:
    // The control's value after a key or a click, applied where it differs.
    void apply(int32_t control);
    void applyFolder(int32_t control);
    // The editor's folder and the preference field of a folder control.
    std::string* editorFolder(int32_t control) const;
    char* preferenceFolder(int32_t control) const;
    TesselControl* controlAt(int32_t control);
    // Keys or a click for the focused control.
    void toControl(const TesselKeyEvent* key, int32_t buttons, const CPoint& point);

    // Focus on the first control, the controls showing the preferences and
    // the editor's folders.
    void opened() override;
    void compose(CDrawContext& face) override;
    void drawLabels(CDrawContext& face);

    TesselDropList* refresh_;
    TesselFontBox font_;
    TesselSlider width_;
    std::array<TesselPathBox, 3> folders_;
    TesselSlider delay_;
    CBitmap* heading_;
    int32_t focus_ = kRefresh;
};
