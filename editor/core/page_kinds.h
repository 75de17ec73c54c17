#pragma once
// What the editor asks of its own pages beyond the page base. Each page
// derives from its kind here. GUI thread only.

#include "pagekit/tessel_ui.h"
#include "pagekit/page_numbers.h"

#include <cstdint>

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

class TesselSampleListPage : public TesselUI {
public:
    using TesselUI::TesselUI;
    // Makes n (clamped to 1..99) the current sample and, unless keepScroll,
    // scrolls the list to show it.
    virtual void selectSample(int32_t n, bool keepScroll) = 0;
};

class TesselInstrumentListPage : public TesselUI {
public:
    using TesselUI::TesselUI;
    // The list shows the song's first instrument.
    virtual void selectFirstInstrument() = 0;
    // A Shift release: the key map forgets that Shift extends its selection.
    virtual void clearShiftState() = 0;
};

class TesselInfoPage : public TesselUI {
public:
    using TesselUI::TesselUI;
    // Before playback starts or resets: every channel's display starts afresh.
    virtual void resetChannelDisplay() = 0;
    // The playing row or order moved.
    virtual void refresh() = 0;
    // "InfoPage" pressed while this page is current.
    virtual void onPageCommand(int32_t id) = 0;
};

class TesselOrderListPage : public TesselUI {
public:
    using TesselUI::TesselUI;
};

class TesselPreferencesPage : public TesselUI {
public:
    using TesselUI::TesselUI;
    // The keyboard panel is capturing a new shortcut: it takes every key.
    virtual bool keyboardPanelWantsKeys() = 0;
    virtual int32_t keyboardPanelKey(const TesselKeyEvent& key) = 0;
    // The editor window's timer 2, which runs while the panel captures.
    virtual void shortcutTimer() {}
};

// The panel that slides up over the bottom of the editor window.
class TesselHelpPage : public TesselUI {
public:
    using TesselUI::TesselUI;
    // Slides in (or appears at once without animation), or slides out.
    virtual void show(bool show, bool animated) = 0;
    // Sliding out.
    virtual bool isHiding() const = 0;
    // Sliding either way: it draws on every redraw request.
    virtual bool isAnimating() const = 0;
    // Bottom-aligned in the editor window's client area of that size.
    virtual void placeIn(int32_t width, int32_t height) = 0;
};
