#include "gui/file_selector.h"

#include "platform/window.h"

#include <algorithm>

namespace VSTGUI {

namespace {

constexpr size_t kMaxExtensions = 100;

} // namespace

platform::FileDialogRequest fileDialogRequest(const CFileChoice& choice)
{
    platform::FileDialogRequest request;
    request.kind = choice.kind;
    request.title = choice.title;
    request.startPath = choice.startPath;
    if (request.kind == platform::FileDialogKind::Folder)
        return request;

    std::vector<std::string> distinct;
    for (const CFileType& type : choice.types) {
        platform::FileFilter filter;
        filter.name = type.name + " (." + type.dosType + ")";
        filter.extensions.push_back(type.dosType);
        // Saving offers the DOS types only.
        if (request.kind != platform::FileDialogKind::Save && !type.unixType.empty() && type.unixType != type.dosType)
            filter.extensions.push_back(type.unixType);
        for (const std::string& extension : filter.extensions)
            if (distinct.size() < kMaxExtensions &&
                std::find(distinct.begin(), distinct.end(), extension) == distinct.end())
                distinct.push_back(extension);
        request.filters.push_back(std::move(filter));
    }
    if (request.kind == platform::FileDialogKind::Save) {
        if (!choice.types.empty())
            request.defaultExtension = choice.types.front().dosType;
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
        request.filterIndex = static_cast<int32_t>(choice.types.size()) + 1;
    }
    request.filters.push_back({"All Files (*.*)", {}});
    return request;
}

std::vector<std::string> chooseFiles(platform::Window* owner, const CFileChoice& choice)
{
    std::vector<std::string> paths;
    if (!owner || !owner->system().dialogs().chooseFiles(owner, fileDialogRequest(choice), paths))
        paths.clear();
    return paths;
}

} // namespace VSTGUI
