#pragma once
// A TesselPlugin built directly on the fake host, with fake module-file
// operations that record their paths. The instance count and the song-file
// hooks are put back after each test.

#include "engine/engine_globals.h"
#include "fake_host.h"
#include "model/model_globals.h"
#include "plain_editor.h"
#include "plugin/plugin_editor.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "plugin/song_files.h"
#include "services/services_globals.h"
#include "shell/shell_globals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct FakeSongFiles {
    static inline std::vector<std::string> savedTo;
    static inline std::vector<std::string> loadedFrom;
    static inline std::string content = "PK fake module";
    static inline bool saveWorks = true;
    static inline int loadResult = 2;
    static inline std::string lastLoaded;
    static inline int applied = 0;

    static bool save(TesselEngine& engine, const std::string& path);
    static int load(TesselEngine& engine, const std::string& path);
    static void apply(TesselEngine&) { ++applied; }

    static void install()
    {
        savedTo.clear();
        loadedFrom.clear();
        content = "PK fake module";
        saveWorks = true;
        loadResult = 2;
        lastLoaded.clear();
        applied = 0;
        TesselSongFiles::save = save;
        TesselSongFiles::load = load;
        TesselSongFiles::apply = apply;
    }
    static void remove()
    {
        TesselSongFiles::save = nullptr;
        TesselSongFiles::load = nullptr;
        TesselSongFiles::apply = nullptr;
    }
};

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeHost::reset();
        FakeHost::get().answers[audioMasterVersion] = 2400;
        installEngineHooks();
        FakeSongFiles::install();
        TesselPluginEditor::maker = PlainEditor::make;
    }
    void TearDown() override
    {
        plugin.reset();
        FakeSongFiles::remove();
        resetPluginSideGlobals();
        TesselPluginEditor::maker = nullptr;
        TesselPluginEditor::songFromHost = nullptr;
    }
    TesselPlugin& make()
    {
        plugin = std::make_unique<TesselPlugin>(FakeHost::callback);
        return *plugin;
    }

    // The process-wide values of the layers the plug-in object builds on,
    // top down as the library's own reset goes (it also holds the editor's).
    static void resetPluginSideGlobals()
    {
        pluginGlobals().reset();
        services::servicesGlobals().reset();
        shellGlobals().reset();
        engineGlobals().reset();
        modelGlobals().reset();
    }

    std::unique_ptr<TesselPlugin> plugin;
};
