// The keyboard page's keys, clicks, wheel and capture. A capture takes the
// next keys whole, the last one pending; Enter binds it to the selected
// command at the selected slot, Escape drops it.

#include "editor/keyboard/keyboard_page.h"

#include "common/help_pages.h"
#include "editor/keyboard/command_tree.h"
#include "gui/bitmap.h"
#include "pagekit/frame2.h"
#include "resources/resource_ids.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;

constexpr int32_t kButtonSkins[3] = {resources::kLoadSchemeButton, resources::kSaveSchemeButton,
                                     resources::kDefaultSchemeButton};
constexpr CRect kButtonPlaces[3] = {CRect(12, 254, 80, 272), CRect(83, 254, 152, 272), CRect(191, 254, 260, 272)};
constexpr CRect kTreePlace(11, 23, 259, 250);
// Clicks select a slot here; the wheel turns the tree from a pixel further out.
constexpr CRect kListArea(268, 74, 577, 230);
constexpr CRect kWheelArea(267, 73, 577, 230);
constexpr CColor kButtonFace{0xA0, 0xA0, 0xA0, 0};
constexpr CColor kButtonFrame{0x60, 0x60, 0x60, 0};

TesselButton makeButton(int i)
{
    return TesselButton(kButtonPlaces[i], kButtonSkins[i], kButtonFace, kButtonFrame, false);
}

bool inside(const CRect& area, int32_t x, int32_t y)
{
    return CPoint(x, y).isInside(area);
}

} // namespace

TesselKeyboardUI::TesselKeyboardUI(TesselEditorPageServices* editor)
    : TesselSubPage(editor, resources::kKeyboardPanel, kClassId), buttons_{makeButton(0), makeButton(1), makeButton(2)},
      panel_(new CBitmap(resources::kCapturePanel)), spare_(new CBitmap(resources::kKeyboardKeyCap))
{
    tree_.setRect(kTreePlace);
    // Labels with their shortcuts fit the tree's width in the 6-pixel cells.
    tree_.smallFont = true;
}

TesselKeyboardUI::~TesselKeyboardUI()
{
    stopCapture();
    panel_->forget();
    spare_->forget();
}

void TesselKeyboardUI::opened()
{
    focus_ = kFocusTree;
    rebuildTree();
}

void TesselKeyboardUI::hide()
{
    TesselSubPage::hide();
    stopCapture();
}

void TesselKeyboardUI::stopCapture()
{
    countdown_ = 0;
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    if (platform::Window* window = frame ? frame->getSystemWindow() : nullptr; window && window->alive())
        window->killTimer(kTimerId);
}

void TesselKeyboardUI::startCapture()
{
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getSystemWindow() : nullptr;
    if (!window || !window->alive())
        return;
    countdown_ = kCaptureTicks;
    pending_ = TesselKeyEvent{};
    window->setTimer(kTimerId, kTickMs);
}

void TesselKeyboardUI::tick()
{
    const int32_t before = countdown_;
    if (countdown_ > 0)
        --countdown_;
    // A page left in mid-capture stops capturing too.
    const bool away = !editor || editor->currentPage() != editor->pageByNumber(kPreferencesPage);
    if (before <= 1 || away)
        stopCapture();
    setDirty();
}

std::string TesselKeyboardUI::selectedPath() const
{
    const TesselTreeNode* node = tree_.getSelection();
    return node ? node->name : std::string();
}

TesselCommand* TesselKeyboardUI::selectedCommand() const
{
    return defaultScheme().findByPath(selectedPath());
}

uint32_t TesselKeyboardUI::slotCount() const
{
    // The root stands for the scheme: no list and no slot to bind.
    const TesselCommand* command = selectedCommand();
    if (!command || command->isRoot())
        return 0;
    return static_cast<uint32_t>(command->shortcuts.size()) + 1;
}

void TesselKeyboardUI::clampSlot()
{
    const uint32_t count = slotCount();
    slot_ = count == 0 ? 0 : std::min(slot_, count - 1);
}

std::vector<std::string> TesselKeyboardUI::listRows() const
{
    std::vector<std::string> rows;
    const TesselCommand* command = selectedCommand();
    if (!command || command->isRoot())
        return rows;
    for (const TesselShortcut& shortcut : command->shortcuts)
        rows.push_back(shortcut.key.toString());
    rows.push_back("(new shortcut)");
    return rows;
}

std::vector<std::string> TesselKeyboardUI::panelLines() const
{
    if (capturing())
        return {pending_.isNone() ? "Please enter a shortcut using the keyboard..." : pending_.toString()};
    if (pending_.isNone())
        return {};
    const uint8_t c = pending_.printable;
    const bool printable = c >= 33 && c != kNoPrintable && c != pending_.character;
    const std::string question = printable ? "Assign '" + std::string(1, static_cast<char>(c)) + "' ("
                                                 + pending_.toString(true) + ") to current command?"
                                           : "Assign [" + pending_.toString() + "] to current command?";
    return {question, "Press [Enter] to confirm, [Esc] to cancel."};
}

