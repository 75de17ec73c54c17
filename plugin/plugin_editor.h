#pragma once
// The plug-in's editor as the plug-in object and the engine see it. The
// editor subsystem derives its editor from TesselPluginEditor and the
// library's load-time set-up installs its maker.

#include "engine/engine_links.h"
#include "gui/editor_base.h"
#include "vst2/quit_question.h"

class TesselPlugin;

class TesselPluginEditor : public AEffGUIEditor, public TesselEditorLink {
public:
    using AEffGUIEditor::AEffGUIEditor;
    ~TesselPluginEditor() override = default;

    // The stand-alone host is about to quit: a QuitAnswer.
    virtual VstIntPtr answerQuitQuestion() { return kQuitNothingLost; }

    // Null, or throws, when the editor cannot be built: the plug-in then
    // reports a construction failure.
    using Maker = TesselPluginEditor* (*)(TesselPlugin& plugin, audioMasterCallback host);
    static inline Maker maker = nullptr;
};

// The installed maker's editor; null without a maker or when it fails.
TesselPluginEditor* makePluginEditor(TesselPlugin& plugin, audioMasterCallback host);
