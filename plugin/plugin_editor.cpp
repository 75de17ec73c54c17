#include "plugin/plugin_editor.h"

TesselPluginEditor* makePluginEditor(TesselPlugin& plugin, audioMasterCallback host)
{
    try {
        return TesselPluginEditor::maker ? TesselPluginEditor::maker(plugin, host) : nullptr;
    } catch (...) {
        return nullptr;
    }
}
