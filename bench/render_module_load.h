#pragma once
// The offline host of render_module: the plug-in and editor the engine's
// block asks for (no host time information, so the song keeps its own
// tempo), and loading a song file into the engine.

#include "engine/engine.h"

#include <string>

class OfflineHost : public TesselPluginLink, public TesselEditorLink {
public:
    void attach(TesselEngine& engine, float rate);
    void detach(TesselEngine& engine);
    // Song playback from the start; false when the song cannot play.
    bool start(TesselEngine& engine);
    bool playing(const TesselEngine& engine) const;

    intptr_t canHostDo(const char*) override { return 0; }
    const char* hostVendor() const override { return ""; }
    int32_t hostBlockSize() const override { return blockSize_; }
    void noteHostBlockSize(int32_t frames) override { blockSize_ = frames; }

private:
    int32_t blockSize_ = 0;
};

// Any file the engine can play: a zip holding "Module.xml", or an imported
// module by its extension. The song lock is held for the whole load.
bool loadSong(TesselEngine& engine, const std::string& path);
