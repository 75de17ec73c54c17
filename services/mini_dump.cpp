#include "services/mini_dump.h"

#include "platform/dialogs/message_box.h"
#include "services/crash_report.h"

#include <cstdio>
#include <ucontext.h>

namespace services {

bool writeMiniDump(const std::string& path)
{
    ucontext_t context;
    getcontext(&context);
    int error = 0;
    const DumpResult result = writeDump(path.c_str(), 0, nullptr, &context, error);
    if (result == DumpResult::Written)
        return true;
    char text[1200];
    std::snprintf(text, sizeof text,
                  result == DumpResult::NotCreated ? "Failed to create dump file '%s' (error %d)"
                                                   : "Failed to save dump file to '%s' (error %d)",
                  path.c_str(), error);
    platform::showMessageBox(text, "Quorbel Error Reporting", platform::kBoxSystemModal | platform::kBoxIconInformation);
    return false;
}

} // namespace services
