#pragma once
// A popup menu on the display: override-redirect windows, one a level, that
// hold the pointer and the keyboard until a row is chosen or the menu is
// dismissed. Its loop keeps our other windows painted and timed and runs the
// host's idle; the host's own windows wait until it ends.

#include "platform/dialogs/menu_panel.h"
#include "platform/x11/x11_system.h"

#include <memory>
#include <vector>

namespace platform::x11 {

class PopupSession {
public:
    PopupSession(System& system, Handle& owner, bool rightButton);
    ~PopupSession();
    PopupSession(const PopupSession&) = delete;
    PopupSession& operator=(const PopupSession&) = delete;

    // The chosen id, or -1.
    int32_t run(const PopupMenu& menu, Point screen);
    // Takes the input and the events of the popup's windows; false for the rest.
    bool handle(XEvent& event);

private:
    struct Level {
        std::unique_ptr<MenuPanel> panel;
        ::Window xid = 0;
        Rect rect;              // on the screen
        Image image;
        int32_t highlighted = -1;
        int32_t openedFrom = -1;   // the parent's row that opened it
    };

    void show(std::unique_ptr<MenuPanel> panel, const Rect& place, int32_t openedFrom, bool firstRowLit);
    void openSubmenu(size_t level, int32_t row, bool fromKeyboard);
    void closeFrom(size_t level);
    void highlight(size_t level, int32_t row);
    void redraw(Level& level);
    int32_t levelAt(Point screen) const;
    void pointerAt(Point screen);
    void released(const XButtonEvent& event);
    void key(const XKeyEvent& event);
    void activate(size_t level, int32_t row, bool fromKeyboard);
    void finish(int32_t result);
    void ownerCall(MenuItemMessage& item, bool draw);

    System& system_;
    Display* display_;
    ::Window ownerXid_;
    bool rightButton_;
    Rect screen_;
    Presenter presenter_;
    GC gc_ = nullptr;
    std::vector<std::unique_ptr<Level>> levels_;
    bool done_ = false;
    int32_t result_ = -1;
    // The press that opened the menu chooses nothing if released unmoved.
    bool openingPress_ = false;
    bool moved_ = false;
    Point start_;
};

} // namespace platform::x11
