#pragma once
// A headless window system with a host window placed away from the screen's
// corner, an editor that records the keys the frames hand it, and views that
// record the calls they get.

#include "gui/draw_context.h"
#include "gui/frame/frame.h"
#include "gui/frame/frame_link.h"
#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const TesselKeyEvent& k, std::ostream* os)
{
    *os << "{character " << k.character << ", key " << int(k.virtualKey) << ", modifiers " << int(k.modifiers)
        << ", printable " << int(k.printable) << (k.keyUp ? ", up" : "") << ", count " << k.pressCount << "}";
}

struct RecordingEditor : TesselFrameLink {
    void handleKeyDown(const TesselKeyEvent& key) override { keys.push_back(key); }
    void handleKeyUp(const TesselKeyEvent& key) override { keys.push_back(key); }
    bool manualKeyMode() const override { return manual; }
    bool doubleSize() const override { return twice; }
    void redrawPatternEditor() override { ++patternRedraws; }

    std::vector<TesselKeyEvent> keys;
    bool manual = false;
    bool twice = false;
    int patternRedraws = 0;
};

// A view that fills its rectangle with its colour when drawn and records
// what reaches it.
class RecordingView : public CView {
public:
    RecordingView(const CRect& size, std::string name, std::vector<std::string>* journal = nullptr,
                  CColor colour = CColor{255, 0, 0, 0})
        : CView(size), name(std::move(name)), journal(journal), colour(colour)
    {
    }

    void draw(CDrawContext* context) override
    {
        ++draws;
        note("draw");
        if (context) {
            context->setFillColor(colour);
            context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        }
        CView::draw(context);
    }
    void mouse(CDrawContext*, CPoint& where, int32_t buttons) override
    {
        clicks.push_back(where);
        this->buttons.push_back(buttons);
        note("mouse");
    }
    bool onWheel(CDrawContext*, const CPoint& where, float distance) override
    {
        wheels.push_back({where, distance});
        note("wheel");
        return true;
    }
    int32_t onKeyDown(VstKeyCode&) override
    {
        note("key");
        return takesKeys ? 1 : -1;
    }
    void looseFocus(CDrawContext*) override
    {
        ++focusLosses;
        note("looseFocus");
    }

    struct Wheel {
        CPoint where;
        float distance;
    };
    std::string name;
    std::vector<std::string>* journal;
    CColor colour;
    int draws = 0;
    int focusLosses = 0;
    std::vector<int32_t> buttons;
    bool takesKeys = false;
    std::vector<CPoint> clicks;
    std::vector<Wheel> wheels;

private:
    void note(const char* what)
    {
        if (journal)
            journal->push_back(name + " " + what);
    }
};

class GuiTest : public ::testing::Test {
protected:
    GuiTest()
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = {100, 50, 900, 650};
        options.title = "Host";
        host = system.createWindow(options);
    }

    // Views are made with new: the frame takes the creator's reference.
    RecordingView* addView(CFrame& frame, const CRect& size, const std::string& name)
    {
        auto* view = new RecordingView(size, name, &journal);
        EXPECT_TRUE(frame.addView(view));
        return view;
    }

    platform::HeadlessWindowSystem system;
    std::unique_ptr<platform::Window> host;
    RecordingEditor editor;
    std::vector<std::string> journal;
};
