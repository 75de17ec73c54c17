// The instrument page's file and song operations: New, Load, Save, Swap and
// the colour chooser. New, Load and Swap write the song themselves, so the
// page's copy of the instrument is not assigned after them.
#include "editor/instrument_list/instrument_list_edit.h"

#include "engine/engine.h"
#include "pagekit/file_box.h"
#include "gui_vst2/file_selector.h"
#include "model/file_kind.h"
#include "model/song/module.h"
#include "model/zip/zip_helpers.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "platform/system/mutex.h"
#include "platform/status_text.h"
#include "platform/window.h"
#include "plugin/plugin_object.h"
#include "shell/usage_log.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

constexpr size_t kPathSize = 1024;

std::string trimmedName(const TesselInstrument& instrument)
{
    std::string name = instrument.nameText();
    const auto last = name.find_last_not_of(' ');
    name.resize(last == std::string::npos ? 0 : last + 1);
    return name;
}

// The temporary names the file kinds know are lower case.
std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A private folder under the temporary one; removed with what it holds.
struct ScratchFolder {
    ScratchFolder()
    {
        std::string pattern = platform::joinPath(platform::temporaryFolder(), platform::processFilePattern("qrbl"));
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

} // namespace

void TesselInstrumentListUI::newInstrument()
{
    TesselEditorPageServices* full = owner();
    platform::Window* window = full ? full->editorWindow() : nullptr;
    if (!window)
        return;
    editor->beginPopup();
    const int32_t answer = window->system().dialogs().messageBox(
        window, "This will erase the current instrument. Are you sure?", "New Instrument...",
        platform::kBoxYesNo | platform::kBoxIconQuestion);
    editor->endPopup();
    if (answer != platform::kAnswerYes)
        return;
    logUsageAction(kCmdNewInstrument, current_ + 1);
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        song->instruments[static_cast<size_t>(current_)].reset();
        song->markEdited();
    }
    songWritten_ = true;
    platform::setFileMessage("Instrument erased.");
    platform::setStatusText("Instrument erased.");
    refillPatternEditorList();
}

void TesselInstrumentListUI::swapInstruments(int32_t a, int32_t b, bool inPatterns)
{
    if (a == b || a < 1 || a > kInstruments || b < 1 || b > kInstruments)
        return;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        TesselInstrument& first = song->instruments[static_cast<size_t>(a - 1)];
        TesselInstrument& second = song->instruments[static_cast<size_t>(b - 1)];
        // Labels of their own go with the records; numbers stay with the slots.
        const bool firstOwnLabel = first.compareDefaultLabel() != 0;
        const bool secondOwnLabel = second.compareDefaultLabel() != 0;
        const std::string firstLabel = first.label;
        const std::string secondLabel = second.label;
        const TesselInstrument held(first);
        first.assign(second);
        second.assign(held);
        song->markEdited();
        first.setLabel(secondOwnLabel ? secondLabel.c_str() : first.defaultLabel().c_str());
        second.setLabel(firstOwnLabel ? firstLabel.c_str() : second.defaultLabel().c_str());
        if (inPatterns) {
            for (TesselPattern& pattern : song->patterns)
                for (int32_t channel = 0; channel < kChannels; ++channel) {
                    TesselTrack* track = pattern.tracks.trackAt(channel);
                    for (int32_t r = 0; track && r < kMaxRows; ++r) {
                        TesselRow* row = track->rowAt(r);
                        if (!row || row->isEmpty())
                            continue;
                        const auto swapCell = [a, b](TesselSubrow& cell) {
                            if (cell.instrument == a)
                                cell.instrument = static_cast<int16_t>(b);
                            else if (cell.instrument == b)
                                cell.instrument = static_cast<int16_t>(a);
                        };
                        swapCell(*row);
                        if (TesselSubrowList* further = row->subrows())
                            for (TesselSubrow& cell : *further)
                                swapCell(cell);
                    }
                }
        }
    }
    songWritten_ = true;
    refillPatternEditorList();
}

