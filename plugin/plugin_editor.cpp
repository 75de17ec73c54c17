#include "plugin/plugin_editor.h"

#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"

#include <cstdio>

TesselPlainEditor::TesselPlainEditor(TesselPlugin& plugin, audioMasterCallback /*host*/)
    : TesselPluginEditor(&plugin)
{
    rect = ERect{0, 0, kHeight, kWidth};
    const TesselHostIdentity& host = hostIdentity();
    TesselLogIdentity identity;
    identity.hostVendor = host.vendor;
    identity.hostProduct = host.product;
    identity.hostVersion = host.vendorVersion;
    char text[64] = {};
    plugin.getVendorString(text);
    identity.pluginVendor = text;
    plugin.getProductString(text);
    identity.pluginProduct = text;
    identity.pluginVersion = plugin.getVendorVersion();
    log_.open(identity);   // records are kept in memory when the file cannot be written
    setUsageLog(&log_);
}

TesselPlainEditor::~TesselPlainEditor()
{
    setUsageLog(nullptr);
    if (!log_.path().empty())
        std::remove(log_.path().c_str());
}

TesselPluginEditor* makePluginEditor(TesselPlugin& plugin, audioMasterCallback host)
{
    try {
        if (TesselPluginEditor::maker)
            return TesselPluginEditor::maker(plugin, host);
        return new TesselPlainEditor(plugin, host);
    } catch (...) {
        return nullptr;
    }
}
