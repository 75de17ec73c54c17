#include "model/audio_files/sample_file_support.h"

#include "model/audio_files/memory_file.h"
#include "model/song/temporaries_note.h"
#include "model/zip/zip_archive.h"
#include "model/zip/zip_helpers.h"

#include <cctype>
#include <cstring>

namespace {

constexpr char kDocumentTemporary[] = "~qrblxml.tmp";
constexpr char kArchiveTemporary[] = "~qrblzip.tmp";

} // namespace

std::string besideFile(const std::string& path, const char* name)
{
    const size_t slash = path.find_last_of('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

bool endsWithNoCase(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(text[text.size() - n + i]);
        const auto b = static_cast<unsigned char>(suffix[i]);
        if (std::tolower(a) != std::tolower(b))
            return false;
    }
    return true;
}

std::string zipTarget(const std::string& path)
{
    return endsWithNoCase(path, ".zip") ? path : path + ".zip";
}

bool replaceWith(const std::string& temporary, const std::string& target)
{
    if (std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

bool saveZippedDocument(const std::string& target, const char* entryName, const TesselDocumentWriter& write)
{
    const TemporariesNote note(target);
    const std::string document = besideFile(target, kDocumentTemporary);
    const std::string archive = besideFile(target, kArchiveTemporary);
    // Entries are appended to an existing archive, so a leftover must go first.
    std::remove(archive.c_str());
    FILE* file = std::fopen(document.c_str(), "w");
    if (!file)
        return false;
    write(file, archive);
    const bool written = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    const bool added = written && closed && zipAddFile(document.c_str(), archive.c_str(), entryName);
    std::remove(document.c_str());
    if (!added) {
        std::remove(archive.c_str());
        return false;
    }
    return replaceWith(archive, target);
}

bool loadZippedDocument(ZipArchive& archive, const std::string& path, const char* entryName,
                        TesselMemoryFile& buffer)
{
    return archive.open(path) && archive.read(archive.indexOf(entryName), buffer, kZipMaxDocumentSize);
}