void TesselInstrumentListUI::loadInstrument(const std::string& path, int32_t target)
{
    if (target < 0 || target >= kInstruments)
        return;
    platform::setFileMessage("Loading instrument(s)...");
    redrawNow(this);
    songWritten_ = true;
    TesselInstrument& slot = song->instruments[static_cast<size_t>(target)];
    unsigned result = kFileUnreadable;
    const auto separator = path.find("::");
    std::string file = path;
    std::string member;
    ScratchFolder scratch;
    if (separator != std::string::npos) {
        file = path.substr(0, separator);
        member = path.substr(separator + 2);
    }
    if (separator != std::string::npos && moduleFileKind(file) != kModuleNone) {
        // The entries of a module are "%.2d" of the instrument's number.
        const int32_t index = std::atoi(member.c_str()) - 1;
        TesselModule* preview = fileBox_->previewModule();
        if (preview && fileBox_->listedPath() == file && index >= 0 && index < kInstruments) {
            result = slot.importWithSamples(preview->instruments[static_cast<size_t>(index)], preview->samples, *song);
            logUsageAction(kCmdLoadInstrument, static_cast<int32_t>(result));
            if (result == kFileLoaded)
                platform::formatStatusText("Instrument %s loaded successfully.", member.c_str());
        }
        if (result != kFileLoaded)
            platform::setStatusText("Loading Error: Corrupt or unsupported instrument file.");
    } else {
        if (separator != std::string::npos) {
            const std::string extracted =
                scratch.path.empty() ? std::string() : scratch.path + "/~qrbl" + lowered(platform::fileExtension(member)) + ".tmp";
            if (!isZipFile(file) || extracted.empty()
                || !zipExtractFile(file.c_str(), extracted.c_str(), member.c_str()))
                file.clear();
            else
                file = extracted;
        }
        if (!file.empty()) {
            // Read into a scratch instrument and sample table first: a damaged
            // file leaves the song untouched.
            auto loaded = std::make_unique<TesselInstrument>();
            auto samples = std::make_unique<std::array<TesselSample, kSamples>>();
            result = loaded->loadFile(file, *samples);
            if (result == kFileLoaded)
                result = slot.importWithSamples(*loaded, *samples, *song);
        }
        logUsageAction(kCmdLoadInstrument, static_cast<int32_t>(result));
        if (result == kFileLoaded)
            platform::formatStatusText("Instrument '%s' loaded successfully.", trimmedName(slot).c_str());
        else if (result == kFileNothingFound)
            platform::setStatusText("Loading Error: No instruments found in file.");
        else
            platform::setStatusText("Loading Error: Corrupt or unsupported instrument file.");
    }
    if (result == kFileLoaded)
        song->markEdited();
    // The toolbar's line must not call a refused file a completed load.
    platform::setFileMessage(result == kFileLoaded ? "Loading instrument... completed."
                                                   : "Loading instrument... failed.");
    refillPatternEditorList();
    setDirty();
}

void TesselInstrumentListUI::saveInstrument()
{
    TesselEditorPageServices* full = owner();
    if (!full || !plugin)
        return;
    VstFileType type("Compressed Quorbel Instrument", ".zip", "zip", "zip", "audio/qbz", "audio/x-qbz");
    VstFileSelect selection{};
    selection.command = kVstFileSave;
    selection.type = kVstFileType;
    selection.nbFileTypes = 1;
    selection.fileTypes = &type;
    std::snprintf(selection.title, sizeof selection.title, "%s", "Save Instrument...");
    std::string start = full->instrumentFolder();
    if (!start.empty() && start.back() != '/')
        start += '/';
    if (engine && engine->hostVendorIs("steinberg"))
        start += "*.zip";
    std::vector<char> initial(start.begin(), start.end());
    initial.push_back('\0');
    selection.initialPath = initial.data();
    std::vector<char> chosen(kPathSize, '\0');
    selection.returnPath = chosen.data();
    selection.sizeReturnPath = static_cast<VstInt32>(chosen.size());
    int32_t count = 0;
    {
        editor->beginPopup();
        CFileSelector selector(plugin);
        count = selector.run(&selection, full->editorWindow());
        editor->endPopup();
    }
    if (count <= 0) {
        platform::setStatusText("Saving cancelled.");
        platform::setFileMessage("Saving instrument... completed.");
        return;
    }
    platform::setFileMessage("Saving instrument...");
    redrawNow(this);
    const std::string path = chosen.data();
    bool saved = false;
    std::string name;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (lock) {
            const TesselInstrument& instrument = song->instruments[static_cast<size_t>(current_)];
            name = trimmedName(instrument);
            saved = instrument.saveFile(path, song->samples, current_);
        }
    }
    logUsageAction(kCmdSaveInstrument, saved ? 1 : 0);
    if (saved)
        platform::formatStatusText("Instrument '%s' saved successfully.", name.c_str());
    else
        platform::setStatusText("Saving failed.");
    full->instrumentFolder() = folderOf(path);
    platform::setFileMessage("Saving instrument... completed.");
}

uint32_t TesselInstrumentListUI::chooseColour()
{
    const uint32_t old = song->instruments[static_cast<size_t>(current_)].colour & 0xFFFFFF;
    TesselEditorPageServices* full = owner();
    platform::Window* window = full ? full->editorWindow() : nullptr;
    if (!window)
        return old;
    platform::Colour colour = platform::rgb(static_cast<uint8_t>(old >> 16), static_cast<uint8_t>(old >> 8),
                                            static_cast<uint8_t>(old));
    editor->beginPopup();
    const bool chose = window->system().dialogs().chooseColour(window, colour);
    editor->endPopup();
    if (!chose)
        return old;
    return uint32_t{colour.red} << 16 | uint32_t{colour.green} << 8 | colour.blue;
}
