#pragma once
// The plug-in's editor as the plug-in object and the engine see it. The
// editor subsystem derives its editor from TesselPluginEditor and installs
// its maker at load; until then the plug-in builds TesselPlainEditor, which
// has a size and a usage log but no window, so the plug-in constructs,
// plays and saves without one.

#include "engine/engine_links.h"
#include "plugin/editor_base.h"
#include "plugin/usage_log.h"

class TesselPlugin;

class TesselPluginEditor : public AEffGUIEditor, public TesselEditorLink {
public:
    using AEffGUIEditor::AEffGUIEditor;
    ~TesselPluginEditor() override = default;

    // Null, or throws, when the editor cannot be built: the plug-in then
    // reports a construction failure.
    using Maker = TesselPluginEditor* (*)(TesselPlugin& plugin, audioMasterCallback host);
    static inline Maker maker = nullptr;
};

class TesselPlainEditor : public TesselPluginEditor {
public:
    // The toolbar's size until there is a toolbar bitmap.
    static constexpr int16_t kWidth = 800;
    static constexpr int16_t kHeight = 26;

    TesselPlainEditor(TesselPlugin& plugin, audioMasterCallback host);
    // Removes the usage log file.
    ~TesselPlainEditor() override;

private:
    TesselUsageLog log_;
};

// The editor the plug-in gets: the installed maker's, else the plain one.
TesselPluginEditor* makePluginEditor(TesselPlugin& plugin, audioMasterCallback host);
