#pragma once
// What the frames and controls need of the editor, declared here so that the
// toolkit does not depend on it: the key road, the key mode, the double-size
// setting, the pattern editor's redraw, the modal-popup bracket and the paced
// idle. The editor implements it.

#include "platform/key_event.h"

#include <cstdint>

namespace VSTGUI {
class CFrame;
}

class TesselFrameLink {
public:
    // The editor's key road; a key reaches it only when it has a virtual key
    // or a character.
    virtual void handleKeyDown(const TesselKeyEvent& key) = 0;
    virtual void handleKeyUp(const TesselKeyEvent& key) = 0;
    // In manual key mode the editor's key filter takes the keys and a
    // frame's window drops them.
    virtual bool manualKeyMode() const = 0;
    // Pages are drawn at twice their size in the editor window.
    virtual bool doubleSize() const = 0;
    // The pattern editor page redraws all of itself at the next idle.
    virtual void redrawPatternEditor() = 0;

    // True while a modal popup (menu, dialog, help popup) is up; no second
    // one opens then. beginPopup and endPopup bracket each.
    virtual bool popupActive() const { return false; }
    virtual void beginPopup() {}
    virtual void endPopup() {}
    // The editor base's doIdleStuff: at most one idle pass per 100 ms.
    virtual void doIdleStuff() {}
    // The editor window's frame holding the pages, where a page's popup opens
    // when the page itself has no frame; null while there is none.
    virtual VSTGUI::CFrame* pagesFrame() { return nullptr; }
    // The usage log's focus record of the current page, as a popup opens.
    virtual void logCurrentFocus() {}

protected:
    ~TesselFrameLink() = default;
};
