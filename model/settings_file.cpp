#include "model/settings_file.h"

#include "platform/system/folders.h"

bool findSettingsFile(const std::string& name, std::string& path)
{
    for (const std::string& folder : platform::settingsSearchFolders()) {
        const std::string candidate = platform::joinPath(folder, name);
        if (platform::fileExists(candidate)) {
            path = candidate;
            return true;
        }
    }
    return false;
}

bool makeSettingsFilePath(const std::string& name, std::string& path)
{
    const std::string folder = platform::settingsFolder();
    if (!platform::makeFolders(folder))
        return false;
    path = platform::joinPath(folder, name);
    return true;
}
