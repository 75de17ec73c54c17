// The sample files a zipped module announces, so that saving can carry them over.

#include "model/markup/markup.h"
#include "model/song/temporaries_note.h"
#include "model/zip/zip_helpers.h"

#include <cstdio>
#include <cstring>
#include <string>

bool zipListModuleSamples(const char* modulePath, ZipEntryList& list)
{
    list.clear();
    const TemporariesNote note(modulePath);
    std::string path(modulePath);
    size_t slash = path.find_last_of('/');
    std::string temporary = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1))
                            + "~qrblxml.tmp";
    if (!zipExtractFile(modulePath, temporary.c_str(), "Module.xml"))
        return false;
    TesselMemoryFile text;
    bool loaded = text.load(temporary);
    std::remove(temporary.c_str());
    if (!loaded)
        return false;

    TesselElement element;
    while (list.count() < kModuleSampleListLimit && readElement(text, element)) {
        if (!element.is("sample", "sa", kElementOpen))
            continue;
        int32_t index = 0;
        element.getInt("index", "i", index);
        ZipEntry entry;
        std::snprintf(entry.name, sizeof entry.name, "Sample %.3d.wav", index);
        list.entries.push_back(std::move(entry));
    }
    return true;
}
