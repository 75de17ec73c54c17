#pragma once
// The editor idle's watch over the status text and the file message: a text
// that changed is shown and cleared a fixed number of idle passes after its
// last change (512 for the status text, 500 for the file message, of which
// the first 80 characters count). Setting the same text again does not
// restart the count. GUI thread only.

#include <cstdint>
#include <string>

class TesselStatusCountdown {
public:
    static constexpr int32_t kStatusPasses = 512;
    static constexpr int32_t kMessagePasses = 500;
    static constexpr size_t kMessageCompared = 80;

    // What one idle pass found.
    struct Pass {
        bool statusChanged = false;    // the pattern editor shows the new text
        bool statusCleared = false;    // the current page redraws without it
        bool messageChanged = false;   // the toolbar shows the new message
        bool messageCleared = false;
    };

    // Reads both texts, restarts the counts of those that changed, counts
    // down and empties a text whose count reaches 0.
    Pass step();

    int32_t statusPassesLeft() const { return statusLeft_; }
    int32_t messagePassesLeft() const { return messageLeft_; }

private:
    std::string shownStatus_;
    std::string shownMessage_;
    int32_t statusLeft_ = 0;
    int32_t messageLeft_ = 0;
};
