#pragma once
// The instrument list page (page 4): the song's 99 instruments with their
// labels and names, the current one edited on five tabs (General with the
// key map, Volume, Panning, Pitch and Filter with their envelopes), notes
// auditioned from the keyboard, instruments copied, cut, pasted, deleted,
// erased and swapped, and instrument files loaded through an embedded file
// box (browser mode, tab 5) and saved.
//
// Every edit works on a copy of the current instrument and assigns it back
// to the copy's own slot under the song lock, and only when the edit
// changed it; New, Swap and Load write the song themselves. GUI thread only.

#include "editor/instrument_list/instrument_list_layout.h"
#include "editor/instrument_list/instrument_midi_panel.h"
#include "editor/instrument_list/keymap_view.h"
#include "editor/core/editor_page_services.h"
#include "editor/core/overlay_menu.h"
#include "editor/core/page_kinds.h"
#include "gui/offscreen_context.h"
#include "model/song/subrow.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TesselButtonGroup;
class TesselDropList;
class TesselEnvelope;
class TesselEnvelopeGraph;
class TesselFileBox;
class TesselFont;
class TesselInstrument;
class TesselSlider;
class TesselTextBox;

class TesselInstrumentListUI final : public TesselInstrumentListPage, protected TesselEditorPageOwner {
public:
    static constexpr int32_t kClassId = 9;
    static constexpr int32_t kPageNumber = 4;
    static constexpr int32_t kVisibleRows = 50;
    // The name cursor's places: -2 and -1 the label, 0..24 the name, 25 none.
    static constexpr int32_t kFirstLabelPlace = -2;
    static constexpr int32_t kNoNameCursor = 25;
    enum Tab : int32_t { kGeneral = 0, kVolume, kPanning, kPitch, kFilter, kBrowser };

    TesselInstrumentListUI(TesselEditorPageServices* editor, const CRect& size);
    ~TesselInstrumentListUI() override;

    void draw(CDrawContext* context) override;
    bool isDirty() const override;
    void onMouseWheel(int32_t x, int32_t y, float distance) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    bool wantsKeys() override;
    bool attached(CView* parent) override;
    void selectFirstInstrument() override;
    void clearShiftState() override;

    // n is kept to 1..99; unless noScroll it is scrolled into the list.
    void selectInstrument(int32_t n, bool noScroll);
    void newInstrument();
    // `target`: the slot (0..98) that takes the instrument.
    void loadInstrument(const std::string& path, int32_t target);
    void saveInstrument();
    // a and b 1..99; nothing for a == b.
    void swapInstruments(int32_t a, int32_t b, bool inPatterns);
    // The system's colour chooser from the instrument's colour; the colour
    // kept on cancel. 24-bit RGB.
    uint32_t chooseColour();

    int32_t tab() const { return tab_; }
    int32_t field() const { return field_; }
    int32_t nameCursor() const { return nameCursor_; }
    int32_t firstRow() const { return firstRow_; }
    int32_t current() const { return current_; }
    TesselKeyMapUI& keyMap() { return *keyMap_; }
    TesselMIDIUI& midiPanel() { return *midiPanel_; }
    TesselFileBox& fileBox() { return *fileBox_; }
    TesselEnvelopeGraph& graph() { return *graph_; }
    TesselOverlayMenu& swapPopup() { return swapPopup_; }
    const std::string& swapLabel() const { return swapLabel_; }

private:
    // The edit under way: the working copy and its markup before the edit.
    struct Edit;

    // instrument_list_page.cpp
    void buildControls();
    void syncWithEditor();
    // The browser tab with the list focused, its folder read again.
    void showBrowser();
    int32_t focusCount() const;
    bool regionAreaShown() const;
    // After an action: the copy written back when it changed, the pattern
    // editor told of new names and labels, the current instrument kept in
    // view, the key map reloaded, the editor's instrument set.
    void finishEdit(Edit& edit);
    bool writeBack(const TesselInstrument& copy);
    void refillPatternEditorList();
    void scrollIntoView();

    // instrument_list_keys.cpp
    void handleKey(const TesselKeyEvent& key, Edit& edit);
    void releaseKey(const TesselKeyEvent& key);
    void swapPopupKey(const TesselKeyEvent& key);
    bool pageCommand(int32_t id, const TesselKeyEvent& key, Edit& edit);
    bool focusMove(const TesselKeyEvent& key);
    void listKey(const TesselKeyEvent& key, Edit& edit);
    void nameKey(const TesselKeyEvent& key, TesselInstrument& instrument);
    void labelCharacter(uint8_t character, TesselInstrument& instrument);
    void auditionKey(const TesselKeyEvent& key);
    void browserKey(const TesselKeyEvent& key);
    void openSwapPopup(bool inPatterns);
    void goToSample(int32_t sample);
    void nextTab();
    // A second press on the slot the first press asked about.
    bool confirmed(const TesselKeyEvent& key, int32_t command);

