#pragma once
// The crash filter: on a fatal signal in the process (an access violation, a
// bus error, an arithmetic or illegal-instruction fault) it writes an
// exception report "Quorbel-<pid>.err" and a dump "Quorbel-<pid>.dmp" into
// the private temporary folder, flushes the usage log, and hands the signal on to the
// handler that was installed before it. Everything it does inside the handler
// is async-signal-safe; paths and system facts are gathered at installation.
//
// Unlike a structured-exception filter, a Linux signal handler cannot safely
// resume the faulting call, so the process ends as the previous handler (or
// the default action) decides. The report dialog therefore runs in the next
// editor: the handler writes a pending mark "Quorbel-<pid>.pending" last,
// once the other files are whole (services/pending_report.h claims it). The
// files carry the process id: copies of the program side by side share the
// temporary folder, and one copy's crash must not replace another's.
//
// A second thread that faults while the first writes waits for the files
// (at most kConcurrentFaultWaitMs) before it passes its signal on, since
// passing on usually ends the process.

#include <csignal>
#include <string>

namespace services {

// Runs inside the signal handler after the files are written; must itself be
// async-signal-safe (open/write/close only).
using CrashFlushHook = void (*)();

constexpr int kConcurrentFaultWaitMs = 5000;
constexpr const char* kCrashReportExtension = ".err";
constexpr const char* kCrashDumpExtension = ".dmp";
constexpr const char* kPendingMarkExtension = ".pending";

// "Quorbel-<pid>" and the extension: a crash's file of that process.
std::string crashFileName(long pid, const char* extension);

// Installs the filter for SIGSEGV, SIGBUS, SIGFPE and SIGILL on an alternate
// stack, remembering the handlers it replaces; counts the callers (one per
// plug-in instance). True when installed.
bool installCrashFilter(CrashFlushHook flush);
// The last caller's removal puts the remembered handlers back, for each
// signal whose handler is still the filter's (a handler installed over it
// by someone else stays).
void removeCrashFilter();

// The handler's work: 1 when the dump was written, 0 when not or on any call
// after the first in this process.
int crashFilter(int signal, siginfo_t* info, void* context);

// The report's name for a signal and its code, e.g. "an Access Violation".
const char* exceptionName(int signal, int code);

} // namespace services
