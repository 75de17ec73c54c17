#pragma once
// What the pages need of the editor, declared here so that the page base does
// not depend on it: the plug-in and engine it serves, the pages by their
// place in the window and the current page, the frames, the current octave,
// instrument and sample, the editor's flags, the octave and instrument lists,
// the status line and the toolbar's page buttons. The editor implements it;
// GUI thread only.

#include "gui/frame/frame_link.h"
#include "gui/geometry.h"

#include <array>
#include <cstdint>

class CFrame2;
struct TesselKeyEvent;
class TesselEngine;
class TesselPlugin;
class TesselUI;
struct TesselFontRecord;
namespace VSTGUI {
class CBitmap;
class CDrawContext;
class CFrame;
} // namespace VSTGUI

// The pages at the side place of the editor window, which move together.
constexpr int32_t kSidePages = 5;

class TesselEditorServices : public TesselFrameLink {
public:
    virtual TesselPlugin* plugin() = 0;
    virtual TesselEngine* engine() = 0;

    // The pages by their place in the window, null where there is none
    // (yet): the page under all the others, which fills the editor window
    // and holds the current pattern, order and row; the pages at the side
    // place; the panel that slides over the window's bottom; the toolbar over
    // the host's window; the page a toolbar button opens, by page number.
    virtual TesselUI* basePage() const = 0;
    virtual std::array<TesselUI*, kSidePages> sidePages() const = 0;
    virtual TesselUI* bottomPanel() const = 0;
    virtual TesselUI* toolbarPage() const = 0;
    virtual TesselUI* pageByNumber(int32_t number) const = 0;
    virtual TesselUI* currentPage() const = 0;
    virtual void setCurrentPage(TesselUI* page) = 0;
    // The editor window's frame holding the pages; null while there is no
    // editor window.
    virtual CFrame2* frame2() = 0;
    VSTGUI::CFrame* pagesFrame() override;
    // The frame over the host's window holding the toolbar; null while closed.
    virtual VSTGUI::CFrame* toolbarFrame() = 0;

    // 0..8.
    virtual int32_t octave() const = 0;
    virtual void setOctave(int32_t octave) = 0;
    // 0 = none, 1..99.
    virtual int32_t currentInstrument() const = 0;
    // With selectSample the instrument's first sample becomes current too.
    virtual void setCurrentInstrument(int32_t number, bool selectSample) = 0;
    // 1..99.
    virtual int32_t currentSample() const = 0;
    // The note a key plays at the current octave, or -1.
    virtual int32_t noteFromKey(TesselKeyEvent key) const = 0;

    // Flags: mouse, keys and wheel are ignored while input is blocked; Caps
    // Lock was on at the last key-down; the editor is open (its toolbar frame
    // exists) and its window is shown.
    virtual bool inputBlocked() const = 0;
    virtual bool capsLock() const = 0;
    virtual bool isOpen() const = 0;
    virtual bool isWindowVisible() const = 0;
    virtual void showEditorWindow() = 0;
    bool popupActive() const override = 0;
    void beginPopup() override = 0;
    void endPopup() override = 0;

    // The usage log's focus record of the current page, when it changed.
    void logCurrentFocus() override = 0;

    // The base page drags (a selection or a drag of its own) and keeps the
    // mouse.
    virtual bool basePageDragging() const = 0;
    // The octave and instrument lists show a value.
    virtual void showOctave(float octave) = 0;
    virtual void showInstrument(float instrument) = 0;
    // The status line, drawn over the base page.
    virtual void drawStatusLine(VSTGUI::CDrawContext* context) = 0;
    // A page opened from the toolbar after the current instrument was set
    // for it follows the song again.
    virtual void refreshPage(TesselUI* page) = 0;
    // The bottom panel slides out and takes no clicks.
    virtual bool bottomPanelSlidingOut() const = 0;
    // Nothing is drawn over the pages (a splash screen covers them).
    virtual bool overlaysHidden() const = 0;
    // The toolbar's five page buttons: down only for this page number.
    virtual void showPageButtons(int32_t pageNumber) = 0;
    // The Caps Lock indicator; null when the editor has none.
    virtual VSTGUI::CBitmap* capsLockIndicator() = 0;
    // The font box took a new pattern font.
    virtual void fontChanged(const TesselFontRecord& font) { (void)font; }

    // The editor window's client rectangle, pages' pixels at double size
    // (half the width and height, plus 1); false without the editor window.
    bool getViewRect(CRect& rect);

protected:
    ~TesselEditorServices() = default;
};
