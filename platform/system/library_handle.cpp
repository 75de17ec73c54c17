#include "platform/system/library_handle.h"

#include <cstdio>
#include <dlfcn.h>

namespace platform {
namespace {

Dl_info ownInfo()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&libraryHandle), &info))
        info = Dl_info{};
    return info;
}

} // namespace

uintptr_t libraryHandle()
{
    return reinterpret_cast<uintptr_t>(ownInfo().dli_fbase);
}

std::string libraryPath()
{
    const Dl_info info = ownInfo();
    return info.dli_fname ? std::string(info.dli_fname) : std::string();
}

std::string handleName(const char* prefix)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%llX", prefix, static_cast<unsigned long long>(libraryHandle()));
    return name;
}

} // namespace platform
