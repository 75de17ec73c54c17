// What a test does as the user of the headless window layer: mouse, wheel,
// keys and popup menus.

#include "platform/headless/headless_window.h"

#include <algorithm>

namespace platform {

namespace {

uint32_t logicalButton(uint32_t physical, bool swapped)
{
    if (!swapped)
        return physical;
    if (physical == kLeftButton)
        return kRightButton;
    return physical == kRightButton ? kLeftButton : physical;
}

uint32_t modifierBit(uint8_t genericKey)
{
    switch (genericKey) {
    case kWinShift: return kShiftHeld;
    case kWinControl: return kControlHeld;
    case kWinMenu: return kAltHeld;
    default: return 0;
    }
}

} // namespace

void HeadlessWindowSystem::enqueueMouse(Window& window, MessageKind kind, Point client, uint32_t button)
{
    const Point origin = window.screenOrigin();
    cursor_ = {origin.x + client.x, origin.y + client.y};
    WindowMessage message;
    message.kind = kind;
    message.point = client;
    message.button = button;
    message.input = live_;
    enqueue(window, message);
}

void HeadlessWindowSystem::injectMove(Window& window, Point client)
{
    enqueueMouse(window, MessageKind::MouseMove, client, 0);
}

void HeadlessWindowSystem::injectButton(Window& window, Point client, uint32_t physicalButton, bool down)
{
    const uint32_t button = logicalButton(physicalButton, swapped_);
    live_.bits = down ? live_.bits | button : live_.bits & ~button;
    enqueueMouse(window, down ? MessageKind::ButtonDown : MessageKind::ButtonUp, client, button);
}

void HeadlessWindowSystem::click(Window& window, Point client, uint32_t physicalButton)
{
    injectButton(window, client, physicalButton, true);
    injectButton(window, client, physicalButton, false);
}

void HeadlessWindowSystem::injectWheel(Window& window, Point client, int32_t delta)
{
    const Point origin = window.screenOrigin();
    cursor_ = {origin.x + client.x, origin.y + client.y};
    WindowMessage message;
    message.kind = MessageKind::Wheel;
    message.point = cursor_;
    message.wheelDelta = delta;
    message.input = live_;
    enqueue(window, message);
}

void HeadlessWindowSystem::setToggles(bool capsLock, bool numLock)
{
    live_.capsLock = capsLock;
    live_.numLock = numLock;
}

void HeadlessWindowSystem::injectKey(uint8_t windowsKey, bool down, uint16_t repeatCount, bool autoRepeat)
{
    const uint8_t key = genericKey(windowsKey);
    if (down && !autoRepeat) {
        if (key == kWinCapital)
            live_.capsLock = !live_.capsLock;
        if (key == kWinNumLock)
            live_.numLock = !live_.numLock;
    }
    const uint32_t modifier = modifierBit(key);
    live_.bits = down ? live_.bits | modifier : live_.bits & ~modifier;
    if (takenAsHotKey(key, down))
        return;

    WindowMessage message;
    message.kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
    message.input = live_;
    KeyMessage& k = message.key;
    k.windowsKey = live_.numLock ? key : keypadWithoutNumLock(key);
    k.up = !down;
    k.repeatCount = repeatCount;
    k.autoRepeat = autoRepeat;
    KeyboardState plain = live_.keyboard();
    k.printable = translateKey(k.windowsKey, plain);
    plain.shift = plain.control = plain.alt = false;
    k.character = translateKey(k.windowsKey, plain);
    queue_.push_back({kFocusWindow, message});
}

void HeadlessWindowSystem::injectClose(Window& window)
{
    WindowMessage message;
    message.kind = MessageKind::Close;
    message.input = live_;
    enqueue(window, message);
}

bool HeadlessWindowSystem::registerHotKey(Window& target, int32_t id, uint32_t modifiers, uint8_t windowsKey)
{
    const uint32_t slot = (modifiers & (kShiftHeld | kControlHeld | kAltHeld)) << 8 | genericKey(windowsKey);
    auto taken = hotKeys_.find(slot);
    if (taken != hotKeys_.end() && taken->second.target != target.handle())
        return false;
    hotKeys_[slot] = HotKey{target.handle(), id};
    return true;
}

void HeadlessWindowSystem::unregisterHotKey(Window& target, int32_t id)
{
    std::erase_if(hotKeys_, [&](const auto& entry) {
        return entry.second.target == target.handle() && entry.second.id == id;
    });
}

bool HeadlessWindowSystem::sendKey(Window& target, uint8_t windowsKey, uint32_t modifiers)
{
    if (!target.alive())
        return false;
    sent_.push_back({target.handle(), windowsKey, modifiers & (kShiftHeld | kControlHeld | kAltHeld)});
    return true;
}

// A registered key goes to its window as a hot key, its release nowhere.
bool HeadlessWindowSystem::takenAsHotKey(uint8_t key, bool down)
{
    if (!down) {
        const bool held = key == hotKeyHeld_ && key != 0;
        if (held)
            hotKeyHeld_ = 0;
        return held;
    }
    const uint32_t modifiers = live_.bits & (kShiftHeld | kControlHeld | kAltHeld);
    auto found = hotKeys_.find(modifiers << 8 | key);
    if (found == hotKeys_.end())
        return false;
    if (Window* target = findWindow(found->second.target)) {
        WindowMessage message;
        message.kind = MessageKind::HotKey;
        message.param = found->second.id;
        message.input = live_;
        enqueue(*target, message);
    }
    hotKeyHeld_ = key;
    return true;
}

void HeadlessWindowSystem::pressKey(uint8_t windowsKey)
{
    injectKey(windowsKey, true);
    injectKey(windowsKey, false);
}

int32_t HeadlessWindowSystem::trackPopup(Window& owner, const PopupMenu& menu, Point screen, bool rightButton)
{
    if (inPopup_)
        return -1;
    inPopup_ = true;
    PopupRequest request;
    request.owner = owner.handle();
    request.menu = menu;
    request.screen = screen;
    request.rightButton = rightButton;

    // Owner-drawn rows are measured, then drawn one under the other.
    std::vector<MenuItemMessage> items;
    int32_t width = 0;
    int32_t height = 0;
    for (const PopupMenu::Row& row : menu.rows) {
        if (!(row.flags & PopupMenu::kOwnerDraw))
            continue;
        MenuItemMessage item;
        item.itemData = row.itemData;
        item.id = row.id;
        item.state = (row.flags & PopupMenu::kChecked ? 1u : 0u) | (row.flags & PopupMenu::kGrayed ? 2u : 0u);
        WindowMessage message;
        message.kind = MessageKind::MeasureItem;
        message.item = &item;
        if (HeadlessWindow* window = lookUp(request.owner))
            send(*window, message);
        item.rect = {0, height, std::max(item.width, 0), height + std::max(item.height, 0)};
        width = std::max(width, item.rect.right);
        height = item.rect.bottom;
        items.push_back(item);
    }
    request.rows = Image(width, height);
    for (MenuItemMessage& item : items) {
        item.image = &request.rows;
        WindowMessage message;
        message.kind = MessageKind::DrawItem;
        message.item = &item;
        if (HeadlessWindow* window = lookUp(request.owner))
            send(*window, message);
    }
    popups_.push_back(std::move(request));

    int32_t answer = -1;
    if (!popupAnswers_.empty()) {
        answer = popupAnswers_.front();
        popupAnswers_.pop_front();
    }
    inPopup_ = false;
    return answer;
}

} // namespace platform
