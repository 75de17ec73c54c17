#pragma once
// The crash filter: on a fatal signal in the process (an access violation, a
// bus error, an arithmetic or illegal-instruction fault) it writes an
// exception report "Quorbel.err" and a dump "Quorbel.dmp" into the private
// temporary folder, flushes the usage log, and hands the signal on to the
// handler that was installed before it. Everything it does inside the handler
// is async-signal-safe; paths and system facts are gathered at installation.
//
// Unlike a structured-exception filter, a Linux signal handler cannot safely
// resume the faulting call, so the process ends as the previous handler (or
// the default action) decides.

#include <csignal>

namespace services {

// Runs inside the signal handler after the files are written; must itself be
// async-signal-safe (open/write/close only).
using CrashFlushHook = void (*)();

// Installs the filter for SIGSEGV, SIGBUS, SIGFPE and SIGILL on an alternate
// stack, remembering the handlers it replaces. True when installed.
bool installCrashFilter(CrashFlushHook flush);
// Puts the remembered handlers back.
void removeCrashFilter();

// The handler's work: 1 when the dump was written, 0 when not or on any call
// after the first in this process.
int crashFilter(int signal, siginfo_t* info, void* context);

// The report's name for a signal and its code, e.g. "an Access Violation".
const char* exceptionName(int signal, int code);

} // namespace services
