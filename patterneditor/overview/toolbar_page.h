#pragma once
// What the editor asks of the toolbar in the host's window, beyond the page
// base: its five page buttons, the editor-window button and the playing
// position texts. The toolbar draws the file message itself.

#include "pagekit/tessel_ui.h"

#include <cstdint>

class TesselToolbarPage : public TesselUI {
public:
    using TesselUI::TesselUI;

    // Down only for the button of this page number (2, 4, 6, 7, 8).
    virtual void showPageButtons(int32_t pageNumber) = 0;
    // Down while the editor window is shown.
    virtual void showWindowButton(bool down) = 0;
    // The row and order texts follow playback.
    virtual void refreshPosition() = 0;
};
