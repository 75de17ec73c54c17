#pragma once
// The sample list page in the real editor on headless windows: the page
// opened with F3, keys and clicks through the editor window, the song's
// slots filled with audio, their markup and audio read back, and sample
// files made by the system's tools in a scratch folder that the page's
// browser starts in.

#include "editor/sample_list/sample_list_page.h"
#include "editor/editor_fixture.h"
#include "engine/engine.h"
#include "pagekit/file_box.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"

#include <cmath>
#include <string>
#include <vector>

class SamplePageTest : public EditorTest {
protected:
    static constexpr int32_t kPageLeft = TesselEditor::kSidePageLeft;
    static constexpr int32_t kPageTop = TesselEditor::kSidePageTop;

    // The editor open on the sample page; its browser starts in the scratch folder.
    void openPage()
    {
        editor->sampleFolder() = scratch.path() + "/";
        open();
        dismissSplash();
        press(platform::kWinF1 + 2);
        ASSERT_EQ(pageNumber(), kSampleListPage);
        ASSERT_NE(page(), nullptr);
    }
    TesselSampleListUI* page() { return dynamic_cast<TesselSampleListUI*>(editor->pages().sampleList); }
    TesselSample& slot(int32_t index) { return engine().song.samples[static_cast<size_t>(index)]; }

    // A left click at a page point, far enough in time from the last to be
    // a click of its own.
    void clickPage(int32_t x, int32_t y)
    {
        windows.advance(1000);
        windows.click(*editor->frame2()->getWindow(), {kPageLeft + x, kPageTop + y});
        idle();
    }

    // Keys pressed one after another while Alt stays down.
    void holdingAlt(std::initializer_list<uint8_t> keys)
    {
        windows.injectKey(platform::kWinMenu, true);
        for (uint8_t key : keys)
            press(key);
        windows.injectKey(platform::kWinMenu, false);
        idle();
    }

    // A sine of that many frames per channel in the slot, at most `peak` high.
    void fillSlot(int32_t index, const char* name, int32_t frames, int32_t channels, int32_t bits, float peak)
    {
        TesselSample& s = slot(index);
        ASSERT_TRUE(s.audio.allocate(channels, static_cast<uint32_t>(frames)));
        for (int32_t c = 0; c < channels; ++c)
            for (int32_t f = 0; f < frames; ++f)
                s.audio.buffers[c][f] = peak * std::sin(0.05f * static_cast<float>(f + 7 * c));
        s.setName(name);
        s.length = frames;
        s.channels = channels;
        s.bits = bits;
        s.speed = s.fileRate = 44100;
        s.loop.setEnd(frames);
        s.sustain.setEnd(frames);
        s.buildOverview();
    }

    // The sample's settings as the song file writes them.
    static std::string markup(const TesselSample& s, int32_t index)
    {
        return writtenText([&](FILE* f) { s.writeXml(index, f, "", false); });
    }
    // Its markup and a digest of its audio, to compare slots byte for byte.
    std::string contents(int32_t index)
    {
        const TesselSample& s = slot(index);
        uint64_t digest = 1469598103934665603ull;
        for (int32_t c = 0; c < s.audio.channels; ++c) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(s.audio.buffers[c]);
            for (size_t i = 0; i < s.audio.frames * sizeof(float); ++i)
                digest = (digest ^ bytes[i]) * 1099511628211ull;
        }
        return markup(s, index) + "audio " + std::to_string(s.audio.frames) + " " + std::to_string(digest);
    }

    // Through the browser's list: down or up to the entry, then Enter.
    void chooseInBrowser(const std::string& start)
    {
        TesselFileBox& box = page()->fileBox();
        for (int i = 0; i < 100 && box.firstScanPending(); ++i)
            idle();
        if (box.getFocusPart() == 0)
            press(platform::kWinDown);
        int32_t wanted = -1;
        for (int32_t i = 0; i < box.getList().entryCount() && wanted < 0; ++i)
            if (box.getList().entry(i).name.rfind(start, 0) == 0)
                wanted = i;
        ASSERT_GE(wanted, 0) << start;
        while (box.getList().getSelection() < wanted)
            press(platform::kWinDown);
        while (box.getList().getSelection() > wanted)
            press(platform::kWinUp);
        press(platform::kWinReturn);
    }

    // A file made by a shell command in the scratch folder; its path.
    std::string make(const std::string& name, const std::string& command)
    {
        const std::string path = scratch.file(name);
        EXPECT_EQ(std::system(("cd '" + scratch.path() + "' && " + command + " >/dev/null 2>&1").c_str()), 0)
            << command;
        return path;
    }
    static int64_t soxi(const std::string& option, const std::string& path)
    {
        FILE* pipe = popen(("soxi " + option + " '" + path + "'").c_str(), "r");
        long long value = -1;
        if (pipe) {
            if (std::fscanf(pipe, "%lld", &value) != 1)
                value = -1;
            pclose(pipe);
        }
        return value;
    }

    ScratchFolder scratch;
};
