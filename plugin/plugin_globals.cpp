#include "plugin/plugin_globals.h"
#include "shell/preferences.h"

#include "engine/engine.h"
#include "engine/engine_actions.h"
#include "engine/engine_status.h"
#include "shell/command_scheme.h"
#include "shell/usage_log.h"

#include <strings.h>

TesselPluginGlobals& pluginGlobals()
{
    static TesselPluginGlobals globals;
    return globals;
}

void TesselPluginGlobals::reset()
{
    hostIdentity = {};
    instances.count.store(0);
    instances.number = 0;
    instances.constructionFailed = false;
    instances.running.store(nullptr);
    changeCounter.store(0);
    keyLookupMap.clear();
}

bool inOwnHost()
{
    return strcasecmp(hostIdentity().product, "Quorbel Host") == 0;
}

namespace {

void buildCommandTree()
{
    defaultScheme().resetToDefaults();
}

void loadPreferences(TesselEngine& engine)
{
    TesselPreferences& preferences = pluginPreferences();
    preferences.setDefaults();
    preferences.load(defaultScheme());
    TesselEnginePreferences& own = engine.preferences;
    own.disableMidi = preferences.disableMidi;
    own.defaultTempo = preferences.defaultTempo;
    own.defaultResolution = preferences.defaultResolution;
    own.defaultRowsPerBeat = preferences.defaultRowsPerBeat;
    own.midiInMode = preferences.midiInMode;
    own.followPattern = preferences.followPattern;
}

// The engine numbers its actions without seeing the log's table.
constexpr bool same(TesselEngineAction ours, TesselLogAction logs)
{
    return static_cast<int>(ours) == static_cast<int>(logs);
}
static_assert(same(kActPlaySong, kCmdPlaySong) && same(kActStopNow, kCmdStopNow) && same(kActHostCycle, kCmdHostCycle) &&
              same(kActUndo, kCmdUndo) && same(kActTempo, kCmdTempo) && same(kActMidiInput, kCmdMidiInput));

// The audio thread must not wait for the log's lock nor write its file: a
// record that finds the log busy or full is dropped there.
void logEngineAction(int action, int32_t value)
{
    TesselUsageLog* log = usageLog();
    if (!log)
        return;
    const OMBRIX::iCOMMAND record(static_cast<uint8_t>(action), value);
    if (TesselAudioThreadScope::active())
        log->appendNoWait(record);
    else
        log->append(record);
}

} // namespace

void installEngineHooks()
{
    TesselEngineHooks::logAction = logEngineAction;
    TesselEngineHooks::buildCommandTree = buildCommandTree;
    TesselEngineHooks::loadPreferences = loadPreferences;
}
