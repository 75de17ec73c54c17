// The sample page on a real X server of the test's own: the editor opened
// over a host window of a second connection, keys through the host's key
// calls, and PNG screenshots of the list with a stereo sample, a zoomed loop
// view and the browser, read back from the server.

#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "editor/sample_list/sample_list_page.h"
#include "engine/engine.h"
#include "model/scratch_folder.h"
#include "pagekit/file_box.h"
#include "pagekit/page_globals.h"
#include "platform/graphics/image.h"
#include "platform/system/folders.h"
#include "plugin/fake_host.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "resources/palette.h"
#include "shell/preferences.h"
#include "support/outside_tools.h"
#include "support/x11_grab.h"
#include "support/xvfb_server.h"
#include "x11_editor_fixture.h"

// After the window layer's headers: Xlib's macros rename two of its messages.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

namespace {

constexpr int32_t kPageLeft = TesselEditor::kSidePageLeft;
constexpr int32_t kPageTop = TesselEditor::kSidePageTop;

class SamplePageOnX : public EditorOnX {
protected:
    void SetUp() override
    {
        EditorOnX::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        editor->sampleFolder() = scratch.path() + "/";
    }

    // The host's calls with an index (keys).
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f)
    {
        AEffect* effect = plugin->getAeffect();
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    // A host key call: a named key (VST virtual key) or a character.
    void key(uint8_t virtualKey, int32_t character = 0)
    {
        dispatch(effEditKeyDown, character, virtualKey);
        dispatch(effEditKeyUp, character, virtualKey);
        idlePasses(3);
    }
    // The editor window as the server holds it, written as a PNG.
    platform::Image shot(const std::string& name)
    {
        const auto xid = static_cast<::Window>(editor->editorWindow()->handle());
        platform::Image picture = grabWindow(host, xid);
        EXPECT_TRUE(platform::makeFolders("screenshots") && picture.writePng("screenshots/" + name));
        return picture;
    }
    // Pixels of a colour in a page rectangle of the shot.
    static int count(const platform::Image& picture, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     platform::Colour colour)
    {
        int n = 0;
        for (int32_t y = kPageTop + top; y < kPageTop + bottom; ++y)
            for (int32_t x = kPageLeft + left; x < kPageLeft + right; ++x)
                n += picture.pixelAt(x, y) == colour;
        return n;
    }
    // A stereo chord in slot 1: a sine on the left, a slower one on the right.
    void stereoSample()
    {
        TesselSample& s = plugin->getEngine().song.samples[0];
        constexpr uint32_t kFrames = 44100;
        ASSERT_TRUE(s.audio.allocate(2, kFrames));
        for (uint32_t f = 0; f < kFrames; ++f) {
            const float fade = 1.0f - static_cast<float>(f) / kFrames;
            s.audio.buffers[0][f] = 30000.0f * fade * std::sin(0.01f * static_cast<float>(f));
            s.audio.buffers[1][f] = 20000.0f * std::sin(0.0023f * static_cast<float>(f));
        }
        s.setName("Stereo pad");
        s.filename = "pad.wav";
        s.length = kFrames;
        s.channels = 2;
        s.bits = 16;
        s.speed = s.fileRate = 44100;
        s.loop.type = 1;
        s.loop.setBegin(11025);
        s.loop.setEnd(33075);
        s.sustain.setEnd(kFrames);
        s.vibrato = {8, 0, 4, 20};
        s.buildOverview();
    }

    ScratchFolder scratch;
};

TEST_F(SamplePageOnX, ListModeWithAStereoSampleAZoomedLoopAndTheBrowser)
{
    scratch.write("kick.wav", "RIFF");
    scratch.write("Loops.zip", "PK");
    ASSERT_EQ(mkdir(scratch.file("drums").c_str(), 0700), 0);
    stereoSample();
    XSetWindowAttributes set{};
    const ::Window hostWindow = XCreateWindow(host, DefaultRootWindow(host), 100, 40, 493, 36, 0, CopyFromParent,
                                              InputOutput, CopyFromParent, 0, &set);
    XMapWindow(host, hostWindow);
    XSync(host, False);
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
    idlePasses(10);
    ASSERT_NE(editor->editorWindow(), nullptr);
    key(54);   // Shift: the splash fades
    for (int i = 0; i < 100 && editor->splash()->isShown(); ++i)
        idlePasses(1);
    key(kVkF1 + 2);   // F3
    ASSERT_EQ(currentPageNumber(), kSampleListPage);
    auto* page = dynamic_cast<TesselSampleListUI*>(editor->pages().sampleList);
    ASSERT_NE(page, nullptr);

    const platform::Image list = shot("sample_list_stereo.png");
    const platform::Colour wave = resources::palette::kInkCyan;
    // Both lanes of the waveform carry the overview.
    EXPECT_GT(count(list, 278, 30, 690, 132, wave), 2000);
    EXPECT_GT(count(list, 278, 134, 690, 236, wave), 2000);

    key(2);    // Tab: the file name
    for (int i = 0; i < 3; ++i)
        key(14);   // Down: speed, loop type, loop begin
    key(10);   // Home, then four digits right: ten frames a column
    for (int i = 0; i < 4; ++i)
        key(13);
    ASSERT_EQ(page->focusedField(), TesselSampleFields::kLoopBegin);
    const platform::Image zoom = shot("sample_loop_zoom.png");
    // The two points' marks, in the middle of each view.
    const platform::Colour mark = resources::palette::kInkAmber;
    EXPECT_GT(count(zoom, 278 + 102, 30, 278 + 103, 236, mark), 60);
    EXPECT_GT(count(zoom, 278 + 207 + 102, 30, 278 + 207 + 103, 236, mark), 60);
    EXPECT_GT(count(zoom, 278, 30, 690, 236, wave), 300);

    key(kVkF1 + 2);   // F3 on the page: the browser
    ASSERT_EQ(page->listMode(), TesselSampleListUI::kBrowserMode);
    for (int i = 0; i < 100 && page->fileBox().firstScanPending(); ++i)
        idlePasses(1);
    idlePasses(3);
    const platform::Image browser = shot("sample_browser.png");
    EXPECT_EQ(count(browser, 278, 30, 690, 236, wave), 0);   // the waveform has gone
    // The folder's entries in the list: "/", "..", the folder and the two files.
    EXPECT_GT(count(browser, 280, 42, 680, 90, resources::palette::kInkNormal), 100);

    dispatch(effEditClose);
}

} // namespace
