#pragma once
// The base of every editor page: a control placed in a frame, linked to the
// editor and through it to the plug-in, the engine and the song. All pages
// share one mouse handler (focus, the toolbar's page buttons, title-strip
// drags, the pattern editor keeping the mouse while it drags, the close box
// of popup pages) and one offscreen through which they draw buffered.

#include "gui/controls/control.h"
#include "gui/draw_context.h"
#include "gui/tessel_class.h"
#include "shell/usage_log_events.h"

#include <cstdint>
#include <memory>
#include <vector>

class CFrame2;
class TesselDropList;
class TesselEditorServices;
class TesselEngine;
class TesselModule;
class TesselPlugin;
struct TesselKeyEvent;
struct TesselPreferences;

class TesselUI : public VSTGUI::CControl, public TesselClassUI {
public:
    // The close box: the upper face of this bitmap at the top right.
    static constexpr int32_t kCloseBoxWidth = 12;
    static constexpr int32_t kCloseBoxHeight = 15;
    // The title strip that drags a page.
    static constexpr int32_t kTitleStripHeight = 15;

    // Without an editor the page has no plug-in, engine or song.
    TesselUI(const CRect& size, int32_t tag, CBitmap* background, TesselEditorServices* editor, int32_t classId);
    ~TesselUI() override;

    // The close box of a shown popup page; pages that draw more call it last.
    void draw(CDrawContext* context) override;
    // The shared mouse handler; `where` in frame coordinates.
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
    // The plain dirty flag: a page's value is no drawn state.
    bool isDirty() const override { return CView::isDirty(); }
    void setDirty(bool flag = true) override { CControl::setDirty(flag); }
    // The page's editor, else the frame's.
    TesselFrameLink* getEditor() override;

    // Page coordinates.
    virtual void onMouseWheel(int32_t x, int32_t y, float distance);
    virtual int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons);
    virtual int32_t onKeyEvent(const TesselKeyEvent& key);
    // Whether the page takes the keys now; popup pages answer with their shown flag.
    virtual bool wantsKeys() = 0;
    // The pattern editor page's; 0 without one.
    virtual int32_t getCurrentPattern();
    virtual int32_t getCurrentOrder();
    virtual int32_t getCurrentRow();

    // Frame coordinates, edges included.
    bool isInside(const CPoint& point) const { return point.isInside(size); }
    void setFocused(bool flag);
    bool isFocused() const { return focused; }
    bool isShown() const { return shown; }
    void setShown(bool flag) { shown = flag; }
    bool isDragging() const { return dragging; }

    int32_t getOctave() const;
    int32_t getCurrentInstrument() const;
    int32_t getCurrentSample() const;
    TesselPreferences& getPreferences() const;
    // 0..8 becomes the editor's octave; the pattern editor shows the octave either way.
    void setOctave(int32_t octave);
    void selectInstrument(int32_t number);
    bool isSidePage(const TesselUI* page) const;
    void moveSidePages(const CRect& rect);
    // Draws a page at once: the toolbar in its frame, others buffered.
    void redrawNow(TesselUI* page);
    // Draws `page` over `pageUnder` into the shared offscreen and copies it
    // to the window context (stretched twice as large at double size).
    static void drawBuffered(TesselUI* page, CDrawContext* windowContext, TesselUI* pageUnder, bool doubleSize);
    // Called on the page under: the pattern editor's status strip, the help
    // page when shown and the Caps Lock indicator.
    void drawOverlays(CDrawContext* context);

    // The page owns the drop list from now on and releases it when it goes;
    // the list's popup opens over this page.
    void adoptDropList(TesselDropList* list);

    TesselEditorServices* editorServices() const { return editor; }
    TesselEngine* getEngine() const { return engine; }
    TesselModule* getSong() const { return song; }

protected:
    // Window pixels per page pixel in the frame that shows the page.
    int32_t pageScale();
    CFrame2* frame2() const;

    OMBRIX::iDATA dataRecord{0.0f};
    OMBRIX::iCURSOR cursorRecord;
    bool focused = false;
    bool dragging = false;
    bool draggable = true;
    // Set by the toolbar page: its strip's page buttons switch pages.
    bool toolbarStrip = false;
    // True for the one mouse call in which a button went down.
    bool freshPress = false;
    TesselPlugin* plugin = nullptr;
    TesselEngine* engine = nullptr;
    TesselEditorServices* editor;
    TesselModule* song = nullptr;
    std::vector<TesselDropList*> dropLists;
    // Popup pages: shown over the pattern editor.
    bool shown = false;
    int32_t lastButtons = 0;
    CRect initialSize;
    CBitmap* closeBox;
    std::unique_ptr<CDrawContext> offscreen;

private:
    // Steps of the mouse handler; each true when the call ends there.
    void switchFromToolbar(const CPoint& pagePoint);
    bool forwardToDraggingPatternEditor(CDrawContext* context, CPoint& where, int32_t buttons);
    bool forwardToHelpPage(CDrawContext* context, CPoint& where, int32_t buttons);
    bool hitCloseBox(const CPoint& pagePoint, int32_t buttons) const;
    bool dragByTitle(const CPoint& pagePoint, int32_t buttons);
    void warpPointerTo(const CPoint& framePoint);
};
