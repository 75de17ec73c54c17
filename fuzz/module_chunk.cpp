// The module file as the plug-in's chunk carries it: the input is written to
// a file of its own and loaded into an engine's song as setChunk does, saved
// again as getChunk does and the saved file loaded once more. A loaded chunk
// must save.
//
// The mutator knows the container: it takes the zip apart with minizip,
// changes one thing (an entry's bytes, a number of the song document, an
// extra field, the entries' names and order, how an entry is stored) and
// zips the entries up again; now and then it changes the zip's bytes as they
// are, so that damaged directories and headers are searched too.

#include "engine/engine.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <iterator>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

constexpr size_t kMaxInput = 1u << 20;

// One folder for the whole run; the engine's temporary files go beside the
// files in it and are removed again.
char folderPath[] = "/tmp/qb-fuzz-chunk-XXXXXX";

std::string inFolder(const char* name)
{
    static const bool made = [] {
        if (!mkdtemp(folderPath))
            return false;
        std::atexit([] {
            for (const char* leftover : {"chunk.zip", "saved.zip", "mutate.zip"})
                std::remove((std::string(folderPath) + "/" + leftover).c_str());
            rmdir(folderPath);
        });
        return true;
    }();
    return std::string(made ? folderPath : "/tmp") + "/" + name;
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

std::string readFile(const std::string& path)
{
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[16384];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

struct Entry {
    std::string name;
    std::string content;
    std::string extra;
    bool stored = false;
};

// The entries of the zip, inflated; false when minizip cannot take it apart.
bool unpack(const uint8_t* data, size_t size, std::vector<Entry>& entries)
{
    const std::string path = inFolder("mutate.zip");
    if (!writeFile(path, data, size))
        return false;
    unzFile zip = unzOpen(path.c_str());
    if (!zip)
        return false;
    int step = unzGoToFirstFile(zip);
    for (; step == UNZ_OK && entries.size() < 128; step = unzGoToNextFile(zip)) {
        Entry entry;
        unz_file_info info;
        char name[256] = {};
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.uncompressed_size > kMaxInput || unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        entry.name = name;
        entry.stored = info.compression_method == 0;
        char buffer[16384];
        int got;
        while ((got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0 && entry.content.size() <= kMaxInput)
            entry.content.append(buffer, static_cast<size_t>(got));
        unzCloseCurrentFile(zip);
        entries.push_back(std::move(entry));
    }
    unzClose(zip);
    return step == UNZ_END_OF_LIST_OF_FILE && !entries.empty();
}

std::string pack(const std::vector<Entry>& entries)
{
    const std::string path = inFolder("mutate.zip");
    std::remove(path.c_str());
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return {};
    for (const Entry& entry : entries) {
        zip_fileinfo info{};
        const uInt extra = static_cast<uInt>(entry.extra.size() < 65535 ? entry.extra.size() : 65535);
        if (zipOpenNewFileInZip(zip, entry.name.c_str(), &info, entry.extra.data(), extra, entry.extra.data(), extra,
                                nullptr, entry.stored ? 0 : Z_DEFLATED, entry.stored ? 0 : 1) != ZIP_OK)
            continue;
        zipWriteInFileInZip(zip, entry.content.data(), static_cast<unsigned>(entry.content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return readFile(path);
}

// A number of the document replaced by one from the edges of what is read.
void changeNumber(std::string& document, std::mt19937& random)
{
    static const char* const kNumbers[] = {"0",          "-1",          "1",   "99",  "98",   "255",  "256",
                                           "2147483647", "-2147483648", "1e9", "nan", "inf",  "-0",   "65536",
                                           "4294967296", "0.0001",      "200", "64",  "-129", "1e309"};
    std::vector<size_t> starts;
    for (size_t i = 0; i < document.size(); ++i)
        if (document[i] == '"' && i + 1 < document.size() &&
            (std::isdigit(static_cast<unsigned char>(document[i + 1])) || document[i + 1] == '-'))
            starts.push_back(i + 1);
    if (starts.empty())
        return;
    const size_t at = starts[random() % starts.size()];
    const size_t end = document.find('"', at);
    if (end == std::string::npos)
        return;
    document.replace(at, end - at, kNumbers[random() % std::size(kNumbers)]);
}

// An extra field of headers, empty or holding bytes, now and then of zip64 kind.
std::string extraField(std::mt19937& random)
{
    std::string field;
    const size_t headers = random() % 2 ? random() % 16 : random() % 4096;
    for (size_t i = 0; i < headers; ++i) {
        const uint16_t id = random() % 4 ? static_cast<uint16_t>(random()) : 1;
        const uint16_t size = random() % 3 ? 0 : static_cast<uint16_t>(random() % 24);
        field += static_cast<char>(id & 0xFF);
        field += static_cast<char>(id >> 8);
        field += static_cast<char>(size & 0xFF);
        field += static_cast<char>(size >> 8);
        for (uint16_t b = 0; b < size; ++b)
            field += static_cast<char>(random());
    }
    return field;
}

void changeEntries(std::vector<Entry>& entries, std::mt19937& random, size_t maxSize)
{
    Entry& entry = entries[random() % entries.size()];
    switch (random() % 7) {
    case 0: {
        std::string& bytes = entry.content;
        const size_t used = std::min(bytes.size(), maxSize);
        const size_t room = std::min(maxSize, used * 2 + 64);
        bytes.resize(room);
        bytes.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(bytes.data()), used, room));
        break;
    }
    case 1:
    case 2: {
        for (Entry& document : entries)
            if (strcasecmp(document.name.c_str(), "Module.xml") == 0)
                changeNumber(document.content, random);
        break;
    }
    case 3: entry.extra = extraField(random); break;
    case 4: entry.stored = !entry.stored; break;
    case 5: {
        char name[32];
        std::snprintf(name, sizeof name, "Sample %.3d.wav", static_cast<int>(random() % 100));
        entry.name = random() % 2 ? name : "module.XML";
        break;
    }
    default:
        if (random() % 2 && entries.size() > 1)
            entries.erase(entries.begin() + static_cast<long>(random() % entries.size()));
        else if (entries.size() < 100)
            entries.push_back(entry);
        break;
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<Entry> entries;
    if (random() % 8 == 0 || !unpack(data, size, entries))
        return LLVMFuzzerMutate(data, size, maxSize);
    changeEntries(entries, random, maxSize);
    const std::string zip = pack(entries);
    if (zip.empty() || zip.size() > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, zip.data(), zip.size());
    return zip.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput)
        return 0;
    static TesselEngine* engine = new TesselEngine;
    const std::string chunk = inFolder("chunk.zip");
    if (!writeFile(chunk, data, size))
        return 0;
    const int loaded = engine->loadModule(chunk);
    std::remove(chunk.c_str());
    if (loaded < 2)
        return 0;
    std::string saved = inFolder("saved.zip");
    if (!engine->saveModule(saved))
        __builtin_trap();   // a song that loaded must save
    // What it saved is read again; the bounds judge that file by its own
    // size, so a song of little but silence may deflate past them.
    engine->loadModule(saved);
    std::remove(saved.c_str());
    return 0;
}
