// The sample list page's files: loading a file, a sample of the module or
// instrument file the browser shows, or an entry of a zip archive into a
// slot; saving the current sample through the save file selector.

#include "editor/sample_list/sample_edit.h"
#include "editor/sample_list/sample_list_page.h"
#include "engine/engine.h"
#include "pagekit/file_box.h"
#include "gui_vst2/file_selector.h"
#include "pagekit/frame2.h"
#include "model/file_kind.h"
#include "model/zip/zip_helpers.h"
#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "platform/status_text.h"
#include "plugin/plugin_object.h"
#include "shell/usage_log.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace {

constexpr const char* kCorrupt = "Loading Error: Corrupt or unsupported sample file.";

// The kind a zip entry is read as, by its name's extension in any case.
int kindOfEntry(const std::string& name)
{
    const std::string file = namePart(name);
    const size_t dot = file.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : file.substr(dot + 1);
    const struct {
        const char* extension;
        int kind;
    } kinds[] = {{"wav", kSampleWav}, {"flac", kSampleFlac}, {"ogg", kSampleOgg}, {"zip", kSampleZip}};
    for (const auto& k : kinds)
        if (strcasecmp(extension.c_str(), k.extension) == 0)
            return k.kind;
    return kSampleNone;
}

// "archive::member" at the first "::" whose left side is a file; false for a
// plain path.
bool splitMember(const std::string& path, std::string& archive, std::string& member)
{
    for (size_t at = path.find("::"); at != std::string::npos; at = path.find("::", at + 1)) {
        if (fileExists(path.substr(0, at).c_str())) {
            archive = path.substr(0, at);
            member = path.substr(at + 2);
            return true;
        }
    }
    return false;
}

// A slot number of two digits, 1..99, as the browser lists them; -1 else.
int32_t slotOfMember(const std::string& member)
{
    if (member.size() != 2 || member[0] < '0' || member[0] > '9' || member[1] < '0' || member[1] > '9')
        return -1;
    const int32_t number = (member[0] - '0') * 10 + (member[1] - '0');
    return number >= 1 && number <= kSamples ? number - 1 : -1;
}

