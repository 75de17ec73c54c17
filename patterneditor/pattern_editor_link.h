#pragma once
// What the pattern editor page asks of the editor beyond the page base's
// services: help pages, the instrument's page, the editor window's timer,
// state and pointer, the playing position and the overlays that slide over
// the page. The editor gives the page one; without an editor (tests) these
// defaults answer.

#include "platform/graphics/geometry.h"

#include <cstdint>

class TesselPatternEditorLink {
public:
    virtual ~TesselPatternEditorLink() = default;

    // A page of the help file in the help viewer, or in the help popup at a
    // screen point.
    virtual void openHelpPage(const char* name) { (void)name; }
    virtual void showHelpPopup(const char* name, int32_t x, int32_t y)
    {
        (void)name;
        (void)x;
        (void)y;
    }
    // Screen position of the page's top-left corner.
    virtual platform::Point pageOrigin() const { return {}; }
    // The instrument on the instrument list page, or its first sample on the
    // sample list page when that is the page of the editor's sample mode;
    // the page becomes current.
    virtual void showInstrumentPage(int32_t instrument) { (void)instrument; }

    // The editor window: maximised, its client size, the own stand-alone host.
    virtual bool windowMaximised() const { return false; }
    virtual platform::Point clientSize() const { return {0, 0}; }
    virtual bool inOwnHost() const { return false; }
    // Timer 3 of the editor window (100 ms): the page's timed command.
    virtual bool commandTimerRunning() const { return false; }
    virtual void setCommandTimer(bool on) { (void)on; }
    // A block drag's cursor and help line, and the arrow back after it.
    virtual void updateDragCursor() {}
    virtual void endDragCursor() {}
    // The order, pattern and row being played; -1 when none.
    virtual void playingPosition(int32_t& order, int32_t& pattern, int32_t& row) const
    {
        order = pattern = row = -1;
    }
    // The help page or the splash slides: the page redraws on every pass.
    virtual bool overlaySliding() const { return false; }
    // The splash covers the page (more than half opaque); a press starts
    // its fade-out.
    virtual bool splashCovers() const { return false; }
    virtual void fadeSplash() {}
    // The Shift key is held now.
    virtual bool shiftHeld() const { return false; }

    // The editor's global commands (file, playback, octave, pages); false
    // when the id is none of them.
    virtual bool executeCommand(int32_t id)
    {
        (void)id;
        return false;
    }
    // What the window buttons do: keep the editor window above the others,
    // maximise or restore it, hide it, toggle manual key mode, link it to
    // the host's window, send feedback.
    virtual void setAlwaysOnTop(bool on) { (void)on; }
    virtual void setWindowMaximised(bool on) { (void)on; }
    virtual void hideEditorWindow() {}
    virtual void toggleKeyMode() {}
    virtual void setWindowsLinked(bool on) { (void)on; }
    virtual void sendFeedback() {}
    // The window manager moves the editor window with the pointer, from
    // where the pointer is now until the button is let go.
    virtual void dragEditorWindow() {}
    // The status strip: the logo that opens the product's web page, and the
    // help page it shows or hides.
    virtual bool showsLogo() const { return false; }
    virtual void openWebPage() {}
    virtual void toggleHelpPage() {}
};
