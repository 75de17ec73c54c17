#pragma once
// The pattern options panel as the pattern editor page uses it: opened over
// the page for the current pattern, it takes keys and clicks while shown and
// reports with a key result of 1 that its values are to be applied
// (pattern_options_ui.h).

#include "pagekit/tessel_ui.h"

#include <cstdint>
#include <functional>
#include <string>

class TesselPattern;

struct TesselPatternValues {
    std::string label;
    int32_t minorStep = 4;
    int32_t majorStep = 16;
    int32_t length = 64;
};

class TesselPatternOptions : public TesselUI {
public:
    using TesselUI::TesselUI;

    // Shown at (x, y) with the pattern's values.
    virtual void open(int32_t x, int32_t y, TesselPattern* pattern) = 0;
    // The panel holds values to apply (it was opened).
    virtual bool holdsValues() const = 0;
    virtual TesselPatternValues values() const = 0;
    // A press of the mouse goes to the panel first.
    virtual bool wantsMouse() const { return isShown(); }
    // How the panel opens a page of the help file.
    void setHelpOpener(std::function<void(const char*)> opener) { openHelp = std::move(opener); }

protected:
    std::function<void(const char*)> openHelp;
};

TesselPatternOptions* makePatternOptions(TesselEditorServices* editor);