// The name as the list shows it, without the blanks that pad it.
std::string shownName(const TesselSample& sample)
{
    std::string name = sample.nameText();
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// The folder part of a chosen path, with its '/'.
std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

void TesselSampleListUI::redrawProgress()
{
    if (!editor)
        return;
    if (TesselUI* toolbar = editor->toolbarPage())
        redrawNow(toolbar);
    if (editor->isWindowVisible())
        redrawNow(this);
}

void TesselSampleListUI::loadSample(const std::string& path, int32_t target)
{
    platform::setFileMessage("Loading sample(s)...");
    redrawProgress();
    TesselSampleEdit edit(song, target);
    std::string archive;
    std::string member;
    unsigned result = kFileUnreadable;
    bool previewSlot = false;
    if (splitMember(path, archive, member)) {
        previewSlot = moduleFileKind(archive) != kModuleNone || instrumentFileKind(archive) != 0;
        result = previewSlot ? loadSlotOfPreview(archive, member, edit)
                 : isZipFile(archive) ? loadArchiveMember(archive, member, edit)
                                      : kFileWrongKind;
    } else if (TesselSample* copy = edit.copy()) {
        result = copy->loadFile(path);
    }
    logUsageAction(kCmdLoadSample, static_cast<int32_t>(result));
    bool loaded = false;
    if (result == kFileLoaded) {
        edit.copy()->buildOverview();
        edit.changed();
        // The song lock not had drops the load without a word on the status line.
        loaded = edit.commit();
        if (loaded) {
            if (previewSlot)
                platform::formatStatusText("Sample %s loaded successfully.", member.c_str());
            else
                platform::formatStatusText("Sample '%s' loaded successfully.",
                                           shownName(song->samples[static_cast<size_t>(target)]).c_str());
        }
    } else if (result == kFileNothingFound && !previewSlot) {
        platform::setStatusText("Loading Error: No samples found in file.");
    } else {
        platform::setStatusText(kCorrupt);
    }
    // The toolbar's line must not call a refused file a completed load.
    platform::setFileMessage(loaded ? "Loading sample(s)... completed." : "Loading sample(s)... failed.");
    if (target == sample_)
        fields_->show(song->samples[static_cast<size_t>(target)]);
    setDirty();
}

// Sample NN of the module or instrument file that the browser's preview
// song holds now, read under the song lock.
unsigned TesselSampleListUI::loadSlotOfPreview(const std::string& archive, const std::string& member,
                                               TesselSampleEdit& edit)
{
    const int32_t slot = slotOfMember(member);
    TesselModule* preview = fileBox_->previewModule();
    if (slot < 0 || !preview || fileBox_->listedPath() != archive)
        return kFileUnreadable;
    platform::MutexLock lock(preview->songLock(), editLockWaitMs);
    if (!lock)
        return kFileUnreadable;
    const TesselSample& source = preview->samples[static_cast<size_t>(slot)];
    if (source.length <= 0 || source.bits == 0)
        return kFileNothingFound;
    TesselSample* target = edit.fresh();
    if (!target)
        return kFileUnreadable;
    target->assign(source);
    return isWholeCopy(*target, source) ? kFileLoaded : kFileUnreadable;
}

// An entry of a zip archive, extracted to a private temporary file, read by
// the kind its name gives and named after it; the file goes afterwards.
unsigned TesselSampleListUI::loadArchiveMember(const std::string& archive, const std::string& member,
                                               TesselSampleEdit& edit)
{
    const int kind = kindOfEntry(member);
    const std::string folder = platform::temporaryFolder();
    if (kind == kSampleNone || folder.empty())
        return kFileWrongKind;
    std::string temporary = platform::joinPath(folder, platform::processFilePattern("~qrbl"));
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0)
        return kFileUnreadable;
    close(descriptor);
    unsigned result = kFileUnreadable;
    TesselSample* copy = edit.copy();
    if (copy && zipExtractFile(archive.c_str(), temporary.c_str(), member.c_str()))
        result = copy->loadFile(temporary, kind);
    std::remove(temporary.c_str());
    if (result == kFileLoaded)
        copy->setName(namePart(member).c_str());
    return result;
}

void TesselSampleListUI::saveSample()
{
    VstFileType types[2] = {VstFileType("Compressed Quorbel Sample", ".zip", "zip", "zip", "audio/qbz", "audio/x-qbz"),
                            VstFileType("Wave File", ".wav", "wav", "wav", "audio/wav", "audio/x-wav")};
    TesselEditorPageServices* editorObject = owner();
    std::string start = editorObject ? editorObject->sampleFolder() : std::string();
    if (!start.empty() && start.back() != '/')
        start += '/';
    if (engine && engine->hostVendorIs("steinberg"))
        start += "*.zip";
    VstFileSelect selection{};
    selection.command = kVstFileSave;
    selection.type = kVstFileType;
    selection.nbFileTypes = 2;
    selection.fileTypes = types;
    std::snprintf(selection.title, sizeof selection.title, "%s", "Save Sample...");
    selection.initialPath = start.data();

    CFrame2* frame = editor ? editor->frame2() : nullptr;
    CFileSelector selector(plugin);
    int32_t chosen = 0;
    if (editor && !editor->popupActive()) {
        editor->beginPopup();
        chosen = selector.run(&selection, frame ? frame->getWindow() : nullptr);
        editor->endPopup();
    }
    if (chosen > 0 && selection.returnPath && song) {
        const std::string path = selection.returnPath;
        platform::setFileMessage("Saving sample...");
        redrawProgress();
        const TesselSample& sample = song->samples[static_cast<size_t>(sample_)];
        const bool saved = sample.saveFile(path, sample_);
        logUsageAction(kCmdSaveSample, saved ? 1 : 0);
        if (saved)
            platform::formatStatusText("Sample '%s' saved successfully.", shownName(sample).c_str());
        else
            platform::setStatusText("Saving failed.");
        if (editorObject && !folderOf(path).empty())
            editorObject->sampleFolder() = folderOf(path);
    } else {
        platform::setStatusText("Saving cancelled.");
    }
    platform::setFileMessage("Saving sample... completed.");
    setDirty();
}
