#pragma once
// The help archive that the library carries: our pages zipped at build time.
// The help file thread writes it to disk for the viewer and the popup.

#include <cstdint>
#include <span>

namespace resources {

// The resource's id; its type is "Help".
constexpr int32_t kHelpArchive = 4;

// The archive's bytes; any thread.
std::span<const uint8_t> helpArchive();

} // namespace resources
