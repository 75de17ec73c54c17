#include "editor/core/process_globals.h"

#include "engine/engine_globals.h"
#include "gui/gui_globals.h"
#include "model/model_globals.h"
#include "pagekit/page_globals.h"
#include "plugin/plugin_globals.h"
#include "services/services_globals.h"
#include "shell/shell_globals.h"

TesselProcessGlobals& processGlobals()
{
    static TesselProcessGlobals globals{modelGlobals(), engineGlobals(), shellGlobals(), services::servicesGlobals(),
                                        guiGlobals(),   pageGlobals(),   pluginGlobals()};
    return globals;
}

void TesselProcessGlobals::reset()
{
    // Top down: a page's offscreen and fonts go before anything they were made from.
    plugin.reset();
    pages.reset();
    gui.reset();
    services.reset();
    shell.reset();
    engine.reset();
    model.reset();
}
