#include "gui_vst2/file_selector.h"

#include "gui/file_selector.h"
#include "gui/frame/frame.h"
#include "gui_vst2/editor_base.h"
#include "platform/window.h"
#include "vst2/audio_effect_x.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

std::string field(const char* text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

CFileChoice choiceOf(const VstFileSelect& selection)
{
    CFileChoice choice;
    switch (selection.command) {
    case kVstFileSave: choice.kind = platform::FileDialogKind::Save; break;
    case kVstMultipleFilesLoad: choice.kind = platform::FileDialogKind::OpenSeveral; break;
    case kVstDirectorySelect: choice.kind = platform::FileDialogKind::Folder; break;
    default: choice.kind = platform::FileDialogKind::Open;
    }
    choice.title = field(selection.title, sizeof selection.title);
    if (selection.initialPath)
        choice.startPath = selection.initialPath;
    const int32_t types = selection.fileTypes ? std::max(selection.nbFileTypes, 0) : 0;
    for (int32_t i = 0; i < types; ++i) {
        const VstFileType& type = selection.fileTypes[i];
        choice.types.push_back({field(type.name, sizeof type.name), field(type.dosType, sizeof type.dosType),
                                field(type.unixType, sizeof type.unixType)});
    }
    return choice;
}

} // namespace

platform::FileDialogRequest CFileSelector::request(const VstFileSelect& selection)
{
    return fileDialogRequest(choiceOf(selection));
}

CFileSelector::~CFileSelector()
{
    if (!selection_)
        return;
    if (hostSelector_) {
        if (plugin_)
            plugin_->closeFileSelector(selection_);
        return;
    }
    release();
}

void CFileSelector::release()
{
    VstFileSelect& selection = *selection_;
    if (selection.reserved == 1) {
        delete[] selection.returnPath;
        selection.returnPath = nullptr;
        selection.sizeReturnPath = 0;
        selection.reserved = 0;
    }
    if (selection.command == kVstMultipleFilesLoad && selection.returnMultiplePaths) {
        for (int32_t i = 0; i < selection.nbReturnPath; ++i)
            delete[] selection.returnMultiplePaths[i];
        delete[] selection.returnMultiplePaths;
        selection.returnMultiplePaths = nullptr;
    }
}

platform::Window* CFileSelector::parentWindow(platform::Window* given) const
{
    if (given || !plugin_)
        return given;
    auto* editor = dynamic_cast<AEffGUIEditor*>(plugin_->getEditor());
    CFrame* frame = editor ? editor->getFrame() : nullptr;
    return frame ? frame->getWindow() : nullptr;
}

bool CFileSelector::hostRuns()
{
    if (!plugin_)
        return false;
    char open[] = "openFileSelector";
    char close[] = "closeFileSelector";
    if (plugin_->canHostDo(open) <= 0 || plugin_->canHostDo(close) <= 0)
        return false;
    hostSelector_ = true;
    return true;
}

bool CFileSelector::returnPath(VstFileSelect& selection, const std::string& path)
{
    const size_t size = path.size() + 1;
    if (selection.returnPath) {
        if (selection.sizeReturnPath <= 0 || size > static_cast<size_t>(selection.sizeReturnPath))
            return false;
    } else {
        selection.returnPath = new char[size];
        selection.sizeReturnPath = static_cast<VstInt32>(size);
        selection.reserved = 1;
    }
    std::memcpy(selection.returnPath, path.c_str(), size);
    selection.nbReturnPath = 1;
    return true;
}

void CFileSelector::returnPaths(VstFileSelect& selection, const std::vector<std::string>& paths)
{
    const size_t count = std::min(paths.size(), static_cast<size_t>(kMaxPaths));
    selection.returnMultiplePaths = new char*[count];
    for (size_t i = 0; i < count; ++i) {
        selection.returnMultiplePaths[i] = new char[paths[i].size() + 1];
        std::memcpy(selection.returnMultiplePaths[i], paths[i].c_str(), paths[i].size() + 1);
    }
    selection.nbReturnPath = static_cast<VstInt32>(count);
}

int32_t CFileSelector::run(VstFileSelect* selection, platform::Window* parent)
{
    if (!selection)
        return 0;
    // A second run on the same selector first frees what the first one made.
    if (selection_ && !hostSelector_)
        release();
    selection_ = selection;
    hostSelector_ = false;
    selection->nbReturnPath = 0;
    if (selection->returnPath && selection->sizeReturnPath > 0)
        selection->returnPath[0] = 0;
    if (hostRuns())
        return plugin_->openFileSelector(selection) ? selection->nbReturnPath : 0;

    if (selection->command < kVstFileLoad || selection->command > kVstDirectorySelect)
        return 0;
    const std::vector<std::string> paths = chooseFiles(parentWindow(parent), choiceOf(*selection));
    if (paths.empty())
        return 0;
    if (selection->command == kVstMultipleFilesLoad) {
        returnPaths(*selection, paths);
        return selection->nbReturnPath;
    }
    return returnPath(*selection, paths.front()) ? 1 : 0;
}

} // namespace VSTGUI
