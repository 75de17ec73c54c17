#pragma once
// What the pages need of the editor, declared here so that the page base does
// not depend on it: the plug-in and engine it serves, the page set and the
// current page, the frames, the current octave, instrument and sample, the
// editor's flags and a few hooks into the pattern editor, the help and splash
// pages and the toolbar. The editor implements it; GUI thread only.

#include "gui/frame_link.h"
#include "gui/geometry.h"

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

// Page numbers, as the toolbar's page buttons and the usage log know them.
enum TesselPageNumber : int32_t {
    kNoPage = -1,
    kPatternEditorPage = 1,
    kSampleListPage = 2,
    kInstrumentListPage = 4,
    kInfoPage = 6,
    kOrderListPage = 7,
    kPreferencesPage = 8,
};

// The editor's pages; none until it builds them. Not owned.
struct TesselPages {
    TesselUI* patternEditor = nullptr;
    TesselUI* sampleList = nullptr;
    TesselUI* instrumentList = nullptr;
    TesselUI* info = nullptr;
    TesselUI* orderList = nullptr;
    TesselUI* preferences = nullptr;
    TesselUI* help = nullptr;
    TesselUI* splash = nullptr;
    TesselUI* toolbar = nullptr;

    // The page of a page number; none for others.
    TesselUI* byNumber(int32_t number) const
    {
        switch (number) {
        case kPatternEditorPage: return patternEditor;
        case kSampleListPage: return sampleList;
        case kInstrumentListPage: return instrumentList;
        case kInfoPage: return info;
        case kOrderListPage: return orderList;
        case kPreferencesPage: return preferences;
        default: return nullptr;
        }
    }
};

class TesselEditorServices : public TesselFrameLink {
public:
    virtual TesselPlugin* plugin() = 0;
    virtual TesselEngine* engine() = 0;

    virtual const TesselPages& pages() const = 0;
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

    // The pattern editor page: whether it is dragging (a selection or a
    // drag of its own) so that it keeps the mouse; its octave and instrument
    // lists show a value; its status strip drawn over a page.
    virtual bool patternEditorDragging() const = 0;
    virtual void showPatternEditorOctave(float octave) = 0;
    virtual void showPatternEditorInstrument(float instrument) = 0;
    virtual void drawPatternEditorStatus(VSTGUI::CDrawContext* context) = 0;
    // The instrument list page's list follows the song after the toolbar
    // opened the page with no instrument current.
    virtual void refreshInstrumentListPage() = 0;
    // The help page slides out and takes no clicks.
    virtual bool helpPageSlidingOut() const = 0;
    // The splash page is shown and its fade has not begun: nothing is drawn
    // over the pages.
    virtual bool splashHidesOverlays() const = 0;
    // The toolbar's five page buttons: down only for this page number.
    virtual void showPageButtons(int32_t pageNumber) = 0;
    // The Caps Lock indicator; null when the editor has none.
    virtual VSTGUI::CBitmap* capsLockIndicator() = 0;
    // The font box took a new pattern font.
    virtual void fontChanged(const TesselFontRecord& font) { (void)font; }
    // The help at its default topic (the toolbar's help button).
    virtual void openDefaultHelp() {}

    // The editor window's client rectangle, pages' pixels at double size
    // (half the width and height, plus 1); false without the editor window.
    bool getViewRect(CRect& rect);

protected:
    ~TesselEditorServices() = default;
};
