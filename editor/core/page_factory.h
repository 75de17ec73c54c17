#pragma once
// Where the editor's pages are made: one maker per page, each defined in the
// file of its page. The editor keeps each page for its whole life and
// deletes it with forget().

#include "gui/geometry.h"

class TesselEditor;
class TesselEditorPageServices;
class TesselEditorServices;
class TesselHelpPage;
class TesselInfoPage;
class TesselInstrumentListPage;
class TesselOrderListPage;
class TesselPatternEditorPage;
class TesselPreferencesPage;
class TesselSampleListPage;
class TesselToolbarPage;
class TesselUI;

// `size`: the editor window's client area for the pattern editor, the
// rectangle at (9, 43) of skin 108 for the side pages.
TesselPatternEditorPage* makePatternEditorPage(TesselEditor* editor, const CRect& size);
TesselToolbarPage* makeToolbarPage(TesselEditor* editor);
TesselSampleListPage* makeSampleListPage(TesselEditorPageServices* editor, const CRect& size);
TesselInstrumentListPage* makeInstrumentListPage(TesselEditorPageServices* editor, const CRect& size);
TesselInfoPage* makeInfoPage(TesselEditorPageServices* editor, const CRect& size);
TesselOrderListPage* makeOrderListPage(TesselEditorPageServices* editor, const CRect& size);
TesselPreferencesPage* makePreferencesPage(TesselEditorPageServices* editor, const CRect& size);
TesselHelpPage* makeHelpPage(TesselEditorPageServices* editor);
// The pattern editor's overview panel (a popup page over the grid).
TesselUI* makeOverviewPanel(TesselEditorServices* editor);
