#pragma once
// What copies of the program that are no longer running left in the private
// temporary folder (a font, a help file, chunk folders, extracted entries, a
// usage log) and beside the files they were saving or loading (see
// model/song/temporaries_note.h), removed at each start. A crash's files and its
// usage log stay: they wait for the crash report (see pending_report.h).

#include <string>

namespace services {

// `folder` empty: the private temporary folder.
void removeLeftoverFiles(const std::string& folder = {});

} // namespace services
