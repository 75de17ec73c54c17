// The file box's keys and clicks: the path line edits and enters paths, the
// list moves, enters folders and files, and plays the selection's preview
// from note keys.
#include "pagekit/file_box.h"

#include "engine/engine.h"
#include "gui/controls/control_skin.h"
#include "pagekit/editor_services.h"
#include "pagekit/file_box_paths.h"
#include "platform/key_event.h"
#include "platform/status_text.h"

namespace {

constexpr int32_t kLeftButton = 1;
// The main keyboard's Return as well as Enter.

bool isEnter(const TesselKeyEvent& key)
{
    return key.virtualKey == kVkEnter || key.virtualKey == kVkReturn;
}

bool inside(const CPoint& point, const CRect& rect)
{
    return rect.pointInside(point);
}

} // namespace

int32_t* TesselFileBox::onKey(const TesselKeyEvent& key)
{
    return onFileKey(key) ? &value : nullptr;
}

int32_t* TesselFileBox::onMouse(int32_t buttons, const CPoint& point)
{
    return handleClick(buttons, point) ? &value : nullptr;
}

const char* TesselFileBox::finishResult(const std::string& text)
{
    if (text.size() > kResultLimit) {
        platform::setStatusText("Path too long.");
        return nullptr;
    }
    result = text;
    return result.c_str();
}

const char* TesselFileBox::chooseOrScan(const std::string& path)
{
    if (file_box_listing::isChosenKind(path, browserMode()))
        return finishResult(path);
    scanFolderLocked(path, true);
    return nullptr;
}

bool TesselFileBox::insideSlotListing() const
{
    return listedKind == PathKind::ModuleFile || (listedKind == PathKind::InstrumentFile && mode == kSampleBrowser);
}

const char* TesselFileBox::enter()
{
    const int32_t selection = list.getSelection();
    if (selection >= list.entryCount())
        return nullptr;
    const std::string name = list.entry(selection).name;
    if (selection > 1 && insideSlotListing())
        return finishResult(currentPath + "::" + name.substr(0, 2));
    if (selection > 1 && listedKind == PathKind::Archive)
        return finishResult(currentPath + "::" + name);
    // "/" and ".." combine with a file shown as with its folder.
    return chooseOrScan(file_box_paths::combine(currentPath, name));
}

const char* TesselFileBox::onFileKey(const TesselKeyEvent& key)
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    if (key.keyUp) {
        const int32_t note = focusPart > 0 && editor ? editor->noteFromKey(key) : -1;
        if (note >= 0 && engine)
            engine->stopNote(0, note);
        return nullptr;
    }
    const int32_t selectionBefore = list.getSelection();
    const uint32_t listingBefore = listing;
    const char* chosen = focusPart == 0 ? pathLineKey(key) : listKey(key);
    afterInput(selectionBefore, listingBefore);
    return chosen;
}

const char* TesselFileBox::pathLineKey(const TesselKeyEvent& key)
{
    if (key.virtualKey == kVkDown) {
        focusPart = 1;
        return nullptr;
    }
    TesselKeyEvent forBox = key;
    if (forBox.virtualKey == kVkReturn)
        forBox.virtualKey = kVkEnter;
    if (!pathBox.onKey(forBox))
        return nullptr;
    const std::string typed = pathBox.name;
    if (typed.find("::") != std::string::npos)
        return finishResult(typed);
    return chooseOrScan(file_box_paths::combine(folderPath(), typed));
}

const char* TesselFileBox::listKey(const TesselKeyEvent& key)
{
    if (key.virtualKey == kVkUp && list.getSelection() == 0) {
        focusPart = 0;
        return nullptr;
    }
    if (!list.getMessage().empty())
        return nullptr;
    const char* chosen = nullptr;
    if (isEnter(key)) {
        chosen = enter();
    } else {
        const int32_t note = editor ? editor->noteFromKey(key) : -1;
        if (note >= 0) {
            if (!previewInstrument)
                loadPreview(true);
            if (previewInstrument)
                playPreview(note);
            return nullptr;
        }
        list.onKey(key);
    }
    focusPart = list.getSelection() + 1;
    return chosen;
}

void TesselFileBox::afterInput(int32_t selectionBefore, uint32_t listingBefore)
{
    if (list.getSelection() == selectionBefore && listing == listingBefore)
        return;
    previewInstrument = nullptr;
    if (list.getSelection() > 1 && insideSlotListing())
        previewSlotOfSelection();
}

const char* TesselFileBox::handleClick(int32_t buttons, const CPoint& point)
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    const bool leftDown = buttons & kLeftButton;
    const bool freshPress = leftDown && ((buttons & kFreshPress) || !(lastButtons & kLeftButton));
    lastButtons = buttons;
    if (!leftDown) {
        list.onMouse(buttons, point);
        return nullptr;
    }
    const int32_t selectionBefore = list.getSelection();
    const uint32_t listingBefore = listing;
    const char* chosen = nullptr;
    TesselScrollbar& bar = list.getScrollbar();
    if (freshPress && pathBox.hitTest(point)) {
        focusPart = 0;
        const std::string before = pathBox.name;
        const bool onButton = inside(point, pathBox.buttonRect());
        pathBox.onMouse(buttons, point);
        // The folder chooser's answer.
        if (onButton && pathBox.name != before)
            scanFolderLocked(pathBox.name, true);
    } else if ((list.hitTest(point) || bar.isDragging()) && list.getMessage().empty()) {
        list.onMouse(buttons, point);
        if ((buttons & kDoubleClick) && !bar.isDragging())
            chosen = enter();
        focusPart = list.getSelection() + 1;
    }
    afterInput(selectionBefore, listingBefore);
    return chosen;
}
