#pragma once
// What the editor's own pages reach beyond the page services: the editor
// (help pages, playback, page switches, its window) and the pattern editor
// page. Both null when the services are not the editor's (a test's fake).

class TesselEditor;
class TesselEditorServices;
class TesselPatternEditorPage;

TesselEditor* owningEditor(TesselEditorServices* services);
TesselPatternEditorPage* patternEditorPage(TesselEditorServices* services);
