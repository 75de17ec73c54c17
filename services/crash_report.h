#pragma once
// The two files a crash leaves behind. Both writers run inside a signal
// handler and use only async-signal-safe calls.

#include <csignal>

namespace services {

struct CrashContext {
    char reportPath[1024] = {};
    char dumpPath[1024] = {};
    char programPath[1024] = {};
    char userName[256] = {};
    int processors = 0;
    long memoryMegabytes = 0;
    bool haveFolder = false;
};

// Appends the text report once per process; later calls write nothing.
void writeExceptionReport(const CrashContext& context, int signal, siginfo_t* info, void* ucontext);
// Replaces the dump: the signal record, the registers, the memory map and the
// faulting thread's stack. True when the file was written whole.
bool writeDump(const CrashContext& context, int signal, siginfo_t* info, void* ucontext);

} // namespace services
