#pragma once
// The drop target every frame keeps while drops are active: it accepts
// dragged text and dragged files, shows the copy effect with Ctrl held and
// the move effect otherwise, follows symbolic links to their targets and
// hands the drop to the frame's onDrop: files as a list of names (type 0),
// text as a one-entry list with its size in bytes (type 1). GUI thread only.

#include "platform/drag.h"

#include <cstdint>

namespace VSTGUI {

class CFrame;

class UDropTarget {
public:
    static constexpr int32_t kFiles = 0;
    static constexpr int32_t kText = 1;
    // Names of more bytes than this are left out.
    static constexpr size_t kLongestName = 1023;
    static constexpr size_t kMaxNames = 1024;
    // Dropped text beyond this is cut.
    static constexpr size_t kLongestText = 65536;

    explicit UDropTarget(CFrame* frame) : frame_(frame) {}

    // inputBits: platform::InputBits as the drag reports them.
    platform::DropEffect dragEnter(const platform::DragMessage& offer, uint32_t inputBits);
    platform::DropEffect dragOver(uint32_t inputBits) const;
    void dragLeave() {}
    void drop(const platform::DragMessage& data, uint32_t inputBits);

private:
    bool accept_ = false;
    CFrame* frame_;
};

} // namespace VSTGUI

using VSTGUI::UDropTarget;
