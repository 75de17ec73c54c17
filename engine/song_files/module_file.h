#pragma once
// The module file: a zip holding "Module.xml", one "Sample %.3d.wav" per
// sample with audio, the entries a save carries over from the file it
// replaces, and "Archive.zip" with the earlier documents.

#include <string>

// The name a save writes: the path with ".zip" appended unless it ends in
// ".zip" already (in any letter case).
std::string moduleSavePath(const std::string& path);

// Whether a song file of this kind (`songFileKind`) that the load answered
// with `result` is now the song: an XM file may lack some samples and still
// be one; any other result below 2 left the song as it was.
bool songLoadIsWhole(int kind, int result);

// The temporary file `name` in the folder of `path`.
std::string moduleTempPath(const std::string& path, const char* name);

// "Module_%.4d-%.2d-%.2d_%.2dh%.2dm%.2d.xml" for an archived document.
std::string archivedDocumentName(int year, int month, int day, int hour, int minute, int second);

// True for the loose earlier documents that a save moves into the archive.
bool isArchivedDocumentName(const char* entryName);
