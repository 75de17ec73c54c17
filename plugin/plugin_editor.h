#pragma once
// The plug-in's editor as the plug-in object and the engine see it. The
// editor layer derives its editor from TesselPluginEditor and the library's
// load-time set-up installs its maker and hooks; the plug-in object knows no
// toolkit, so it reaches the VST 2 side of the editor through vst2Editor().

#include "engine/engine_links.h"
#include "vst2/effect_editor.h"
#include "vst2/quit_question.h"

class TesselPlugin;

class TesselPluginEditor : public TesselEditorLink {
public:
    TesselPluginEditor() = default;
    virtual ~TesselPluginEditor() = default;
    TesselPluginEditor(const TesselPluginEditor&) = delete;
    TesselPluginEditor& operator=(const TesselPluginEditor&) = delete;

    // The editor the effect's dispatcher talks to; the same object.
    virtual AEffEditor& vst2Editor() = 0;
    // The editor has its window open (a message box may then be shown over it).
    virtual bool isOpen() const = 0;
    // The stand-alone host is about to quit: a QuitAnswer.
    virtual VstIntPtr answerQuitQuestion() { return kQuitNothingLost; }

    // Null, or throws, when the editor cannot be built: the plug-in then
    // reports a construction failure.
    using Maker = TesselPluginEditor* (*)(TesselPlugin& plugin, audioMasterCallback host);
    static inline Maker maker = nullptr;
    // A song from the host's session is about to load (called whether or not
    // an editor exists): the editor layer shows it from the pattern editor page.
    static inline void (*songFromHost)() = nullptr;
};

// The installed maker's editor; null without a maker or when it fails.
TesselPluginEditor* makePluginEditor(TesselPlugin& plugin, audioMasterCallback host);