    // instrument_list_fields.cpp
    TesselControl* fieldControl(int32_t tab, int32_t field) const;
    int32_t fieldValue(const TesselInstrument& instrument, int32_t tab, int32_t field) const;
    void setFieldValue(TesselInstrument& instrument, int32_t tab, int32_t field, int32_t value);
    void showFieldValues(const TesselInstrument& instrument);
    // The focused control takes the key; its value is stored when it changed.
    void fieldKey(const TesselKeyEvent& key, TesselInstrument& instrument);
    void fieldClick(int32_t field, const CPoint& point, int32_t buttons, TesselInstrument& instrument);
    void chooseMidiPort(int32_t port, TesselInstrument& instrument);
    void fillPortList();
    // Loop ends kept to the nodes, inverted loops switched off, slopes again.
    void checkLoops(TesselEnvelope& envelope);
    TesselEnvelope& tabEnvelope(TesselInstrument& instrument) const;

    // instrument_list_mouse.cpp
    void mouseEvent(int32_t x, int32_t y, int32_t buttons, Edit& edit);
    void listClick(int32_t x, int32_t y);
    bool tabStripClick(int32_t x, int32_t y);
    void fileButtonClick(int32_t x, int32_t y, Edit& edit);
    void browserClick(int32_t x, int32_t y, int32_t buttons);
    uint32_t windowTicks() const;

    // instrument_list_drawing.cpp
    void drawList(CDrawContext* context);
    void drawTabStrip(CDrawContext* context);
    void drawGeneralTab(CDrawContext* context);
    void drawEnvelopeTab(CDrawContext* context);
    void drawFieldLabels(CDrawContext* context);
    void drawPitchCentre(CDrawContext* context);

    // The song when the page has no engine (never with an editor).
    std::unique_ptr<TesselModule> ownSong_;
    int32_t current_ = 0;
    // The song generation the key map was loaded from: a new or loaded song
    // replaces the instrument under it.
    int32_t seenSong_ = 0;
    int32_t firstRow_ = 0;
    int32_t nameCursor_ = kNoNameCursor;
    int32_t tab_ = kGeneral;
    int32_t field_ = 0;
    int32_t lastButtons_ = 0;
    // A press began in the key map: its drag and release go there too.
    bool keyMapHeld_ = false;
    uint32_t lastClickTicks_ = 0;
    bool songWritten_ = false;
    // The clipboard instrument and the index it was copied from (-1 empty).
    std::unique_ptr<TesselInstrument> clipboard_;
    int32_t clipboardMarker_ = -1;
    // The slot a first Paste or Delete press asked about; -1 none.
    int32_t pendingSlot_ = -1;
    int32_t pendingCommand_ = 0;
    // The note the page started from a key, stopped on that key's release.
    TesselSubrow auditionNote_;
    struct StartedNote {
        int32_t character;
        uint8_t virtualKey;
        int32_t instrument;
        int32_t note;
    };
    std::vector<StartedNote> startedNotes_;
    bool swapInPatterns_ = false;
    std::string swapLabel_;
    TesselOverlayMenu swapPopup_;
    std::unique_ptr<TesselKeyMapUI> keyMap_;
    std::unique_ptr<TesselMIDIUI> midiPanel_;
    std::unique_ptr<TesselFileBox> fileBox_;
    std::unique_ptr<TesselEnvelopeGraph> graph_;
    std::unique_ptr<TesselButtonGroup> fileButtons_;
    std::unique_ptr<TesselButtonGroup> newNoteActions_;
    std::unique_ptr<TesselButtonGroup> duplicateChecks_;
    std::unique_ptr<TesselButtonGroup> duplicateActions_;
    std::unique_ptr<TesselButtonGroup> filterRange_;
    TesselDropList* envelopeOn_ = nullptr;
    TesselDropList* carry_ = nullptr;
    TesselDropList* loopType_ = nullptr;
    TesselDropList* sustainType_ = nullptr;
    TesselDropList* midiSwitch_ = nullptr;
    TesselDropList* midiPort_ = nullptr;
    std::unique_ptr<TesselTextBox> loopBegin_;
    std::unique_ptr<TesselTextBox> loopEnd_;
    std::unique_ptr<TesselTextBox> sustainBegin_;
    std::unique_ptr<TesselTextBox> sustainEnd_;
    std::unique_ptr<TesselSlider> globalVolume_;
    std::unique_ptr<TesselSlider> fadeOut_;
    std::unique_ptr<TesselSlider> volumeSwing_;
    std::unique_ptr<TesselSlider> defaultPan_;
    std::unique_ptr<TesselSlider> pitchSeparation_;
    std::unique_ptr<TesselSlider> panSwing_;
    std::unique_ptr<TesselSlider> midiChannel_;
    std::unique_ptr<TesselSlider> midiProgram_;
    std::unique_ptr<TesselSlider> bankMsb_;
    std::unique_ptr<TesselSlider> bankLsb_;
    std::unique_ptr<TesselSlider> cutoff_;
    std::unique_ptr<TesselSlider> resonance_;
    std::unique_ptr<TesselFont> listFont_;
    std::unique_ptr<TesselFont> highlightFont_;
    std::unique_ptr<TesselFont> labelFont_;
    std::unique_ptr<TesselFont> cursorFont_;
    std::unique_ptr<COffscreenContext> picture_;
};
