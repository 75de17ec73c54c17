#pragma once
// The module file commands and what they ask and tell the user: New erases
// the song, Open stops it and loads a file (offering to save an edited song
// first), Save writes the song's own file or asks for one, and the quit
// question of the stand-alone host. It keeps the file selectors' default
// folders (modules, samples, instruments), which the preferences start and
// save. Each command reports on the status line and the toolbar's file
// message; its dialogs stand over the editor window as popups.
//
// GUI thread only.

#include "vst2/quit_question.h"

#include <cstdint>
#include <string>

class TesselEditor;
class TesselEngine;
namespace platform {
class Dialogs;
}

class TesselFileCommands {
public:
    explicit TesselFileCommands(TesselEditor& editor);

    void newModule();
    void openModule();
    // saveAs 0 updates the song's file when it has one.
    void saveModule(int32_t saveAs);
    // Before an edited song is replaced: asks whether to save it first. True
    // to go on (saved, or its edits let go), false to keep everything as is
    // (Cancel, or a save that did not happen).
    bool offerToSaveChanges(const char* caption);
    // The stand-alone host quits: the same question when the song was edited.
    VstIntPtr answerQuitQuestion();

    std::string& moduleFolder() { return moduleFolder_; }
    std::string& sampleFolder() { return sampleFolder_; }
    std::string& instrumentFolder() { return instrumentFolder_; }

private:
    platform::Dialogs* dialogs() const;
    bool askYesNo(const char* text, const char* caption);
    // A box with OK, for what the user must know of.
    void tell(const char* text, const char* caption);
    // kAnswerYes, kAnswerNo or kAnswerCancel (also without a dialogs service).
    int32_t askYesNoCancel(const char* text, const char* caption);
    // After a load: the status line, and a box naming unread samples.
    void tellUnreadSamples();
    // The chosen module file's path; false when cancelled.
    bool chooseModuleFile(bool save, std::string& path);
    void keepModuleFolder(const std::string& path);
    bool saveSongTo(std::string& path);

    TesselEditor& editor_;
    TesselEngine& engine_;
    std::string moduleFolder_, sampleFolder_, instrumentFolder_;
};
