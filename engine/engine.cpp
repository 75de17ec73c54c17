#include "engine/engine.h"

#include "engine/engine_globals.h"
#include "engine/midi/engine_midi.h"
#include "engine/midi/midi_out.h"
#include "engine/pool.h"
#include "engine/tables.h"
#include "engine/vector/vector.h"
#include "platform/system/library_handle.h"
#include "platform/system/version.h"

#include <cstring>
#include <strings.h>

TesselEngine::TesselEngine()
{
    songLock_ = &song.songLock();
    for (auto& list : patternTiming)
        list = std::make_unique<TesselPlaylist>(kPatternTimingCapacity, 120.0, 6.0);
    editor = nullptr;
    tempo = 120.0;
    nextTempoChange = 0;
    for (TesselMidiInSlot& slot : midiInSlots)
        slot.reset();
    // The output exists (with the host's entry at least) even when the rest
    // of the construction fails below.
    midiHost_ = std::make_unique<TesselEngineMidiHost>(*this);
    ownMidiOut_ = makeMidiOut ? makeMidiOut() : std::make_unique<TesselMidiOut>();
    midiOut = ownMidiOut_.get();
    if (midiOut)
        midiOut->attach(midiHost_.get());

    platform::MutexLock lock(song.songLock(), lockWaitMs);
    if (!lock)
        return;   // the engine stays unusable: no pools, tables or timing lists
    construct();
}

void TesselEngine::construct()
{
    // Only one engine runs per process, but a second one must not pull the
    // pools from under the first: the last one out deletes them.
    const bool pools = TesselPools::create();
    ownsPools_ = true;
    ++TesselPools::users;
    sampleRate = 0.0f;
    hostSendsTime = 1;
    findLibrary();
    engineGlobals().programVersion = platform::programVersion();
    engineGlobals().reportVersion = platform::programVersion();
    vecSelectCpuLevel();

    output.bus = &song.outputBus;
    output.frames = 0;
    output.requestedChannels = static_cast<uint8_t>(song.outputBus.type);
    output.maxChannels = TesselBusBuffer::kChannels;
    output.channels = TesselBusBuffer::kChannels;
    output.renderedFor = 0;
    output.pending = 0;
    output.ready = 1;

    if (TesselEngineHooks::buildCommandTree)
        TesselEngineHooks::buildCommandTree();
    preferences.setDefaults();
    if (TesselEngineHooks::loadPreferences)
        TesselEngineHooks::loadPreferences(*this);
    // The host's entry of the port table works without the ports.
    if (midiOut && !preferences.disableMidi)
        midiOut->open();

    song.reset(preferences.defaultTempo, preferences.defaultResolution, preferences.defaultRowsPerBeat);
    if (midiOut)
        midiOut->resolveInstrumentPorts(song);

    char* slash = std::strrchr(libraryFolder, '/');
    if (slash && slash - libraryFolder >= 3)
        *slash = '\0';

    currentOrder = 0;
    playingOrder_.store(0, std::memory_order_relaxed);
    positions.emplace_back();
    transport = kStoppedCut;
    blockFrames = 0;

    fillTesselPlaybackTables();
    std::memset(heldNotes, 0, sizeof heldNotes);

    hangTemplateVoices();

    const double resolution = preferences.defaultResolution;
    if (resolution != speed) {
        speed = resolution;
        computeTiming();
    }
    if (preferences.defaultTempo != tempo) {
        tempo = preferences.defaultTempo;
        computeTiming();
    }

    setOrderToFirstPatterns();
    rebuildSongPlaylist(nullptr);
    rebuildPatternPlaylists(true);
    usable_ = pools;
}

void TesselEngine::findLibrary()
{
    const std::string path = platform::libraryPath();
    std::strncpy(libraryFolder, path.c_str(), sizeof libraryFolder - 1);
    libraryFolder[sizeof libraryFolder - 1] = '\0';
    const size_t slash = path.find_last_of('/');
    engineGlobals().libraryFileName = slash == std::string::npos ? path : path.substr(slash + 1);
}

void TesselEngine::hangTemplateVoices()
{
    TesselVoicePool* voices = TesselPools::voices;
    TesselVoiceListPool* nodes = TesselPools::nodes;
    TesselVoiceListNode templateNode;
    templateNode.voice = voices ? voices->acquire(nullptr) : nullptr;
    for (int c = 0; c < kVoiceLists; ++c) {
        if (c < kChannels)
            song.channels[static_cast<size_t>(c)].midiOut = midiOut;
        liveChannels()[static_cast<size_t>(c)].midiOut = midiOut;
        midiInSlots[static_cast<size_t>(c)].reset();

        TesselChannelVoiceList& list = voiceLists[static_cast<size_t>(c)];
        list.channel = c;
        TesselVoiceListNode* node = nullptr;
        if (!list.head) {
            node = nodes ? nodes->acquire(&templateNode) : nullptr;
            list.head = node;
        } else if (list.head->append(templateNode)) {
            node = list.head->last();
        }
        if (node) {
            node->delay = -1;
            if (node->voice)
                node->voice->setState(voice_state::kIdle);
        }
    }
    if (templateNode.voice)
        voices->release(templateNode.voice);
    templateNode.voice = nullptr;
}

void TesselEngine::setOrderToFirstPatterns()
{
    for (int i = 0; i < 32; ++i)
        song.orderList.entries[static_cast<size_t>(i)].pattern = i;
    song.orderList.updateLength();
}

TesselEngine::~TesselEngine()
{
    stopNow();
    platform::MutexLock lock(song.songLock(), lockWaitMs);
    if (!lock)
        return;   // the pools stay allocated; the members go all the same
    output.bus = nullptr;
    output.pending = 0;
    for (TesselChannelVoiceList& list : voiceLists)
        list.releaseAll();
    if (ownsPools_ && --TesselPools::users == 0)
        TesselPools::destroy();
}

void TesselEngine::attachPlugin(TesselPluginLink* owner)
{
    plugin = owner;
    // The MIDI output reaches the plug-in through the engine's MIDI host.
    hostSendsTime = owner && owner->canHostDo("sendVstTimeInfo") != 0 ? 1 : 0;
}

bool TesselEngine::hostVendorIs(const char* text) const
{
    if (!plugin || !text)
        return false;
    const char* vendor = plugin->hostVendor();
    return vendor && strcasecmp(vendor, text) == 0;
}
