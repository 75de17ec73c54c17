#pragma once
// The sample list page (page 2, "SampleList", F3): the song's 99 samples in
// a list, the current sample's settings in fields, auditions from the
// keyboard, the normaliser, a clipboard of its own for copy, cut, paste and
// delete, and a file browser that loads samples (browser mode) beside a
// file selector that saves them. Every action works on a copy of the
// current sample and writes it back to its slot under the song lock when it
// changed it (TesselSampleEdit). GUI thread only.

#include "editor/core/editor_page_services.h"
#include "editor/core/overlay_menu.h"
#include "editor/core/page_kinds.h"
#include "editor/sample_list/sample_fields.h"
#include "editor/sample_list/sample_file_buttons.h"
#include "gui/controls/scrollbar.h"
#include "model/sample/sample.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TesselFileBox;
class TesselSampleEdit;

class TesselSampleListUI final : public TesselSampleListPage, protected TesselEditorPageOwner {
public:
    static constexpr int32_t kClassId = 8;
    static constexpr int32_t kVisibleRows = 50;
    // The name cursor at 25: the name is not being edited.
    static constexpr int32_t kNameNotEdited = kSampleNameLength;
    enum Mode : int32_t { kListMode = 0, kBrowserMode = 1 };

    // `size`: the side pages' rectangle. The file box starts on the
    // editor's sample folder.
    TesselSampleListUI(TesselEditorPageServices* editor, const CRect& size);
    ~TesselSampleListUI() override;

    void draw(CDrawContext* context) override;
    // Also when the browser's listing changed since it was drawn.
    bool isDirty() const override;
    // Frame coordinates, as the editor window passes the wheel.
    void onMouseWheel(int32_t x, int32_t y, float distance) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // While the normalise popup is open or the browser shows.
    bool wantsKeys() override;
    // Leaving the frame (a page switch) drops a pending prompt.
    bool removed(CView* parent) override;
    bool attached(CView* parent) override;
    void selectSample(int32_t n, bool keepScroll) override;

    // 0 list mode (the page unfocused), 1 browser mode (focused).
    void setListMode(int32_t mode);
    void saveSample();
    // A file, "module::NN" (sample NN of the module or instrument file the
    // browser shows) or "archive::entry" into sample slot `target` (0..98).
    void loadSample(const std::string& path, int32_t target);

    int32_t listMode() const { return mode_; }
    int32_t focusedField() const { return field_; }
    int32_t nameCursor() const { return nameCursor_; }
    int32_t firstVisibleRow() const { return firstRow_; }
    int32_t clipboardMarker() const { return clipboardMarker_; }
    TesselFileBox& fileBox() { return *fileBox_; }
    TesselOverlayMenu& normalisePopup() { return normalise_; }
    TesselSampleFields& fields() { return *fields_; }

private:
    // A prompt shown by a first press, waiting for the second.
    struct Pending {
        int32_t command = 0;
        int32_t slot = -1;
    };
    // A note this page started, and the key that started it.
    struct HeldKey {
        uint8_t virtualKey;
        int32_t character;
        int32_t note;
    };

    // Keys (sample_list_keys.cpp).
    int32_t commandOf(const TesselKeyEvent& key) const;
    bool runCommand(int32_t id, const TesselKeyEvent& key, TesselSampleEdit& edit, const Pending& pending);
    bool editingKey(const TesselKeyEvent& key, TesselSampleEdit& edit);
    void moveFocus(const TesselKeyEvent& key, TesselSampleEdit& edit);
    bool listKey(const TesselKeyEvent& key, TesselSampleEdit& edit);
    void fieldKey(const TesselKeyEvent& key, TesselSampleEdit& edit);
    void fileBoxKey(const TesselKeyEvent& key);
    bool editName(const TesselKeyEvent& key, TesselSampleEdit& edit);
    void releaseKey(const TesselKeyEvent& key);
    void audition(const TesselKeyEvent& key, int32_t note);
    // Step 5 of every action: write back, make the sample current, show it.
    void finishAction(TesselSampleEdit& edit);

    // Fields.
    void setField(int32_t field, TesselSampleEdit& edit);
    void storeField(TesselSampleEdit& edit);

    // Commands (sample_list_commands.cpp).
    void copySample(bool cut, TesselSampleEdit& edit);
    void pasteSample(bool confirmed, TesselSampleEdit& edit, const TesselKeyEvent* key);
    void deleteSample(bool confirmed, TesselSampleEdit& edit, const TesselKeyEvent* key);
    bool askYesNo(const char* question);
    void showNormalise();
    void normaliseSample();
    void toggleMode();

    // Mouse (sample_list_mouse.cpp).
    bool isDoubleClick(int32_t x, int32_t y);
    void clickList(const CPoint& point);
    void clickBrowser(bool doubleClick, const CPoint& point);
    void clickFileButton(int32_t button, TesselSampleEdit& edit);
    void clickField(int32_t buttons, const CPoint& point, TesselSampleEdit& edit);
    void clickPopup(int32_t buttons, const CPoint& point);

    // Files (sample_list_files.cpp).
    unsigned loadSlotOfPreview(const std::string& archive, const std::string& member, TesselSampleEdit& edit);
    unsigned loadArchiveMember(const std::string& archive, const std::string& member, TesselSampleEdit& edit);
    void redrawProgress();

    // Drawing (sample_list_drawing.cpp).
    void drawList(CDrawContext* context);
    void logCursor();

    // The editor's current sample, zero-based.
    int32_t currentIndex() const;
    void showRow(int32_t index);
    void rememberFolder();
    void dropPending() { pending_ = {}; }

    std::unique_ptr<TesselSampleFields> fields_;
    std::unique_ptr<TesselFileBox> fileBox_;
    TesselSampleFileButtons fileButtons_;
    TesselScrollbar scrollbar_;
    TesselOverlayMenu normalise_;
    VSTGUI::CBitmap* waveformSkin_;
    VSTGUI::CBitmap* fieldsSkin_;
    VSTGUI::CBitmap* frameSkin_;
    VSTGUI::CBitmap* nameCursorSkin_;
    VSTGUI::CBitmap* popupSkin_;

    TesselSample clipboard_;
    int32_t clipboardMarker_ = -1;
    int32_t mode_ = kListMode;
    int32_t field_ = 0;
    int32_t nameCursor_ = kNameNotEdited;
    int32_t firstRow_ = 0;
    // The action's sample, zero-based; the editor's current sample between actions.
    int32_t sample_ = 0;
    int32_t drawnSample_ = -1;
    Pending pending_;
    std::vector<HeldKey> held_;
    // The field a fresh press went to, which keeps a drag on a slider.
    int32_t dragField_ = 0;
    int32_t heldButtons_ = 0;
    bool lastPressValid_ = false;
    uint32_t lastPressTime_ = 0;
    CPoint lastPress_;
};
