// The module file commands themselves: erase, open, save and the questions
// before an edited song is replaced.

#include "editor/core/tessel_editor.h"
#include "editor/file_commands/file_commands.h"
#include "engine/engine.h"
#include "engine/song_files/module_file.h"
#include "patterneditor/pattern_editor_page.h"
#include "model/sample/unread_samples.h"
#include "platform/dialogs/dialogs.h"
#include "platform/status_text.h"

#include <filesystem>

namespace {

constexpr int kLoadFailed = 0;
constexpr int kLoadedNothing = 1;
constexpr const char* kSaveChangesQuestion = "Save changes to the current module?";

void report(const char* text)
{
    platform::setFileMessage(text);
    platform::setStatusText(text);
}

// A loaded song opens where it starts: at the pattern of its current order
// entry (its first), so that the order readout shows that entry; pattern 0
// when the entry holds none.
int32_t firstPatternShown(const TesselModule& song, int32_t order)
{
    if (order < 0 || order >= kOrderEntries)
        return 0;
    const int32_t pattern = song.orderList.entries[static_cast<size_t>(order)].pattern;
    return pattern >= 0 && pattern < kPatterns ? pattern : 0;
}

bool somethingAt(const std::string& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found && !error;
}

} // namespace

void TesselFileCommands::newModule()
{
    if (!askYesNo("This will erase all patterns, samples and instruments. Are you sure?", "New..."))
        return;
    if (editor_.patternEditorPage())
        editor_.patternEditorPage()->resetView();
    // Without the song lock nothing was erased, and nothing says it was.
    if (!engine_.newSong())
        return;
    engine_.song.markUnedited();
    if (editor_.patternEditorPage())
        editor_.patternEditorPage()->rebuild();
    if (editor_.currentPage())
        editor_.currentPage()->setDirty();
    report("Module erased.");
    editor_.usageLog().logCommand(kCmdNewModule, 0);
}

void TesselFileCommands::openModule()
{
    // Asked before anything stops, so that Cancel leaves the song playing.
    if (!offerToSaveChanges("Open Module..."))
        return;
    engine_.stopNow();
    if (engine_.transport != kStoppedCut) {
        platform::setStatusText("Error: You cannot load a module while Quorbel is playing.");
        return;
    }
    std::string path;
    if (!chooseModuleFile(false, path)) {
        report("Loading... cancelled.");
        return;
    }
    platform::setFileMessage("Loading...");
    editor_.drawToolbarNow();
    if (editor_.patternEditorPage())
        editor_.patternEditorPage()->resetView();
    const int result = engine_.loadModule(path);
    if (result == kLoadFailed) {
        report("Loading... failed.");
    } else if (result == kLoadedNothing) {
        platform::setFileMessage("Loading... error.");
    } else {
        engine_.song.markUnedited();
        platform::setFileMessage("Loading... complete.");
        tellUnreadSamples();
        if (editor_.patternEditorPage())
            editor_.patternEditorPage()->goToPattern(firstPatternShown(engine_.song, engine_.currentOrder), true);
        editor_.switchPage(kPatternEditorPage, true);
    }
    editor_.usageLog().logCommand(kCmdLoadModule, result);
    keepModuleFolder(path);
    editor_.drawNow(editor_.currentPage());
}

// The status line after a load, naming the samples whose audio could not be
// read, which a box then tells of as well.
void TesselFileCommands::tellUnreadSamples()
{
    std::string numbers;
    {
        platform::MutexLock lock(engine_.song.songLock(), editLockWaitMs);
        if (lock)
            numbers = unreadSampleNumbers(engine_.song);
    }
    // The line has never had a full stop; one comes before the samples' names.
    const std::string status = "Loading... complete" + (numbers.empty() ? "" : "." + unreadSamplesStatus(numbers));
    platform::setStatusText(status.c_str());
    if (!numbers.empty())
        tell(unreadSamplesMessage(numbers).c_str(), "Open Module...");
}

void TesselFileCommands::saveModule(int32_t saveAs)
{
    // Update the song's own file; a failure asks for another one.
    std::string path = engine_.song.songPath;
    if (!saveAs && !path.empty() && saveSongTo(path)) {
        report("Saving... complete (updated).");
        editor_.drawNow(editor_.currentPage());
        editor_.usageLog().logCommand(kCmdSaveModule, 1);
        return;
    }
    const bool chosen = chooseModuleFile(true, path);
    // The question is about the name that will be written.
    if (chosen)
        path = moduleSavePath(path);
    if (!chosen || (somethingAt(path) && !askYesNo("File already exists. Overwrite?", "Save Module..."))) {
        report("Saving... cancelled.");
        editor_.drawNow(editor_.currentPage());
        return;
    }
    platform::setFileMessage("Saving...");
    editor_.drawToolbarNow();
    const bool saved = saveSongTo(path);
    editor_.usageLog().logCommand(kCmdSaveModule, saved ? 1 : 0);
    report(saved ? "Saving... complete." : "Saving... failed.");
    keepModuleFolder(path);
    editor_.drawNow(editor_.currentPage());
}

bool TesselFileCommands::saveSongTo(std::string& path)
{
    // The engine leaves the old file as it was when it fails.
    if (!engine_.saveModule(path))
        return false;
    platform::MutexLock lock(engine_.song.songLock(), editLockWaitMs);
    if (lock)
        engine_.song.songPath = path;
    engine_.song.markUnedited();
    return true;
}

bool TesselFileCommands::offerToSaveChanges(const char* caption)
{
    if (!engine_.song.edited())
        return true;
    const int32_t answer = askYesNoCancel(kSaveChangesQuestion, caption);
    if (answer == platform::kAnswerNo)
        return true;
    if (answer != platform::kAnswerYes)
        return false;
    // As Ctrl+S: the song's own file, else a name asked for.
    saveModule(0);
    return !engine_.song.edited();
}

VstIntPtr TesselFileCommands::answerQuitQuestion()
{
    if (!engine_.song.edited())
        return kQuitNothingLost;
    return offerToSaveChanges("Quorbel") ? kQuitGo : kQuitStay;
}
