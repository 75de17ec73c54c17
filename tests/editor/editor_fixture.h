#pragma once
// The plug-in with its real editor, driven through the VST 2 dispatcher on a
// headless window system: a host window that effEditOpen gets, keys injected
// into the focused window and the fake clock moved between idles.

#include "common/help_popup.h"
#include "common/help_viewer.h"
#include "editor/core/process_globals.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "editor/core/toolbar_ui.h"
#include "gui/controls/button.h"
#include "pagekit/frame2.h"
#include "pagekit/page_globals.h"
#include "patterneditor/pattern_editor_ui.h"
#include "platform/headless/headless_window.h"
#include "platform/key_table.h"
#include "platform/status_text.h"
#include "plugin/fake_host.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "shell/preferences.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// The usage log's records after its header, each from its type letter on.
inline std::vector<std::string> usageRecords(TesselEditor& editor)
{
    editor.usageLog().flush();
    std::ifstream in(editor.usageLog().path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> records;
    if (bytes.empty())
        return records;
    // The header: 'v', two texts, a version, two texts, a version.
    size_t at = 1;
    for (int part = 0; part < 2 && at < bytes.size(); ++part) {
        for (int text = 0; text < 2 && at < bytes.size(); ++text)
            at += 1 + static_cast<uint8_t>(bytes[at]);
        at += 4;
    }
    // Each record: a 4-byte time, then its payload.
    while (at + 5 <= bytes.size()) {
        const char type = bytes[at + 4];
        const size_t size = type == 'a' ? 6 : type == 'k' ? 7 : type == 'f' ? 4 : type == 'm' ? 6
                          : type == 'p' ? 120 : type == 'd' ? 5 : type == 'c' ? 9 : 0;
        if (size == 0 || at + 4 + size > bytes.size())
            break;
        records.push_back(bytes.substr(at + 4, size));
        at += 4 + size;
    }
    return records;
}

// Answers the host's identity; the product is settable for the own host.
struct EditorHost {
    static inline std::string product = "Test Host";

    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt)
    {
        if (opcode == audioMasterGetProductString && ptr) {
            std::strcpy(static_cast<char*>(ptr), product.c_str());
            return 1;
        }
        if (opcode == audioMasterGetVendorString && ptr) {
            std::strcpy(static_cast<char*>(ptr), "Test Vendor");
            return 1;
        }
        return FakeHost::callback(effect, opcode, index, value, ptr, opt);
    }
};

class EditorTest : public ::testing::Test {
protected:
    static constexpr platform::Rect kHostRect{200, 100, 693, 136};

    void SetUp() override
    {
        FakeHost::reset();
        FakeHost::get().answers[audioMasterVersion] = 2400;
        installEngineHooks();
        installTesselEditor();
        platform::clearStatusText();
        platform::setFileMessage("");
        processGlobals().reset();
        TesselEditor::windowSystemSource = [this] { return &windows; };
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = kHostRect;
        options.title = "Host";
        host = windows.createWindow(options);
        makePlugin();
    }
    // The engine reads the preferences anew; then keys go through the
    // windows, and the window stays where it is made, below the others.
    void makePlugin()
    {
        plugin.reset();
        plugin = std::make_unique<TesselPlugin>(EditorHost::callback);
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
        TesselEditor::windowSystemSource = nullptr;
        TesselPluginEditor::maker = nullptr;
        EditorHost::product = "Test Host";
        processGlobals().reset();
    }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f)
    {
        AEffect* effect = plugin->getAeffect();
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    // effEditOpen on the host window and the idle that makes the editor window.
    void open()
    {
        EXPECT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host->handle())), 1);
        idle();
        ASSERT_NE(editor->editorWindow(), nullptr);
        editor->frame2()->getWindow()->takeFocus();
    }
    void idle(int passes = 1)
    {
        for (int i = 0; i < passes; ++i)
            dispatch(effEditIdle);
    }
    // Lets the splash fade in and out so that keys reach the pages.
    void dismissSplash()
    {
        idle();
        press(platform::kWinShift);
        for (int i = 0; i < 40 && editor->splash()->isShown(); ++i) {
            windows.advance(50);
            idle();
        }
        ASSERT_FALSE(editor->splash()->isShown());
    }
    // Down and up of a key through the focused window, then an idle.
    void press(uint8_t key)
    {
        windows.pressKey(key);
        idle();
    }
    // A key with modifiers held around it.
    void chord(std::initializer_list<uint8_t> modifiers, uint8_t key)
    {
        for (uint8_t m : modifiers)
            windows.injectKey(m, true);
        windows.pressKey(key);
        for (uint8_t m : modifiers)
            windows.injectKey(m, false);
        idle();
    }

    // Passes of the fake clock and the idle: the help popup loads and fits
    // its page, the help panel slides a step each redraw request.
    void settle(int passes = 10, uint32_t ms = 10)
    {
        for (int i = 0; i < passes; ++i) {
            windows.advance(ms);
            idle();
        }
    }
    // The page the help popup shows, empty while none is open.
    std::string popupPage() const
    {
        const help::CHelpPopup* popup = editor->helpPopup();
        return popup && popup->isOpen() ? popup->page() : std::string();
    }
    // The page the help viewer shows, empty while it is closed.
    std::string viewerPage() const
    {
        const help::HelpViewer* viewer = editor->helpViewer();
        return viewer && viewer->isOpen() ? viewer->page() : std::string();
    }
    // The same, then the focus goes back to the editor's pages (the viewer
    // takes it when it opens), as a click there would give it.
    std::string viewedPageThenBack()
    {
        const std::string page = viewerPage();
        editor->frame2()->getWindow()->takeFocus();
        idle();
        return page;
    }

    TesselToolbarUI* toolbar() { return dynamic_cast<TesselToolbarUI*>(editor->pages().toolbar); }
    // The page whose toolbar button is down (2 to 6), 0 for none.
    int32_t toolbarPageDown()
    {
        constexpr int32_t pages[] = {0, 0, kSampleListPage, kInstrumentListPage, kInfoPage, kOrderListPage,
                                     kPreferencesPage};
        for (int i = 2; i <= 6; ++i)
            if (toolbar()->button(i)->getState())
                return pages[i];
        return 0;
    }
    TesselPatternEditorUI* patternPage() { return dynamic_cast<TesselPatternEditorUI*>(editor->pages().patternEditor); }
    int32_t pageNumber() const { return currentPageNumber(); }
    TesselEngine& engine() { return plugin->getEngine(); }

    platform::HeadlessWindowSystem windows;
    std::unique_ptr<platform::Window> host;
    std::unique_ptr<TesselPlugin> plugin;
    TesselEditor* editor = nullptr;
};
