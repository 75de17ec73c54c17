// The file box's threads, for the address and thread sanitizers: boxes
// destroyed during their first listing, drawing and input while it runs,
// and a box destroyed while its preview sounds on a rendering thread.
#include "gui/file_box_fixture.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int kFiles = 5000;

void fillFolder(const ScratchFolder& folder)
{
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%04d.%s", i % 2 ? "Take" : "loop", i, i % 3 ? "txt" : "wav");
        folder.write(name, "");
    }
}

// Renders the engine's voices as the audio block would, until stopped.
class RenderingThread {
public:
    explicit RenderingThread(TesselEngine& engine)
        : thread_([this, &engine] {
              while (!stop_.load()) {
                  platform::MutexLock lock(engine.song.songLock(), 100);
                  if (!lock)
                      continue;
                  engine.output.frames = 256;
                  engine.output.silence();
                  TesselEngine::renderVoices(engine.voiceLists, engine.output, 256);
                  ++blocks;
              }
          })
    {
    }
    ~RenderingThread()
    {
        stop_.store(true);
        thread_.join();
    }

    std::atomic<int> blocks{0};

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace

TEST_F(FileBoxTest, HundredBoxesOnAFiveThousandFileFolderGoAtOnce)
{
    fillFolder(scratch);
    std::vector<std::unique_ptr<TesselFileBox>> boxes;
    for (int i = 0; i < 100; ++i)
        boxes.push_back(box(scratch.path(), i % 2 ? TesselFileBox::kSampleBrowser : TesselFileBox::kInstrumentBrowser));
    settle(*boxes.front());
    EXPECT_EQ(boxes.front()->getList().entryCount(), kFiles + 2);
    EXPECT_EQ(boxes.front()->getList().entry(2).name, "loop0000.wav");
    boxes.clear();
}

TEST_F(FileBoxTest, DrawingAndInputDuringTheFirstListing)
{
    fillFolder(scratch);
    auto b = box(scratch.path());
    COffscreenContext page{nullptr, 420, 230, kBlackCColor};
    const CRect list = *b->getList().getRect();
    int passes = 0;
    do {
        b->drawBrowser(&page, true);
        b->onFileKey(namedKey(kVkDown));
        b->onFileKey(namedKey(kVkDown));
        b->onFileKey(charKey('z'));
        b->onFileKey(namedKey(kVkUp));
        b->onWheel(CPoint(list.left + 20, list.top + 20), -1.0f);
        b->handleClick(1 | TesselFileBox::kFreshPress, CPoint(list.left + 20, list.top + 12));
        b->handleClick(0, CPoint(list.left + 20, list.top + 12));
        b->relist();   // nothing while the first listing runs; after it, a listing of its own
        ++passes;
    } while (b->firstScanPending() && !b->idle());
    EXPECT_GT(passes, 0);
    EXPECT_EQ(b->getList().entryCount(), kFiles + 2);
    EXPECT_TRUE(b->getList().getMessage().empty());
    b->drawBrowser(&page, true);
    // A file made since: the next listing shows it.
    scratch.write("zzz.wav", "RIFF");
    b->relist();
    EXPECT_EQ(b->getList().entryCount(), kFiles + 3);
    EXPECT_EQ(b->getList().entry(kFiles + 2).name, "zzz.wav");
}

TEST_F(FileBoxTest, BoxDestroyedWhileItsPreviewSounds)
{
    buildFolder();
    RenderingThread audio(*engine);
    for (const char* start : {"", "song.zip"}) {
        auto b = box(*start ? scratch.file(start) : scratch.path());
        settle(*b);
        if (*start) {
            b->getList().setSelection(3);   // "03: Snare"
            b->onFileKey(namedKey(kVkDown));
            b->onFileKey(namedKey(kVkUp));
        } else {
            b->getList().setSelection(6);   // drum.wav
        }
        b->onFileKey(namedKey(kVkDown));
        b->onFileKey(charKey('z'));
        TesselVoiceListNode* head = nullptr;
        {
            platform::MutexLock lock(engine->song.songLock(), platform::kWaitForever);
            head = engine->voiceLists[TesselChannelVoiceList::kPreview].head;
            ASSERT_TRUE(head && head->voice && head->voice->sample) << start;
        }
        const int before = audio.blocks.load();
        while (audio.blocks.load() < before + 3)
            std::this_thread::yield();
        b.reset();
        {
            platform::MutexLock lock(engine->song.songLock(), platform::kWaitForever);
            EXPECT_EQ(head->voice->sample, nullptr) << "silenced before its samples went";
            EXPECT_EQ(engine->heldNotes[0][48], 0);
        }
        const int after = audio.blocks.load();
        while (audio.blocks.load() < after + 3)
            std::this_thread::yield();
    }
}
