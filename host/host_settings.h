#pragma once
// "Host.ini": the audio device, routing, latency, rate and master volume kept
// between runs. Read once at start-up, written once at exit; every failure is
// silent and leaves the defaults.

#include "host/audio/audio_system.h"
#include "host/host_state.h"

#include <string>

namespace host {

extern const char kHostSettingsFile[];   // "Host.ini"

// The file in the platform's settings folder (made when missing); empty when
// the folder can be neither made nor found.
std::string hostSettingsPath();

// Fills the state's settings and master volume from the file. Routes are
// stored by channel name and come back only while the device has that name.
// Without the file the state notes a first run (its routes come with the
// first device opened).
void loadHostSettings(AudioSystem& audio, HostState& state, const std::string& path);
void loadHostSettings(AudioSystem& audio, HostState& state);

// Writes through a temporary file renamed over the old one, so an
// interrupted write never leaves a truncated file. False when nothing was written.
bool saveHostSettings(AudioSystem& audio, const HostState& state, const std::string& path);
bool saveHostSettings(AudioSystem& audio, const HostState& state);

} // namespace host
