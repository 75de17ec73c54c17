#include "host/host_callback.h"

#include "host/host_state.h"

#include <cstdio>
#include <cstring>

namespace host {

const char kHostVendor[] = "Quorbel Project";
const char kHostProduct[] = "Quorbel Host";

namespace {

void copyString(void* ptr, const char* text, size_t size)
{
    if (!ptr)
        return;
    auto* out = static_cast<char*>(ptr);
    std::strncpy(out, text, size - 1);
    out[size - 1] = '\0';
}

} // namespace

VstIntPtr hostCallback(AEffect*, int32_t opcode, int32_t, VstIntPtr, void* ptr, float)
{
    HostState* state = hostState();
    switch (opcode) {
    case audioMasterVersion:
        return kHostVstVersion;
    case audioMasterIdle:
        if (state && !state->idlePrinted.exchange(true)) {
            std::printf("(Future idle calls will not be displayed!)\n");
            std::fflush(stdout);
        }
        return 0;
    case audioMasterGetTime:
        return state ? reinterpret_cast<VstIntPtr>(&state->timeInfo) : 0;
    case audioMasterSetTime:
        if (state)
            state->timeInfo.flags = kVstTransportChanged;
        return 0;
    case audioMasterGetVendorString:
        copyString(ptr, kHostVendor, kVstMaxVendorStrLen);
        return 0;
    case audioMasterGetProductString:
        copyString(ptr, kHostProduct, kVstMaxProductStrLen);
        return 0;
    case audioMasterGetVendorVersion:
        return state ? vendorVersion(state->hostVersion) : 0;
    default:
        return 0;
    }
}

} // namespace host
