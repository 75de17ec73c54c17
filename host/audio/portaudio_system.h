#pragma once
#include "host/audio/audio_system.h"

#include <memory>

namespace host {

// The audio system of the program, over PortAudio.
std::unique_ptr<AudioSystem> makePortAudioSystem();

} // namespace host
