#pragma once
// Small file helpers for the settings and scheme tests.

#include "model/scratch_folder.h"
#include "platform/system/folders.h"

#include <cstdio>
#include <fstream>
#include <string>

inline std::string scratchPath(const std::string& name)
{
    return platform::joinPath(platform::temporaryFolder(), name);
}

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string withCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}
