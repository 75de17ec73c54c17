#include "gui/frame/drop_target.h"

#include "gui/frame/frame.h"
#include "platform/drop_paths.h"
#include "platform/window.h"

#include <string>
#include <vector>

namespace VSTGUI {

platform::DropEffect UDropTarget::dragEnter(const platform::DragMessage& offer, uint32_t inputBits)
{
    accept_ = offer.offersText || offer.offersFiles;
    return dragOver(inputBits);
}

platform::DropEffect UDropTarget::dragOver(uint32_t inputBits) const
{
    if (!accept_)
        return platform::DropEffect::None;
    return inputBits & platform::kControlHeld ? platform::DropEffect::Copy : platform::DropEffect::Move;
}

void UDropTarget::drop(const platform::DragMessage& data, uint32_t /*inputBits*/)
{
    if (!frame_) {
        dragLeave();
        return;
    }
    CPoint where;
    frame_->getCurrentLocation(where);
    if (!data.text.empty()) {
        std::string text = data.text.substr(0, kLongestText);
        void* items[1] = {text.data()};
        frame_->onDrop(items, static_cast<int32_t>(text.size() + 1), kText, where);
    } else if (!data.files.empty()) {
        std::vector<std::string> names;
        for (const std::string& file : data.files) {
            if (names.size() >= kMaxNames)
                break;
            if (file.empty() || file.size() > kLongestName)
                continue;
            std::string name = file;
            // A target too long for the list keeps the link's own name.
            std::string target = name;
            if (platform::resolveLink(target) && target.size() <= kLongestName)
                name = target;
            names.push_back(std::move(name));
        }
        std::vector<void*> items;
        for (std::string& name : names)
            items.push_back(name.data());
        if (!items.empty())
            frame_->onDrop(items.data(), static_cast<int32_t>(items.size()), kFiles, where);
    }
    dragLeave();
}

} // namespace VSTGUI
