#include "editor/file_commands/module_paths.h"

std::string folderWithSlash(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
}

std::string folderOfFile(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nextDefaultFolder(const std::string& current, const std::string& chosenFile)
{
    const std::string folder = folderOfFile(chosenFile);
    // A folder cut to the field would name another folder: keep the old one.
    if (folder.empty() || folder.size() >= kDefaultFolderSize)
        return current;
    return folder;
}
