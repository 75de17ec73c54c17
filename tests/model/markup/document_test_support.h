#pragma once
// Song document tests: text in and out of the markup writers and readers,
// with the process-wide writer depth and document version put back.

#include "model/markup/markup.h"
#include "model/module_test_support.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_archive.h"

#include <cstdio>
#include <string>

class DocumentTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        savedDepth_ = markupDepth;
        markupDepth = 0;
    }
    void TearDown() override
    {
        markupDepth = savedDepth_;
        ModuleTest::TearDown();
    }

    static std::string writeSong(TesselModule& song)
    {
        return writtenText([&](FILE* f) { song.writeXml(f, "", false); });
    }

    // Reads the first "module" element of the text into the song, with the
    // sample audio of the module file at `path` when one is given: the
    // reader's result, or -1 when there is no module element.
    static int readSong(TesselModule& song, const std::string& text, const std::string& path = "")
    {
        ZipArchive archive;
        ZipArchive* audio = !path.empty() && archive.open(path) ? &archive : nullptr;
        TesselMemoryFile file;
        if (!file.assign(text.data(), static_cast<uint32_t>(text.size())))
            return -1;
        TesselElement element;
        while (readElement(file, element))
            if (element.is("module", "mo", kElementOpen | kElementSelf))
                return song.readXml(file, audio, element);
        return -1;
    }

    // Reads an element that the text starts with through `read(file, element)`.
    template <typename Read>
    static bool readFirst(const std::string& text, Read read)
    {
        TesselMemoryFile file;
        TesselElement element;
        if (!file.assign(text.data(), static_cast<uint32_t>(text.size())) || !readElement(file, element))
            return false;
        return read(file, element);
    }

private:
    int32_t savedDepth_ = 0;
};

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
