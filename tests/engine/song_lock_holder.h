#pragma once
// Holds the song lock on another thread from construction to destruction;
// meanwhile what waits for it as an edit does gives up after milliseconds.

#include "platform/system/library_handle.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

class SongLockHolder {
    ShortEditLockWait shortWait_;
    platform::SharedMutex songLock_ = platform::openNamedMutex(platform::handleName("QB_MODULE_"));
    LockHeldElsewhere holder_{*songLock_};
};
