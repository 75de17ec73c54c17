#pragma once
// The editor on a real X server: an Xvfb of the test's own, a second
// connection that plays the host (its window, its keyboard through XTest),
// and the editor's own connection opened by effEditOpen from DISPLAY.
// Screenshots go to screenshots/ as PNG files.

#include "editor/demo_song.h"
#include "editor/core/process_globals.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "pagekit/frame2.h"
#include "patterneditor/pattern_editor_ui.h"
#include "platform/system/folders.h"
#include "platform/graphics/image.h"
#include "plugin/fake_host.h"
#include "pagekit/page_globals.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "shell/preferences.h"
#include "support/demo_song.h"
#include "support/outside_tools.h"
#include "support/xvfb_server.h"

// After the window layer's headers: Xlib's macros rename two of its messages.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

constexpr int kHostX = 100;
constexpr int kHostY = 80;

class EditorOnX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(outside_tools::have({"Xvfb"}));
        server = std::make_unique<XvfbServer>();
        ASSERT_FALSE(server->name().empty()) << "Xvfb did not start";
        const char* before = std::getenv("DISPLAY");
        savedDisplay = before ? before : "";
        setenv("DISPLAY", server->name().c_str(), 1);
        host = XOpenDisplay(server->name().c_str());
        ASSERT_NE(host, nullptr);

        FakeHost::reset();
        FakeHost::get().answers[audioMasterVersion] = 2400;
        installEngineHooks();
        installTesselEditor();
        TesselEditor::windowSystemSource = nullptr;   // the editor's own connection
        plugin = std::make_unique<TesselPlugin>(FakeHost::callback);
        editor = dynamic_cast<TesselEditor*>(plugin->pluginEditor());
        ASSERT_NE(editor, nullptr);
        TesselPreferences& preferences = pluginPreferences();
        preferences.keyboardMode = 0;
        preferences.linkWindows = 0;
        preferences.alwaysOnTop = 0;
    }
    void TearDown() override
    {
        plugin.reset();
        TesselPluginEditor::maker = nullptr;
        processGlobals().reset();
        if (host)
            XCloseDisplay(host);
        server.reset();
        if (savedDisplay.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", savedDisplay.c_str(), 1);
    }

    // The demo song in the plug-in, which then renders blocks as a host's
    // audio thread would.
    void startSong()
    {
        AEffect* effect = plugin->getAeffect();
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        effect->dispatcher(effect, effSetBlockSize, 0, 512, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        TesselEngine& engine = plugin->getEngine();
        {
            platform::MutexLock lock(engine.song.songLock(), kEditLockWaitMs);
            demo_song::fill(engine.song);
        }
        engine.rebuildSongPlaylist(nullptr, false);
        engine.rebuildPatternPlaylists(false);
    }
    void render(int blocks)
    {
        std::vector<float> left(512), right(512);
        float* outputs[2] = {left.data(), right.data()};
        AEffect* effect = plugin->getAeffect();
        for (int i = 0; i < blocks; ++i)
            effect->processReplacing(effect, nullptr, outputs, 512);
    }

    ::Window makeHostWindow()
    {
        XSetWindowAttributes set{};
        set.background_pixel = 0x303030;
        const ::Window w = XCreateWindow(host, DefaultRootWindow(host), kHostX, kHostY, 493, 36, 0, CopyFromParent,
                                         InputOutput, CopyFromParent, CWBackPixel, &set);
        XStoreName(host, w, "Host");
        XSelectInput(host, w, KeyPressMask | KeyReleaseMask);
        XMapWindow(host, w);
        XSync(host, False);
        return w;
    }

    // The editor opened over a host window of ours, its splash faded out
    // by a key: the editor window, 0 when it did not come up.
    ::Window openPastSplash()
    {
        if (dispatch(effEditOpen, 0, reinterpret_cast<void*>(makeHostWindow())) != 1
            || !idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }))
            return 0;
        const ::Window editorXid = topLevelsNamed("Quorbel Window").front();
        editor->frame2()->getWindow()->takeFocus();
        tap(XK_Shift_L);
        return idleUntil([&] { return !editor->splash()->isShown(); }) ? editorXid : 0;
    }

    // The pattern editor page showing the demo song's pattern 0.
    TesselPatternEditorUI* showDemoPattern()
    {
        auto* page = dynamic_cast<TesselPatternEditorUI*>(editor->pages().patternEditor);
        if (!page)
            return nullptr;
        fillDemoSongInto(plugin->getEngine().song);
        page->fillInstrumentList(0);
        page->goToPattern(0, true);
        return page;
    }

    // Alt+D typed at a cell: a block of rows selected there; false when none came.
    bool selectBlockAt(TesselPatternEditorUI* page, int32_t column, int32_t row)
    {
        page->grid().moveCursorTo(column, row);
        key(XK_Alt_L, true);
        tap(XK_d);
        key(XK_Alt_L, false);
        return idleUntil([&] { return page->grid().selection.active != 0; });
    }

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr)
    {
        AEffect* effect = plugin->getAeffect();
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }
    // The host's requests handled, then editor idles until the condition
    // holds (at most about three seconds of them).
    bool idleUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 150; ++i) {
            XSync(host, False);
            dispatch(effEditIdle);
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    void idlePasses(int passes)
    {
        for (int i = 0; i < passes; ++i) {
            XSync(host, False);
            dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void key(KeySym sym, bool down)
    {
        XTestFakeKeyEvent(host, XKeysymToKeycode(host, sym), down ? True : False, CurrentTime);
        XFlush(host);
    }
    void tap(KeySym sym)
    {
        key(sym, true);
        key(sym, false);
    }

    std::vector<::Window> childrenOf(::Window w)
    {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        std::vector<::Window> out;
        if (XQueryTree(host, w, &root, &parent, &children, &count)) {
            out.assign(children, children + count);
            if (children)
                XFree(children);
        }
        return out;
    }
    // The mapped top-level windows with that name.
    std::vector<::Window> topLevelsNamed(const char* name)
    {
        std::vector<::Window> found;
        for (::Window w : childrenOf(DefaultRootWindow(host))) {
            char* title = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(host, w, &title) && title) {
                if (std::string(title) == name && XGetWindowAttributes(host, w, &attributes)
                    && attributes.map_state == IsViewable)
                    found.push_back(w);
                XFree(title);
            }
        }
        return found;
    }
    bool writeShot(::Window w, const std::string& name)
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(host, w, &attributes);
        XImage* shot = XGetImage(host, w, 0, 0, unsigned(attributes.width), unsigned(attributes.height), AllPlanes,
                                 ZPixmap);
        if (!shot)
            return false;
        std::vector<uint32_t> pixels;
        for (int y = 0; y < attributes.height; ++y)
            for (int x = 0; x < attributes.width; ++x)
                pixels.push_back(uint32_t(XGetPixel(shot, x, y)) & 0xFFFFFFu);
        XDestroyImage(shot);
        lastShot = platform::Image::fromPixels(attributes.width, attributes.height, pixels.data());
        return platform::makeFolders("screenshots") && lastShot.writePng("screenshots/" + name);
    }
    // A grab by the host of a key our hot keys hold fails while they hold it.
    bool hostCanGrab(KeySym sym, unsigned int modifiers)
    {
        static int failures;
        failures = 0;
        XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) {
            ++failures;
            return 0;
        });
        XGrabKey(host, XKeysymToKeycode(host, sym), modifiers, DefaultRootWindow(host), True, GrabModeAsync,
                 GrabModeAsync);
        XSync(host, False);
        XUngrabKey(host, XKeysymToKeycode(host, sym), modifiers, DefaultRootWindow(host));
        XSync(host, False);
        XSetErrorHandler(previous);
        return failures == 0;
    }

    std::unique_ptr<XvfbServer> server;
    std::string savedDisplay;
    Display* host = nullptr;
    std::unique_ptr<TesselPlugin> plugin;
    TesselEditor* editor = nullptr;
    platform::Image lastShot;
};
