#pragma once
// The choice box a page pops over itself (the sample page's normalise
// choice, the instrument page's swap): the in-page popup with keys. Escape
// closes it without a choice; other keys go to its buttons, whose choice
// becomes the result (the button's text in text mode, else its index);
// Enter then closes it with that choice.

#include "pagekit/tessel_popup.h"
#include "platform/key_event.h"

class TesselOverlayMenu : public TesselPopup {
public:
    // True when Enter closed the box with a choice.
    bool onKey(const TesselKeyEvent& key);
    // The popup; in number mode a chosen number that changed is logged,
    // once a first one has been seen.
    void draw(VSTGUI::CDrawContext* context, bool focused);

private:
    bool seenFirst_ = false;
};
