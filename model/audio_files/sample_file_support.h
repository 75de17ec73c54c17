#pragma once
// Shared steps of the sample and instrument files: temporary files beside
// the target, the zipped markup document, and the replace-by-rename that
// keeps the old file until the new one is complete.

#include <cstdio>
#include <functional>
#include <string>

class TesselMemoryFile;
class ZipArchive;

// `name` in the folder of `path`.
std::string besideFile(const std::string& path, const char* name);
bool endsWithNoCase(const std::string& text, const char* suffix);
// The path with ".zip" appended unless it already ends in it (any case).
std::string zipTarget(const std::string& path);
// Renames the temporary file over the target; on failure the temporary file
// goes and the target stays as it was.
bool replaceWith(const std::string& temporary, const std::string& target);

// Writes the document through `write` (which may add entries to the archive
// it is given) into "~qrblxml.tmp", zips it as `entryName` into
// "~qrblzip.tmp" and renames that over the target. False when any step fails.
using TesselDocumentWriter = std::function<void(FILE* file, const std::string& archive)>;
bool saveZippedDocument(const std::string& target, const char* entryName, const TesselDocumentWriter& write);
// Opens the archive and reads the entry (any case) into the buffer; false
// when either is missing or unreadable, or the entry is no document's size.
bool loadZippedDocument(ZipArchive& archive, const std::string& path, const char* entryName,
                        TesselMemoryFile& buffer);
