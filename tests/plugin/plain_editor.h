#pragma once
// An editor without a window for the shell's own tests (the real one is the
// editor subsystem's): a size and a usage log, whose file goes with it.

#include "plugin/plugin_editor.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "shell/usage_log.h"

#include <cstdio>

class PlainEditor : public TesselPluginEditor {
public:
    static constexpr int16_t kWidth = 800;
    static constexpr int16_t kHeight = 26;

    explicit PlainEditor(TesselPlugin& plugin) : TesselPluginEditor(&plugin)
    {
        rect = ERect{0, 0, kHeight, kWidth};
        char vendor[64] = {};
        char product[64] = {};
        plugin.getVendorString(vendor);
        plugin.getProductString(product);
        const TesselHostIdentity& host = hostIdentity();
        log_.open({host.vendor, host.product, host.vendorVersion, vendor, product, plugin.getVendorVersion()});
        setUsageLog(&log_);
    }
    ~PlainEditor() override
    {
        setUsageLog(nullptr);
        if (!log_.path().empty())
            std::remove(log_.path().c_str());
    }

    static TesselPluginEditor* make(TesselPlugin& plugin, audioMasterCallback /*host*/)
    {
        return new PlainEditor(plugin);
    }

private:
    TesselUsageLog log_;
};
