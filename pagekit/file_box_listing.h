#pragma once
// What the file box lists: the kind of a path, a folder's entries (folders,
// then files, each sorted without regard to case) and a zip archive's
// entries, as list items. Touches no control, so the box's scan thread may
// call it.

#include "gui/lists/list_box.h"

#include <atomic>
#include <string>
#include <vector>

namespace file_box_listing {

enum class BrowserMode { Sample = 1, Instrument = 2 };

// What a path names, in the order the box tests it. Only folders and regular
// files count (links followed); FIFOs and devices are never opened.
enum class PathKind { Missing, Folder, SampleFile, InstrumentFile, ModuleFile, Archive, OtherFile };
PathKind pathKind(const std::string& path);
// How the box opens a path, in its own order: an instrument file (sample
// browser only), a module, a zip archive, a folder; OtherFile for the rest.
PathKind openingKind(const std::string& path, BrowserMode mode);
// A file a browser returns to its page: a sample file to a sample browser,
// an instrument file to an instrument browser.
bool isChosenKind(const std::string& path, BrowserMode mode);

// The entry "/" (the root) and "..", plain and white.
TesselListItem plainEntry(const std::string& name);

// The folder's listing after "/" and "..": visible folders, then regular
// files with their size, kind word and modified time. Stops early (false)
// when `stop` is raised; false too when the folder cannot be read.
bool listFolder(const std::string& folder, BrowserMode mode, const std::atomic<bool>* stop,
                std::vector<TesselListItem>& out);

// Each entry of the archive by its own name, classed by that name alone;
// false when the archive cannot be read.
bool listArchive(const std::string& path, BrowserMode mode, std::vector<TesselListItem>& out);

} // namespace file_box_listing
