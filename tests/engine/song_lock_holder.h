#pragma once
// Holds the song lock on another thread from construction to destruction.

#include "platform/system/library_handle.h"
#include "support/lock_held_elsewhere.h"

class SongLockHolder {
    platform::SharedMutex songLock_ = platform::openNamedMutex(platform::handleName("QB_MODULE_"));
    LockHeldElsewhere holder_{*songLock_};
};
