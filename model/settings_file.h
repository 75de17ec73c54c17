#pragma once
// Where settings files such as "Quorbel.ini" are found and written.

#include <string>

// The first existing copy of the named file among the settings search folders
// (the user's own settings folder first, then the system-wide ones).
bool findSettingsFile(const std::string& name, std::string& path);

// The path in the user's settings folder, which is created when missing;
// false when the folder cannot be had. Settings are only ever written here.
bool makeSettingsFilePath(const std::string& name, std::string& path);
