#pragma once
// Small file helpers for the settings and scheme tests.

#include "platform/folders.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

inline std::string scratchPath(const std::string& name)
{
    return platform::joinPath(platform::temporaryFolder(), name);
}

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
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
