#pragma once
// Page 8, the preferences page: the song's resolution and the buttons that
// open its two sub-pages over it, the settings and the keyboard shortcuts.
// While a sub-page is shown (or the keyboard page captures a key) the page
// hands it every key, click and wheel turn; otherwise global keys work from
// here and Escape goes back to the pattern editor. GUI thread only.

#include "editor/keyboard/keyboard_page.h"
#include "editor/core/page_kinds.h"
#include "editor/preferences/settings_page.h"
#include "gui/controls/button.h"
#include "gui/offscreen_context.h"
#include "gui/controls/slider.h"

#include <array>
#include <cstdint>
#include <memory>

class TesselSongVariablesUI : public TesselPreferencesPage, protected TesselEditorPageOwner {
public:
    static constexpr int32_t kClassId = 12;
    // Sub-pages open this far into the page.
    static constexpr int32_t kSubPageLeft = 45;
    static constexpr int32_t kSubPageTop = 32;
    enum Focus : int32_t { kFocusResolution, kFocusSettings, kFocusKeyboard, kFocusSave, kFocusCount };

    // `size`: the side pages' rectangle, which the page keeps so that the
    // sub-pages reaching past its skin still lie inside it.
    TesselSongVariablesUI(TesselEditorPageServices* editor, const CRect& size);
    ~TesselSongVariablesUI() override;

    void draw(CDrawContext* context) override;
    // The page's own flag, or a shown sub-page's.
    bool isDirty() const override;
    // The sub-pages move with the page.
    void setViewSize(const CRect& rect) override;
    bool attached(CView* parent) override;
    // Leaving the page ends a capture.
    bool removed(CView* parent) override;

    void onMouseWheel(int32_t x, int32_t y, float distance) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // A sub-page is shown or the keyboard page captures.
    bool wantsKeys() override;

    // The road's step before all others: only while this page is current.
    bool keyboardPanelWantsKeys() override;
    int32_t keyboardPanelKey(const TesselKeyEvent& key) override;
    void shortcutTimer() override { keyboard_.tick(); }

    TesselKeyboardUI& keyboardPage() { return keyboard_; }
    TesselSettingsUI& settingsPage() { return settings_; }
    int32_t focusIndex() const { return focus_; }
    // The song's resolution as the slider shows it: (int)(r + 0.1) in 1..100.
    int32_t shownResolution() const;
    // Where sub-pages open, in frame coordinates.
    CPoint subPageOrigin() const { return CPoint(size.left + kSubPageLeft, size.top + kSubPageTop); }

private:
    bool isCurrent() const;
    // What a click or Enter on a button does.
    void activate(int32_t control);
    // The slider's value becomes the song's resolution when it differs.
    void applyResolution();
    // The sub-page that takes keys, clicks and the wheel now; none.
    TesselUI* activeSubPage();
    void compose();

    // Built before the controls.
    TesselKeyboardUI keyboard_;
    TesselSettingsUI settings_;
    TesselSlider resolution_;
    // Settings, keyboard, save as default: controls 1 to 3.
    std::array<TesselButton, 3> buttons_;
    // The side pages' panel: the page's rectangle around its own skin.
    CBitmap* panel_;
    std::unique_ptr<COffscreenContext> face_;
    int32_t focus_ = kFocusResolution;
};
