#include "resources/help/embedded_help.h"

// Placed by help_archive.S from the builder's output.
extern "C" const uint8_t qb_help_archive[];
extern "C" const uint8_t qb_help_archive_end[];

namespace resources {

std::span<const uint8_t> helpArchive()
{
    return {qb_help_archive, size_t(qb_help_archive_end - qb_help_archive)};
}

} // namespace resources
