#pragma once
// A small modal dialog of our own, for desktops without dialog programs and
// for the font chooser: a top-level window over the owner with labels, one
// line entries, a list, toggles and buttons, drawn with the platform's raster
// and text. Tab moves the focus, Enter presses the default button (the
// focused one when a button has the focus), Escape and closing the window
// cancel. GUI thread only.

#include "platform/window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class Canvas;
class Font;

class DialogWindow : private WindowHandler {
public:
    static constexpr int32_t kCancelled = 0;
    static constexpr int32_t kRunning = -1;

    DialogWindow(WindowSystem& system, Window* owner, std::string title, int32_t width, int32_t height);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Widgets, numbered in the order added; rectangles are client pixels.
    size_t addLabel(const Rect& rect, std::string text);
    size_t addEntry(const Rect& rect, std::string text);
    size_t addList(const Rect& rect, std::vector<std::string> rows, int32_t selected);
    size_t addToggle(const Rect& rect, std::string text, bool on);
    // A button ends the dialog with its result (> 0) unless `accept` refuses;
    // the first button added is the default one.
    size_t addButton(const Rect& rect, std::string text, int32_t result);

    const std::string& text(size_t widget) const { return widgets_[widget].text; }
    void setText(size_t widget, std::string text);
    int32_t selected(size_t widget) const { return widgets_[widget].selected; }
    bool on(size_t widget) const { return widgets_[widget].on; }
    void focus(size_t widget);
    // Asked before a button's result ends the dialog; false keeps it open.
    void setAccept(std::function<bool(int32_t result)> accept) { accept_ = std::move(accept); }
    // Told after every change of an entry, list or toggle.
    void setOnChange(std::function<void(size_t widget)> changed) { changed_ = std::move(changed); }

    // Shows the window and takes the focus. False when it cannot be made.
    bool open();
    // kRunning until a button or Escape ends it; kCancelled on cancel.
    int32_t result() const { return result_; }
    // open(), then modal passes of the window system until the end; the window closes.
    int32_t run();
    Window* window() const { return window_.get(); }

private:
    enum class Kind : uint8_t { Label, Entry, List, Toggle, Button };
    struct Widget {
        Widget(Kind kind, const Rect& rect, std::string text) : kind(kind), rect(rect), text(std::move(text)) {}
        Kind kind;
        Rect rect;
        std::string text;
        std::vector<std::string> rows;
        int32_t selected = -1;
        int32_t firstRow = 0;
        size_t caret = 0;
        bool on = false;
        int32_t result = 0;
    };

    bool handleMessage(Window& window, WindowMessage& message) override;
    size_t add(Widget widget);
    void paint();
    void drawWidget(Canvas& canvas, const Widget& widget, bool focused) const;
    void onKey(const KeyMessage& key, const InputState& input);
    void onClick(Point point);
    void press(int32_t result);
    void moveFocus(int step);
    void select(size_t index, int32_t row);
    void changed(size_t index);
    int32_t visibleRows(const Widget& widget) const;
    bool focusable(const Widget& widget) const { return widget.kind != Kind::Label; }

    WindowSystem& system_;
    Window* owner_;
    std::string title_;
    int32_t width_;
    int32_t height_;
    std::vector<Widget> widgets_;
    size_t focus_ = 0;
    int32_t result_ = kRunning;
    std::function<bool(int32_t)> accept_;
    std::function<void(size_t)> changed_;
    std::shared_ptr<const Font> font_;
    std::unique_ptr<Window> window_;
};

} // namespace platform
