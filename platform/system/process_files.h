#pragma once
// The files one process keeps in the private temporary folder carry its
// process id in their names ("Quorbel-<pid>.log", "chunk-<pid>-XXXXXX", ...),
// so that no copy of the program removes another's, and a later start can
// tell which were left behind by processes that are no longer running.

#include <functional>
#include <string>

namespace platform {

// "Quorbel-<pid>" and the extension (".log", ".ttf", ...).
std::string processFileName(long pid, const char* extension);

// "<stem>-<pid of this process>-XXXXXX": a pattern for mkstemp or mkdtemp.
std::string processFilePattern(const char* stem);

// The process id that a name of the forms above carries; 0 for any other name.
long processOfFileName(const std::string& name);

// True while a process with this id exists (after a restart it may be another
// program that got the id: its files are then left alone all the same).
bool processIsRunning(long pid);

// Removes the files and folders (with what they hold) in `folder` that
// processes no longer running left there, except those `keep` answers true
// for (name, pid). Links are removed, never followed.
void removeFilesOfEndedProcesses(const std::string& folder,
                                 const std::function<bool(const std::string& name, long pid)>& keep);

} // namespace platform
