#pragma once
// Saves and loads keep their temporary files ("~qrblxml.tmp", "~qrblzip.tmp",
// ...) beside the song, sample or instrument file. While they may exist, a
// note naming that folder lies in the private temporary folder
// ("Quorbel-<pid>-XXXXXX.beside"). A process killed meanwhile leaves the note
// with its files, and a later start removes both, unless a running process
// has a note of the same folder (the names are the same for every process).

#include <string>

class TemporariesNote {
public:
    // Notes the folder of `besidePath`; without a private temporary folder
    // nothing is noted and the work goes on all the same.
    explicit TemporariesNote(const std::string& besidePath);
    ~TemporariesNote();
    TemporariesNote(const TemporariesNote&) = delete;
    TemporariesNote& operator=(const TemporariesNote&) = delete;

private:
    std::string note_;
};

// True for a note's file name.
bool isTemporariesNote(const std::string& name);

// At a start: for each note in `noteFolder` of a process no longer running,
// removes the temporary files from the folder it names and the note; a note
// of a folder that a running process's note names too waits for a later start.
void removeAbandonedTemporaries(const std::string& noteFolder);
