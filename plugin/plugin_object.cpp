// Construction, destruction and the plug-in's answers about itself.
#include "plugin/plugin_object.h"

#include "engine/engine_globals.h"
#include "plugin/plugin_editor.h"
#include "plugin/plugin_globals.h"
#include "shell/usage_log.h"
#include "vst2/pin_properties.h"
#include "services/crash_handler.h"
#include "services/leftover_files.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

constexpr const char* kCapabilities[] = {
    "receiveVstTimeInfo", "receiveVstEvents", "receiveVstMidiEvent",
    "sendVstEvents",      "sendVstMidiEvent", "LiveWithoutToolbar",
};

void copyText(char* to, const char* text, size_t size)
{
    std::strncpy(to, text, size - 1);
    to[size - 1] = '\0';
}

} // namespace

TesselPlugin::TesselPlugin(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 0, 0)
{
    pluginInstances().number = ++pluginInstances().count;
    crashFilterInstalled_ = services::installCrashFilter(TesselUsageLog::flushForCrash);
    engine.attachPlugin(this);
    askHostIdentity();
    canProcessReplacing(true);
    programsAreChunks(true);
    cEffect.numInputs = 0;
    cEffect.numOutputs = 2;
    allocateArrangement(&inputArrangement, 0);
    if (inputArrangement)
        inputArrangement->type = kSpeakerArrEmpty;
    allocateArrangement(&outputArrangement, 2);
    if (outputArrangement)
        outputArrangement->type = kSpeakerArrStereo;
    noteOutputArrangement();
    hasVu(true);
    isSynth(true);
    setUniqueID(kQuorbelUniqueId);
    editor = nullptr;
    // Before this process adds its own: what ended copies left behind goes.
    services::removeLeftoverFiles();
    if (pluginInstances().number == 1)
        makeEditor(audioMaster);
    setBlockSize(getBlockSize());
    TesselPlugin::setSampleRate(sampleRate);
    hostIdentity().positionOffset = strcasecmp(hostIdentity().vendor, "emagic") == 0 ? 160.0 : 0.0;
    wantEvents(1);
}

void TesselPlugin::askHostIdentity()
{
    TesselHostIdentity& host = hostIdentity();
    // The host writes at most 64 characters; the rest of each buffer stays clear.
    std::memset(host.vendor, 0, sizeof host.vendor);
    std::memset(host.product, 0, sizeof host.product);
    getHostVendorString(host.vendor);
    getHostProductString(host.product);
    host.vendor[sizeof host.vendor - 1] = '\0';
    host.product[sizeof host.product - 1] = '\0';
    host.vendorVersion = getHostVendorVersion();
}

void TesselPlugin::makeEditor(audioMasterCallback audioMaster)
{
    pluginEditor_ = makePluginEditor(*this, audioMaster);
    if (!pluginEditor_) {
        // A half-built editor may have registered itself before it failed.
        editor = nullptr;
        cEffect.flags &= ~effFlagsHasEditor;
        pluginInstances().constructionFailed = true;
        return;
    }
    editor = &pluginEditor_->vst2Editor();
    cEffect.flags |= effFlagsHasEditor;
    engine.editor = pluginEditor_;
}

TesselPlugin::~TesselPlugin()
{
    // The data exports must not reach this engine once it starts going.
    TesselEngine* self = &engine;
    pluginInstances().running.compare_exchange_strong(self, nullptr);
    --pluginInstances().count;
    deallocateArrangement(&inputArrangement);
    deallocateArrangement(&outputArrangement);
    noteOutputArrangement();
    if (crashFilterInstalled_)
        services::removeCrashFilter();
    engine.editor = nullptr;
    delete pluginEditor_;
    pluginEditor_ = nullptr;
    editor = nullptr;
    freeChunk();
}

bool TesselPlugin::getOutputProperties(VstInt32 index, VstPinProperties* properties)
{
    if (!properties || !outputArrangement || index < 0 || index >= outputArrangement->numChannels)
        return false;
    copyText(properties->label, "Main Output", sizeof properties->label);
    properties->flags = kVstPinIsActive | kVstPinUseSpeaker;
    properties->arrangementType = kSpeakerArrStereo;
    return true;
}

VstInt32 TesselPlugin::canHostDo(char* text)
{
    if (text && (std::strcmp(text, "openFileSelector") == 0 || std::strcmp(text, "closeFileSelector") == 0))
        return 0;
    return AudioEffectX::canHostDo(text);
}

intptr_t TesselPlugin::canHostDo(const char* what)
{
    char text[64];
    copyText(text, what ? what : "", sizeof text);
    return canHostDo(static_cast<char*>(text));
}

const char* TesselPlugin::hostVendor() const
{
    return hostIdentity().vendor;
}

bool TesselPlugin::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    if (!input || !output)
        return false;
    matchArrangement(&outputArrangement, output);
    matchArrangement(&inputArrangement, input);
    noteOutputArrangement();
    return true;
}

void TesselPlugin::noteOutputArrangement()
{
    if (!outputArrangement)
        outputChannels_ = -1;
    else
        outputChannels_ = outputArrangement->numChannels > 0 ? outputArrangement->numChannels : 0;
}

bool TesselPlugin::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    if (input)
        *input = inputArrangement;
    if (output)
        *output = outputArrangement;
    return true;
}

bool TesselPlugin::getEffectName(char* name)
{
    if (name)
        copyText(name, kProductName, 32);
    return true;
}

bool TesselPlugin::getProductString(char* text)
{
    if (text)
        copyText(text, kProductName, 64);
    return true;
}

bool TesselPlugin::getVendorString(char* text)
{
    if (text)
        copyText(text, kVendorName, 64);
    return true;
}

VstInt32 TesselPlugin::getVendorVersion()
{
    return static_cast<VstInt32>(engineGlobals().programVersion * 1000.0f + 0.0001f);
}

VstInt32 TesselPlugin::canDo(char* text)
{
    if (!text)
        return 0;
    for (const char* capability : kCapabilities)
        if (std::strcmp(text, capability) == 0)
            return 1;
    return 0;
}

void TesselPlugin::freeChunk()
{
    std::free(chunk_);
    chunk_ = nullptr;
}
