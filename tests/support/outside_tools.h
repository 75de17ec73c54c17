#pragma once
// Programs of the system that tests run. A missing one fails the test with
// the Debian package that brings it (scripts/install-packages.sh installs
// them all), so a machine set up by hand never hides a gap.

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

namespace outside_tools {

inline const char* packageOf(std::string_view program)
{
    static constexpr std::pair<std::string_view, const char*> kPackages[] = {
        {"flac", "flac"},     {"oggenc", "vorbis-tools"},  {"oggdec", "vorbis-tools"},
        {"sox", "sox"},       {"soxi", "sox"},             {"xmllint", "libxml2-utils"},
        {"zip", "zip"},       {"unzip", "unzip"},          {"nm", "binutils"},
        {"fc-list", "fontconfig"}, {"Xvfb", "xvfb"},     {"openbox", "openbox"},
        {"zenity", "zenity"}, {"import", "imagemagick"},
    };
    for (const auto& [name, package] : kPackages)
        if (name == program)
            return package;
    return "?";
}

inline bool onPath(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Success when every program is on the path; else names what to install.
inline ::testing::AssertionResult have(std::initializer_list<const char*> programs)
{
    std::string missing;
    for (const char* program : programs)
        if (!onPath(program))
            missing += std::string(missing.empty() ? "" : ", ") + program + " (Debian package " +
                       packageOf(program) + ")";
    if (missing.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "missing: " << missing
                                         << "; scripts/install-packages.sh installs it";
}

} // namespace outside_tools
