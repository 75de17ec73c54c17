#pragma once
// The MIDI settings panel that opens over the instrument page's Pitch tab:
// the pitch-bend range and resolution, the default velocity and the ten
// MIDI effect assignments of a working copy of the instrument, taken when
// the panel opens. While open it takes every key. The instrument page
// draws it into its own picture (page coordinates) and stores the panel's
// thirteen values back into the instrument it edits. GUI thread only.

#include "pagekit/tessel_ui.h"
#include "editor/core/editor_page_services.h"

#include <array>
#include <cstdint>
#include <memory>

class TesselDropList;
class TesselInstrument;
class TesselSlider;
class TesselControl;

class TesselMIDIUI final : public TesselUI {
public:
    static constexpr int32_t kClassId = 16;
    static constexpr int32_t kFields = 13;
    static constexpr int32_t kEffectFields = 10;
    static constexpr int32_t kWidth = 330;
    static constexpr int32_t kHeight = 240;
    // Where the page opens it from the keyboard and from the mouse.
    static constexpr CPoint kKeyOrigin{370, 52};
    static constexpr CPoint kMouseOrigin{358, 50};

    // `owner`: the page whose picture shows the panel; its drop lists open over it.
    TesselMIDIUI(const CRect& size, TesselEditorPageServices* editor, TesselUI* owner);
    ~TesselMIDIUI() override;

    // At (x, y) with the background's size, a working copy of the
    // instrument, the lists set from it, field 0 focused, open.
    void open(int32_t x, int32_t y, const TesselInstrument& instrument, TesselEditorPageServices* editor);
    void close();
    bool isOpen() const { return open_; }

    bool wantsKeys() override { return open_; }
    // Escape closes, F1 asks for the panel's help page, Up and Shift+Tab
    // and Down and Tab move the focus round the thirteen fields; other keys
    // go to the focused field, whose value the working copy takes.
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // Left button only: the close box closes; a field under the point takes
    // the focus and the click. The working copy when a field took it, else null.
    const TesselInstrument* onPanelMouse(const CPoint& point, int32_t buttons);
    // Page coordinates.
    void draw(CDrawContext* context) override;

    // Copies the panel's thirteen values from the working copy into `target`.
    void storeInto(TesselInstrument& target) const;
    const TesselInstrument* workingCopy() const { return copy_.get(); }
    int32_t focusedField() const { return field_; }
    TesselControl* fieldControl(int32_t field) const;
    const CRect& panelRect() const { return size; }

private:
    // The field's control set from the working copy, and back.
    void showValues();
    void takeValue(int32_t field);
    CRect fieldRect(int32_t field) const;
    void placeControls();

    std::unique_ptr<TesselInstrument> copy_;
    bool open_ = false;
    int32_t field_ = 0;
    TesselEditorPageServices* services_;
    TesselUI* owner_;
    std::unique_ptr<TesselSlider> bendRange_;
    TesselDropList* resolution_ = nullptr;
    std::unique_ptr<TesselSlider> velocity_;
    std::array<TesselDropList*, kEffectFields> effects_{};
};
