#pragma once
// An editor without a window for the shell's own tests (the real one is the
// editor subsystem's): a size and a usage log, whose file goes with it.

#include "plugin/plugin_editor.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "shell/usage_log.h"

#include <cstdio>

class PlainEditor : public AEffEditor, public TesselPluginEditor {
public:
    static constexpr int16_t kWidth = 800;
    static constexpr int16_t kHeight = 26;

    explicit PlainEditor(TesselPlugin& plugin) : AEffEditor(&plugin)
    {
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

    bool getRect(ERect** out) override
    {
        *out = &rect_;
        return true;
    }
    AEffEditor& vst2Editor() override { return *this; }
    bool isOpen() const override { return false; }

    static TesselPluginEditor* make(TesselPlugin& plugin, audioMasterCallback /*host*/)
    {
        return new PlainEditor(plugin);
    }

private:
    ERect rect_{0, 0, kHeight, kWidth};
    TesselUsageLog log_;
};
