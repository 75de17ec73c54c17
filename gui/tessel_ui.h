#pragma once
// What the engine asks of the editor's pages: until they exist there is no
// current instrument and no pattern in front of the user.

#include <cstdint>

class TesselUI {
public:
    virtual ~TesselUI() = default;
    // 0 = none, 1..99.
    virtual uint8_t getCurrentInstrument() { return 0; }
    // The pattern the page works on; -1 = none.
    virtual int32_t getCurrentPattern() { return -1; }
};
