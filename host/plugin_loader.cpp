#include "host/plugin_loader.h"

#include "host/host_callback.h"

#include <cstdio>
#include <dlfcn.h>

namespace host {

const char kPluginFileName[] = "Quorbel.so";

namespace {

constexpr size_t kTextSize = 256;

VstIntPtr dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

const char* canDoAnswer(VstIntPtr answer)
{
    switch (answer) {
    case 1: return "yes";
    case -1: return "definitely not!";
    case 0: return "don't know";
    default: return "?????";
    }
}

void dumpProperties(AEffect* effect)
{
    std::printf("HOST> Gathering properties...\n");
    char name[kTextSize] = {}, vendor[kTextSize] = {}, product[kTextSize] = {};
    dispatch(effect, effGetEffectName, 0, 0, name);
    dispatch(effect, effGetVendorString, 0, 0, vendor);
    dispatch(effect, effGetProductString, 0, 0, product);
    name[kTextSize - 1] = vendor[kTextSize - 1] = product[kTextSize - 1] = '\0';
    std::printf("Name = %s\nVendor = %s\nProduct = %s\n\n", name, vendor, product);
    std::printf("numPrograms = %d\nnumParams = %d\nnumInputs = %d\nnumOutputs = %d\n\n", effect->numPrograms,
                effect->numParams, effect->numInputs, effect->numOutputs);

    for (int32_t i = 0; i < effect->numPrograms; ++i) {
        char text[kTextSize] = {};
        if (dispatch(effect, effGetProgramNameIndexed, i, 0, text) == 0) {
            dispatch(effect, effSetProgram, 0, i);
            dispatch(effect, effGetProgramName, 0, 0, text);
        }
        text[kTextSize - 1] = '\0';
        std::printf("Program %03d: %s\n", i, text);
    }
    std::printf("\n");

    for (int32_t i = 0; i < effect->numParams; ++i) {
        char paramName[kTextSize] = {}, label[kTextSize] = {}, display[kTextSize] = {};
        dispatch(effect, effGetParamName, i, 0, paramName);
        dispatch(effect, effGetParamLabel, i, 0, label);
        dispatch(effect, effGetParamDisplay, i, 0, display);
        paramName[kTextSize - 1] = label[kTextSize - 1] = display[kTextSize - 1] = '\0';
        const float value = effect->getParameter ? effect->getParameter(effect, i) : 0.0f;
        std::printf("Param %03d: %s [%s %s] (normalized = %f)\n", i, paramName, display, label, value);
    }
    std::printf("\n");

    for (const char* canDo : {"receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames"}) {
        std::printf("Can do %s... ", canDo);
        std::printf("%s\n", canDoAnswer(dispatch(effect, effCanDo, 0, 0, const_cast<char*>(canDo))));
    }
    std::printf("\n");
}

} // namespace

std::string defaultPluginPath(const std::string& executablePath)
{
    const size_t slash = executablePath.rfind('/');
    if (slash != std::string::npos) {
        std::string beside = executablePath.substr(0, slash + 1) + kPluginFileName;
        if (FILE* f = std::fopen(beside.c_str(), "rb")) {
            std::fclose(f);
            return beside;
        }
    }
    return kPluginFileName;
}

bool loadPlugin(HostState& state, const std::string& path)
{
    std::printf("HOST> Load library...\n");
    state.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!state.library) {
        const char* reason = dlerror();
        std::printf("Failed to load VST Plugin library!\n");
        std::fprintf(stderr, "Host: cannot load the plug-in %s: %s\n", path.c_str(), reason ? reason : "");
        return false;
    }
    void* entry = dlsym(state.library, "VSTPluginMain");
    if (!entry)
        entry = dlsym(state.library, "main");
    if (!entry) {
        std::printf("VST Plugin main entry not found!\n");
        std::fprintf(stderr, "Host: %s has no VST 2 entry (VSTPluginMain or main)\n", path.c_str());
        return false;
    }
    std::printf("HOST> Create effect...\n");
    AEffect* effect = reinterpret_cast<VstPluginMainProc>(entry)(hostCallback);
    if (!effect || effect->magic != kEffectMagic || !effect->dispatcher) {
        std::printf("Failed to create effect instance!\n");
        std::fprintf(stderr, "Host: the plug-in %s did not create an effect\n", path.c_str());
        return false;
    }
    state.effect = effect;
    std::printf("HOST> Init sequence...\n");
    dispatch(effect, effOpen);
    dumpProperties(effect);
    std::fflush(stdout);
    return true;
}

void closePlugin(HostState& state)
{
    if (!state.effect)
        return;
    dispatch(state.effect, effClose);
    state.effect = nullptr;
}

} // namespace host
