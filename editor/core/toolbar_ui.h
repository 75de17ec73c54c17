#pragma once
// The toolbar in the host's own plug-in window: a file menu, the buttons
// that show the editor window or switch its pages, a help button, the
// playing position, the transport buttons, the version number and the
// logo. Hovering a button writes its hint into the program's hint line
// (the file message); a left press runs it.

#include "patterneditor/overview/toolbar_page.h"

#include <array>
#include <cstdint>
#include <string>

class TesselButton;
class TesselDropList;
class TesselEditor;

// The position texts the toolbar showed last while something played.
struct TesselShownPosition {
    std::string row;
    std::string orderPattern;
};

class TesselToolbarUI final : public TesselToolbarPage, public CControlListener {
public:
    static constexpr int32_t kClassId = 17;
    static constexpr int kButtons = 15;
    enum Button : int {
        kFileMenu = 0,
        kPatternEditorButton = 1,
        kHelpButton = 7,
        kRowField = 8,
        kOrderField = 9,
        kPlaySong = 10,
        kPlayPattern = 11,
        kPlayFromCursor = 12,
        kStop = 13,
        kWebPage = 14,
    };

    explicit TesselToolbarUI(TesselEditor* editor);
    ~TesselToolbarUI() override;

    void draw(CDrawContext* context) override;
    // Also dirty when the playing position's texts differ from those shown.
    bool isDirty() const override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    bool wantsKeys() override { return false; }

    void showPageButtons(int32_t pageNumber) override;
    void showWindowButton(bool down) override;
    void refreshPosition() override { updatePosition(); }
    // The texts from the editor's playing position; marks the page dirty
    // when they changed.
    void updatePosition();

    // The file menu's choice.
    void valueChanged(CDrawContext* context, CControl* control) override;

    TesselButton* button(int i) const { return buttons_[size_t(i)]; }
    TesselDropList* fileMenu() const { return fileMenu_; }
    const std::string& rowText() const { return rowText_; }
    const std::string& orderText() const { return orderText_; }
    static const char* hint(int i);
    // The program's record of the last position shown while playing.
    static TesselShownPosition& lastShown();

private:
    void formatPosition(std::string& row, std::string& orderPattern) const;
    void runButton(int i);
    void pagePressed(int32_t page);
    TesselEditor* editor() const { return owner_; }

    TesselEditor* owner_;
    std::array<TesselButton*, kButtons> buttons_{};
    std::array<bool, kButtons> pressed_{};
    CBitmap* logo_ = nullptr;
    TesselDropList* fileMenu_ = nullptr;
    std::string rowText_;
    std::string orderText_;
    int hovered_ = -1;   // the button under the pointer
};
