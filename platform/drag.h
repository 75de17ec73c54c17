#pragma once
// What a drag over one of our windows carries, as the window's handler hears
// it: which kinds the source offers, the handler's answer, and at the drop
// the data itself. Texts are Windows-1252; files are local paths as bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class DropEffect : uint8_t { None, Copy, Move };

struct DragMessage {
    bool offersText = false;
    bool offersFiles = false;
    // Set by the handler of DragEnter, DragOver and Drop.
    DropEffect effect = DropEffect::None;
    // Drop only: the files, or else the text, that arrived.
    std::vector<std::string> files;
    std::string text;
};

} // namespace platform
