#pragma once
// A parameter display holding a list of text entries, shown as a popup menu
// with submenus, check marks, grayed and title entries, separators, column
// breaks and optional owner drawing. Entry markers: "-" alone a separator,
// "-M" a submenu, "-G" a grayed entry, "-T" a title (shown, never chosen).
// Command ids run over the whole tree: a menu's own entries first (every
// entry takes one), then each submenu's, depth first.

#include "gui/controls/param_display.h"
#include "platform/dialogs/popup_menu.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VSTGUI {

class COptionMenu : public CParamDisplay {
public:
    static constexpr int32_t kMaxEntries = 1024;
    // Entry texts hold at most this many characters, markers and prefixes included.
    static constexpr int32_t kMaxEntryLength = 255;
    // With this many entries or more a menu makes no column breaks.
    static constexpr int32_t kColumnBreakLimit = 160;

    // Holds one reference on the pressed background.
    COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background = nullptr,
                CBitmap* pressedBackground = nullptr, int32_t style = 0);
    ~COptionMenu() override;

    // The current entry's text without its number prefix.
    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
    void looseFocus(CDrawContext* context = nullptr) override;
    // Shows the popup and hands a choice to the listener.
    void takeFocus(CDrawContext* context = nullptr) override;
    // The value as an index: the current entry (check flag toggled with kCheckStyle).
    void setValue(float newValue) override;

    // At the end, or at position min(index, count) for an index of 0 or more.
    virtual bool addEntry(const char* text, int32_t index = -1);
    // A "-M" entry opening the submenu, which the menu remembers.
    virtual bool addEntry(COptionMenu* submenu, const char* text);
    // The current index, or without counting separators the number of
    // choosable entries before it; -1 without a current entry.
    virtual int32_t getCurrent(char* text = nullptr, bool countSeparators = true) const;
    virtual bool setCurrent(int32_t index, bool countSeparators = true);
    virtual bool getEntry(int32_t index, char* text) const;
    virtual bool setEntry(int32_t index, const char* text);
    virtual bool removeEntry(int32_t index);
    virtual bool removeAllEntry();
    virtual int32_t getNbEntries() const { return static_cast<int32_t>(entries_.size()); }
    virtual int32_t getIndex(const char* text) const;
    virtual bool checkEntry(int32_t index, bool checked);
    virtual bool checkEntryAlone(int32_t index);
    virtual bool isCheckEntry(int32_t index) const;
    virtual void setNbItemsPerColumn(int32_t count) { itemsPerColumn_ = count; }
    virtual int32_t getNbItemsPerColumn() const { return itemsPerColumn_; }
    COwnerDraw* getOwnerDraw() override { return ownerDraw_; }
    // 0 none; 2, 3 or 4: numbers of 1, 2 or 3 digits and a space before each entry.
    virtual void setPrefixNumbers(int32_t length);

    // Not owned; none turns owner drawing off.
    void setOwnerDraw(COwnerDraw* handler) { ownerDraw_ = handler; }
    // The submenu of the n-th "-M" entry.
    COptionMenu* getSubMenu(int32_t n) const;
    // Where and what the last popup chose; none and -1 after a dismissal.
    COptionMenu* getLastSubmenu() const { return lastSubmenu_; }
    int32_t getLastResult() const { return lastResult_; }
    int32_t getLastButton() const { return lastButton_; }

    // What the popup of this menu shows, its rows numbered from firstId. The
    // menus of the tree with the first id of each, in id order, go to
    // `ranges` when given.
    struct IdRange {
        COptionMenu* menu;
        int32_t firstId;
    };
    platform::PopupMenu buildPopup(int32_t firstId = 0, std::vector<IdRange>* ranges = nullptr);

private:
    static bool isSeparator(const std::string& text) { return text == "-"; }
    static bool isTitle(const std::string& text) { return text.starts_with("-T"); }
    static bool isSubmenu(const std::string& text) { return text.starts_with("-M"); }
    bool choosable(int32_t index) const;
    // Numbered as the setting says with the 1-based position; cut to length.
    std::string entryText(const char* marker, const char* text, int32_t position) const;
    // Which submenu the "-M" entry at `index` opens: the count of "-M"
    // entries before it.
    int32_t submenuSlot(int32_t index) const;
    int32_t buildInto(platform::PopupMenu& popup, int32_t nextId, std::vector<IdRange>& ranges, int depth);
    void runPopup(CDrawContext* context);

    std::vector<std::string> entries_;
    std::vector<uint8_t> checks_;
    std::vector<COptionMenu*> submenus_;
    int32_t current_ = -1;
    CBitmap* pressedBackground_;
    int32_t lastButton_ = 4;
    int32_t itemsPerColumn_ = 0;
    bool popupOpen_ = false;
    int32_t lastResult_ = -1;
    int32_t prefixNumbers_ = 0;
    COptionMenu* lastSubmenu_ = nullptr;
    COwnerDraw* ownerDraw_ = nullptr;
};

} // namespace VSTGUI

using VSTGUI::COptionMenu;
