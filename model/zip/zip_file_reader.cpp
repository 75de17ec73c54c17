// The windowed file functions behind zipOpenForReading.

#include "model/zip/zip_file_reader.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kWindowSize = 64 * 1024;

struct WindowedFile {
    int descriptor = -1;
    uint64_t size = 0;
    uint64_t position = 0;
    uint64_t windowStart = 0;
    size_t windowLength = 0;
    bool failed = false;
    unsigned char window[kWindowSize];
};

voidpf openFile(voidpf, const void* path, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !path)
        return nullptr;
    const int descriptor = ::open(static_cast<const char*>(path), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat info;
    auto* file = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) ? new (std::nothrow) WindowedFile : nullptr;
    if (!file) {
        ::close(descriptor);
        return nullptr;
    }
    file->descriptor = descriptor;
    file->size = static_cast<uint64_t>(info.st_size);
    return file;
}

// Fills the window from `position`; false at the end of the file or on an error.
bool fillWindow(WindowedFile& file)
{
    const ssize_t got = pread(file.descriptor, file.window, kWindowSize, static_cast<off_t>(file.position));
    if (got < 0)
        file.failed = true;
    file.windowStart = file.position;
    file.windowLength = got > 0 ? static_cast<size_t>(got) : 0;
    return got > 0;
}

uLong readFile(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto& file = *static_cast<WindowedFile*>(stream);
    auto* out = static_cast<unsigned char*>(buffer);
    uLong done = 0;
    while (done < size) {
        const bool inWindow =
            file.position >= file.windowStart && file.position < file.windowStart + file.windowLength;
        if (!inWindow && !fillWindow(file))
            break;
        const size_t offset = static_cast<size_t>(file.position - file.windowStart);
        const size_t n = std::min<size_t>(file.windowLength - offset, size - done);
        std::memcpy(out + done, file.window + offset, n);
        done += n;
        file.position += n;
    }
    return done;
}

uLong writeFile(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T tellFile(voidpf, voidpf stream)
{
    return static_cast<WindowedFile*>(stream)->position;
}

long seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto& file = *static_cast<WindowedFile*>(stream);
    uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = file.position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = file.size;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    // Past the end is no place to read from.
    if (offset > file.size || base > file.size - offset)
        return -1;
    file.position = base + offset;
    return 0;
}

int closeFile(voidpf, voidpf stream)
{
    auto* file = static_cast<WindowedFile*>(stream);
    const int result = ::close(file->descriptor);
    delete file;
    return result;
}

int fileError(voidpf, voidpf stream)
{
    return static_cast<WindowedFile*>(stream)->failed ? 1 : 0;
}

} // namespace

unzFile zipOpenForReading(const char* path, uint64_t& size)
{
    size = 0;
    struct stat info;
    if (stat(path, &info) != 0)
        return nullptr;
    size = static_cast<uint64_t>(info.st_size);
    zlib_filefunc64_def functions{openFile, readFile, writeFile, tellFile, seekFile, closeFile, fileError, nullptr};
    return unzOpen2_64(path, &functions);
}