void TesselKeyboardUI::rebuildTree()
{
    rebuildCommandTree(tree_, defaultScheme());
    clampSlot();
    setDirty();
}

void TesselKeyboardUI::removeSelected()
{
    TesselCommand* command = selectedCommand();
    if (!command || command->isRoot() || slot_ >= command->shortcuts.size())
        return;
    command->removeShortcut(slot_);
    defaultScheme().rebuildKeyList();
    rebuildTree();
}

void TesselKeyboardUI::bindPending()
{
    TesselCommand* command = selectedCommand();
    if (!command || command->isRoot())
        return;
    command->setShortcut(slot_, pending_);
    pending_ = TesselKeyEvent{};
    defaultScheme().rebuildKeyList();
    rebuildTree();
}

int32_t TesselKeyboardUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return 0;
    const uint8_t v = key.virtualKey;
    if (v == kVkEscape) {
        if (capturing() || !pending_.isNone())
            pending_ = TesselKeyEvent{};
        else
            shown = false;
        stopCapture();
        setDirty();
        return 1;
    }
    if (capturing()) {
        if (v == kVkShift || v == kVkControl || v == kVkAlt) {
            pending_ = TesselKeyEvent{};
            pending_.modifiers = key.modifiers;
        } else {
            pending_ = key;
        }
        countdown_ = kCaptureTicks;
        setDirty();
        return 1;
    }
    if (v == kVkF1 && key.modifiers == 0) {
        if (TesselEditorPageServices* pages = owner())
            pages->openHelpPage(help::kPreferencesKeyboard);
        return 1;
    }
    if (v == kVkTab)
        focus_ = (focus_ + ((key.modifiers & kModShift) ? kFocusCount - 1 : 1)) % kFocusCount;
    else
        focusedKey(key);
    clampSlot();
    setDirty();
    return 1;
}

void TesselKeyboardUI::focusedKey(const TesselKeyEvent& key)
{
    const uint8_t v = key.virtualKey;
    if (focus_ == kFocusTree || focus_ == kFocusList) {
        if (v == kVkDelete) {
            removeSelected();
        } else if (v == kVkEnter) {
            const TesselCommand* command = selectedCommand();
            if (!command || command->isRoot())
                return;
            if (pending_.isNone())
                startCapture();
            else
                bindPending();
        } else if (focus_ == kFocusTree) {
            tree_.onKey(key);
        } else if (v == kVkUp) {
            if (slot_ > 0)
                --slot_;
        } else if (v == kVkDown) {
            ++slot_;
        }
        return;
    }
    if (v != kVkEnter)
        return;
    if (focus_ == kFocusLoad)
        loadScheme();
    else if (focus_ == kFocusSave)
        saveScheme();
    else if (focus_ == kFocusDefaults)
        restoreDefaults();
}

int32_t TesselKeyboardUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    const bool fresh = newPress(buttons, kMouseButtons);
    if (tree_.getScrollbar().isDragging()) {
        tree_.onMouse(buttons, CPoint(x, y));
        setDirty();
        return 1;
    }
    if (!fresh)
        return 0;
    if (inCloseBox(x, y)) {
        hide();
        return 1;
    }
    if (inside(kListArea, x, y)) {
        focus_ = kFocusList;
        clickList(y);
    } else if (tree_.hitTest(CPoint(x, y))) {
        focus_ = kFocusTree;
        tree_.onMouse(buttons, CPoint(x, y));
    } else {
        for (int i = 0; i < 3; ++i) {
            if (!buttons_[static_cast<size_t>(i)].hitTest(CPoint(x, y)))
                continue;
            focus_ = kFocusLoad + i;
            if (focus_ == kFocusLoad)
                loadScheme();
            else if (focus_ == kFocusSave)
                saveScheme();
            else
                restoreDefaults();
            break;
        }
    }
    clampSlot();
    setDirty();
    return 1;
}

void TesselKeyboardUI::clickList(int32_t y)
{
    // Above the first row no slot is hit (the division would give 0 or -1).
    if (y < kListTop)
        return;
    const uint32_t row = static_cast<uint32_t>((y - kListTop) / kListRowHeight) + firstListRow();
    if (row < slotCount())
        slot_ = row;
}

void TesselKeyboardUI::onMouseWheel(int32_t x, int32_t y, float distance)
{
    if (!tree_.hitTest(CPoint(x, y)) && !inside(kWheelArea, x, y))
        return;
    tree_.onWheel(distance);
    clampSlot();
    setDirty();
}
