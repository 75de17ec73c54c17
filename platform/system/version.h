#pragma once
// The program's own version: major + minor x 0.1 + build x 0.001, in single
// precision. Module and instrument readers treat documents older than 1.003
// differently, so this must never drop below that.

namespace platform {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 1;
constexpr int kVersionBuild = 0;

constexpr float programVersion()
{
    return static_cast<float>(kVersionMajor) + static_cast<float>(kVersionMinor) * 0.1f +
           static_cast<float>(kVersionBuild) * 0.001f;
}

static_assert(programVersion() >= 1.003f, "documents would be read as old ones");

} // namespace platform
