#pragma once
// Dialog resources as tables in code: a template (caption, size in dialog
// units, items) per resource id, gathered in a module that dialogs are
// found in by name. Dialog units follow the dialog font as Windows has it
// for an 8-point shell font: 4 across make 6 pixels, 8 down make 13.

#include "gui/geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VSTGUI {
class CDrawContext;
}

// The message numbers dialogs are run with, as Windows numbers them.
constexpr uint32_t WM_DRAWITEM = 0x002B;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_HSCROLL = 0x0114;
// Results and command ids of the standard buttons.
constexpr int32_t IDOK = 1;
constexpr int32_t IDCANCEL = 2;
// Notification codes, in the high word of a WM_COMMAND's wParam.
constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t STN_CLICKED = 0;
constexpr uint16_t CBN_SELCHANGE = 1;
// The low word of a WM_HSCROLL's wParam while a trackbar is dragged or stepped.
constexpr uint16_t TB_THUMBTRACK = 5;

constexpr uintptr_t commandParam(int32_t id, uint16_t notification)
{
    return static_cast<uintptr_t>(static_cast<uint16_t>(id)) | static_cast<uintptr_t>(notification) << 16;
}
constexpr int32_t commandId(uintptr_t wParam) { return static_cast<int32_t>(wParam & 0xFFFF); }
constexpr uint16_t commandNotification(uintptr_t wParam) { return static_cast<uint16_t>(wParam >> 16 & 0xFFFF); }

enum class DialogItemKind : uint8_t {
    Text,       // static text
    GroupBox,   // a frame with its label
    Button,     // push button
    DropList,   // drop-down list
    Trackbar,   // horizontal slider
    CheckBox,   // a box with its label, clicked on and off
    Edit,       // a one-line edit box (gui/dialogs/dialog_edit.h)
    MultiLineEdit,
    Icon,       // a bitmap of the program's, its key green left out
    OwnerDrawn, // framed; the dialog draws the inside on WM_DRAWITEM
};

// Item style bits.
constexpr uint32_t kItemDisabled = 0x1;
constexpr uint32_t kItemRightAligned = 0x2;
constexpr uint32_t kItemSorted = 0x4;     // a drop list keeps its entries sorted
constexpr uint32_t kItemDefault = 0x8;    // the button Enter presses

struct DialogUnits {
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;
    int16_t height = 0;
};

struct DialogItemTemplate {
    int32_t id = -1;   // -1: an item nothing refers to
    DialogItemKind kind = DialogItemKind::Text;
    DialogUnits place;
    const char* text = "";
    uint32_t style = 0;
    int32_t bitmap = 0;   // icons: the resource id
};

// What WM_DRAWITEM's lParam points at: the owner-drawn item, the context to
// draw with and the item's inside within its frame.
struct DialogDrawItem {
    int32_t id = -1;
    VSTGUI::CDrawContext* context = nullptr;
    CRect rect;
};

struct DialogTemplate {
    int32_t id = 0;
    const char* caption = "";
    int16_t width = 0;    // dialog units
    int16_t height = 0;
    std::vector<DialogItemTemplate> items;
};

// Pixels of dialog units, rounded to nearest.
int32_t dialogUnitsToPixelsX(int32_t units);
int32_t dialogUnitsToPixelsY(int32_t units);
CRect dialogUnitsToPixels(const DialogUnits& units);

// A program's dialog resources. Modules register under a name for the
// life of the process (the host as "Host", the plug-in as "Quorbel").
class DialogModule {
public:
    DialogModule(std::string name, std::vector<DialogTemplate> templates);
    ~DialogModule();
    DialogModule(const DialogModule&) = delete;
    DialogModule& operator=(const DialogModule&) = delete;

    const std::string& name() const { return name_; }
    // Null for an id it has no template for.
    const DialogTemplate* find(int32_t id) const;

    // The registered module of that name, or null.
    static const DialogModule* named(const std::string& name);

private:
    std::string name_;
    std::vector<DialogTemplate> templates_;
};
