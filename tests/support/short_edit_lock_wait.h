#pragma once
// Edits wait a second for the song lock before they give up. A test that
// holds the lock elsewhere on purpose, to see what an edit does without it,
// shortens that wait for its scope, so that each refused edit costs it
// milliseconds; the product's wait comes back when the scope ends. Tests
// whose point is the product's wait itself leave it alone.

#include "model/song/module.h"

#include <cstdint>

class ShortEditLockWait {
public:
    static constexpr uint32_t kWaitMs = 20;

    ShortEditLockWait() : saved_(editLockWaitMs.exchange(kWaitMs)) {}
    ~ShortEditLockWait() { editLockWaitMs = saved_; }
    ShortEditLockWait(const ShortEditLockWait&) = delete;
    ShortEditLockWait& operator=(const ShortEditLockWait&) = delete;

private:
    uint32_t saved_;
};
