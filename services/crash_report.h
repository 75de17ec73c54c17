#pragma once
// The two files a crash leaves behind. Both writers run inside a signal
// handler and use only async-signal-safe calls.

#include <csignal>

namespace services {

struct CrashContext {
    char reportPath[1024] = {};
    char dumpPath[1024] = {};
    char pendingPath[1024] = {};
    char programPath[1024] = {};
    char userName[256] = {};
    int processors = 0;
    long memoryMegabytes = 0;
    bool haveFolder = false;
};

// Appends the text report once per process; later calls write nothing.
void writeExceptionReport(const CrashContext& context, int signal, siginfo_t* info, void* ucontext);
enum class DumpResult { Written, NotCreated, NotWritten };

// Replaces the dump at `path`: the signal record (none: signal 0), the
// registers, the memory map and the stack of the thread whose context is
// given. `error` receives errno on failure.
DumpResult writeDump(const char* path, int signal, siginfo_t* info, void* ucontext, int& error);

} // namespace services
