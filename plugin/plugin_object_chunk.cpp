// The song handed to the host as one chunk: the module file, written to and
// read from a temporary file of this call's own in the private temporary
// folder (or, when that cannot be written, in memory), removed afterwards.
// The block given to the host stays ours until the next getChunk or the
// plug-in's deletion.
#include "plugin/plugin_object.h"

#include "model/sample/unread_samples.h"
#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "platform/dialogs/message_box.h"
#include "platform/status_text.h"
#include "plugin/plugin_editor.h"
#include "plugin/plugin_globals.h"
#include "plugin/song_files.h"
#include "shell/usage_log.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kChunkFileName = "~qrbldmp.zip";

// Where a chunk file may lie: the private temporary folder, else the shared
// memory folder, which is held in memory, so that a full or read-only disk
// never costs the host the song.
std::vector<std::string> chunkFolders()
{
    return {platform::temporaryFolder(), "/dev/shm"};
}

// A folder of its own for one chunk file, so that no other call or process
// can meet the file; removed with the file when it goes out of scope.
class ChunkFile {
public:
    explicit ChunkFile(const std::string& base)
    {
        if (base.empty())
            return;
        std::string pattern = platform::joinPath(base, platform::processFilePattern("chunk"));
        if (!mkdtemp(pattern.data()))
            return;
        folder_ = pattern;
        path_ = platform::joinPath(folder_, kChunkFileName);
    }
    ~ChunkFile()
    {
        if (folder_.empty())
            return;
        std::remove(path_.c_str());
        ::rmdir(folder_.c_str());
    }
    ChunkFile(const ChunkFile&) = delete;
    ChunkFile& operator=(const ChunkFile&) = delete;

    bool usable() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

// The whole file in a block of its own; null when it cannot be read whole.
void* readWholeFile(const std::string& path, long& size)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    void* block = nullptr;
    if (std::fseek(file, 0, SEEK_END) == 0 && (size = std::ftell(file)) > 0 && size <= INT_MAX &&
        std::fseek(file, 0, SEEK_SET) == 0) {
        block = std::malloc(static_cast<size_t>(size));
        if (block && std::fread(block, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
            std::free(block);
            block = nullptr;
        }
    }
    std::fclose(file);
    return block;
}

bool writeWholeFile(const std::string& path, const void* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

VstInt32 TesselPlugin::getChunk(void** data, bool isPreset)
{
    if (isPreset) {
        platform::setStatusText("Saving to host... failed.");
        logUsageAction(kCmdHostSave, 0);
        return 0;
    }
    platform::setStatusText("Saving to host...");
    freeChunk();
    if (!data)
        return 0;
    *data = nullptr;

    long size = 0;
    for (const std::string& folder : chunkFolders()) {
        ChunkFile file(folder);
        if (file.usable() && TesselSongFiles::save && TesselSongFiles::save(engine, file.path()))
            chunk_ = readWholeFile(file.path(), size);
        if (chunk_)
            break;
    }
    if (!chunk_) {
        platform::setStatusText("Saving to host... failed.");
        logUsageAction(kCmdHostSave, 0);
        return 0;
    }
    *data = chunk_;
    platform::setStatusText("Saving to host... completed.");
    logUsageAction(kCmdHostSave, 1);
    return static_cast<VstInt32>(size);
}

// A song that loaded with samples whose audio could not be read says which,
// on the status line and, when the editor is open, in a box.
void TesselPlugin::reportUnreadSamples()
{
    std::string numbers;
    {
        platform::MutexLock lock(engine.song.songLock(), editLockWaitMs);
        if (lock)
            numbers = unreadSampleNumbers(engine.song);
    }
    platform::setStatusText(("Loading from host... completed." + unreadSamplesStatus(numbers)).c_str());
    if (!numbers.empty() && pluginEditor_ && pluginEditor_->isOpen())
        platform::showMessageBox(unreadSamplesMessage(numbers).c_str(), "Quorbel", platform::kBoxIconError);
}

VstInt32 TesselPlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset)
{
    if (TesselPluginEditor::songFromHost)
        TesselPluginEditor::songFromHost();
    if (isPreset || !data || byteSize <= 0)
        return 0;
    platform::setStatusText("Loading from host...");

    std::unique_ptr<ChunkFile> file;
    for (const std::string& folder : chunkFolders()) {
        file = std::make_unique<ChunkFile>(folder);
        if (file->usable() && writeWholeFile(file->path(), data, static_cast<size_t>(byteSize)))
            break;
        file.reset();
    }
    if (!file) {
        platform::setStatusText("Loading from host... failed.");
        logUsageAction(kCmdHostLoad, 0);
        return 0;
    }
    const int loaded = TesselSongFiles::load ? TesselSongFiles::load(engine, file->path()) : 0;
    // 1 means the chunk held no song: nothing was loaded, so nothing succeeded.
    const int result = loaded >= 2 ? loaded : 0;
    if (result) {
        if (TesselSongFiles::apply)
            TesselSongFiles::apply(engine);
        // The song came from the host, not from a file of the user's; the
        // host keeps it in its session, so it has nothing unsaved.
        engine.song.songPath.clear();
        engine.song.markUnedited();
        reportUnreadSamples();
    } else {
        // The temporary file is never the song's name, whatever the loader did.
        if (engine.song.songPath == file->path())
            engine.song.songPath.clear();
        platform::setStatusText("Loading from host... failed.");
    }
    logUsageAction(kCmdHostLoad, result);
    return result;
}
