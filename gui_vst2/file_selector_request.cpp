// The type filter of a selection record, as the system dialog shows it.

#include "gui_vst2/file_selector.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

constexpr size_t kMaxExtensions = 100;

std::string field(const char* text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

} // namespace

platform::FileDialogRequest CFileSelector::request(const VstFileSelect& selection)
{
    platform::FileDialogRequest request;
    switch (selection.command) {
    case kVstFileSave: request.kind = platform::FileDialogKind::Save; break;
    case kVstMultipleFilesLoad: request.kind = platform::FileDialogKind::OpenSeveral; break;
    case kVstDirectorySelect: request.kind = platform::FileDialogKind::Folder; break;
    default: request.kind = platform::FileDialogKind::Open;
    }
    request.title = field(selection.title, sizeof selection.title);
    if (selection.initialPath)
        request.startPath = selection.initialPath;
    if (request.kind == platform::FileDialogKind::Folder)
        return request;

    const int32_t types = selection.fileTypes ? std::max(selection.nbFileTypes, 0) : 0;
    std::vector<std::string> distinct;
    for (int32_t i = 0; i < types; ++i) {
        const VstFileType& type = selection.fileTypes[i];
        const std::string dos = field(type.dosType, sizeof type.dosType);
        const std::string unixType = field(type.unixType, sizeof type.unixType);
        platform::FileFilter filter;
        filter.name = field(type.name, sizeof type.name) + " (." + dos + ")";
        filter.extensions.push_back(dos);
        // Saving offers the DOS types only.
        if (request.kind != platform::FileDialogKind::Save && !unixType.empty() && unixType != dos)
            filter.extensions.push_back(unixType);
        for (const std::string& extension : filter.extensions)
            if (distinct.size() < kMaxExtensions &&
                std::find(distinct.begin(), distinct.end(), extension) == distinct.end())
                distinct.push_back(extension);
        request.filters.push_back(std::move(filter));
    }
    if (request.kind == platform::FileDialogKind::Save) {
        if (types > 0)
            request.defaultExtension = field(selection.fileTypes[0].dosType, sizeof selection.fileTypes[0].dosType);
        return request;
    }
    if (distinct.size() > 1) {
        platform::FileFilter all;
        std::string joined;
        for (const std::string& extension : distinct)
            joined += (joined.empty() ? "*." : ";*.") + extension;
        all.name = "All Supported Types (" + joined + ")";
        all.extensions = distinct;
        request.filters.push_back(std::move(all));
        // The entry right after the types, however many extensions they add.
        request.filterIndex = types + 1;
    }
    request.filters.push_back({"All Files (*.*)", {}});
    return request;
}

} // namespace VSTGUI
