#pragma once
// Draws and edits one envelope of an instrument: a polyline of up to 32
// nodes over a tick axis that the wheel zooms. The graph keeps no envelope
// of its own: the page passes the one to show with its kind on every call,
// and the graph edits it in place through the envelope's node operations.
// Kind 3 splits the graph into two lanes (value above, second value below).

#include "gui/controls/tessel_control.h"

#include <cstdint>

class TesselEditorServices;
class TesselEnvelope;
namespace VSTGUI {
class CBitmap;
}

class TesselEnvelopeGraph : public TesselControl {
public:
    static constexpr int32_t kClassId = 0;
    static constexpr uint32_t kStartZoom = 100;
    static constexpr uint32_t kMinZoom = 10;
    static constexpr uint32_t kMaxZoom = 65535;
    // Pixels the view widens by when the wheel or a drag reaches the right.
    static constexpr int32_t kZoomStep = 50;
    // The readout's place on the page.
    static constexpr int32_t kReadoutY = 283;
    static constexpr int32_t kReadoutIndexX = 319;
    static constexpr int32_t kReadoutTickX = 362;
    static constexpr int32_t kReadoutValueX = 427;
    static constexpr int32_t kShareBarTop = 236;
    static constexpr int32_t kShareBarBottom = 246;
    static constexpr CColor kBackground{79, 49, 49, 0};
    static constexpr CColor kNodeColour{158, 98, 98, 0};
    static constexpr CColor kMinorGrid{64, 64, 64, 0};

    // The editor, when given, lets a drag past the right edge move the
    // pointer back.
    explicit TesselEnvelopeGraph(const CRect& rect = CRect(), TesselEditorServices* editor = nullptr);
    ~TesselEnvelopeGraph() override;

    // The page calls the envelope operations below instead.
    int32_t* onKey(const TesselKeyEvent& key) override;
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    // Edges included.
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    CRect* getRect() override { return &rect; }
    void setRect(const CRect& newRect) { rect = newRect; }

    // Ctrl steps 1, Ctrl+Shift 100, Shift 10; without either the arrows,
    // Home and End select nodes. Insert and Delete add and remove nodes.
    void onEnvelopeKey(const TesselKeyEvent& key, TesselEnvelope& envelope, int32_t kind);
    // 1 when the graph took the event: a press picks the nearest node (with
    // Ctrl inserts one) and a drag moves it.
    int32_t onEnvelopeMouse(const CPoint& point, int32_t buttons, TesselEnvelope& envelope, int32_t kind);
    // A positive distance shows more ticks, a negative one fewer.
    void zoom(float distance);
    // The graph at its rectangle, and the readout and share bar on the page.
    void drawEnvelope(VSTGUI::CDrawContext* context, TesselEnvelope& envelope, int32_t kind, bool focused);

    int32_t getSelection() const { return selection; }
    void setSelection(int32_t node) { selection = node; }
    uint32_t getZoom() const { return zoomTicks; }
    bool isDragging() const { return dragging; }
    // Up and Down edit the second value of a kind-1 envelope while set.
    bool secondLaneShown = false;

private:
    int32_t width() const { return rect.width(); }
    // The height of one lane: half the graph for kind 3.
    int32_t laneHeight(int32_t kind) const { return kind == 3 ? rect.height() / 2 : rect.height(); }
    // Too small to map the pointer to ticks and values.
    bool tooSmall() const { return width() < 2 || rect.height() < 3; }
    // The selection kept to a node of this envelope, -1 when it has none.
    void clampSelection(const TesselEnvelope& envelope);
    void widenBy(int32_t pixels);
    void movePointerLeft(int32_t pixels);
    int32_t xOfTick(int64_t tick) const;
    int32_t nearestNode(const TesselEnvelope& envelope, const CPoint& local, int32_t kind) const;
    void insertByKey(TesselEnvelope& envelope, int32_t kind);
    void startPress(const CPoint& point, int32_t tick, int32_t value, TesselEnvelope& envelope, int32_t kind,
                    bool insert);
    void drawGrid(VSTGUI::CDrawContext* context, const TesselEnvelope& envelope);
    void drawLabels(VSTGUI::CDrawContext* context, int32_t kind);
    void drawNodes(VSTGUI::CDrawContext* context, const TesselEnvelope& envelope, int32_t kind, bool focused);
    void drawReadout(VSTGUI::CDrawContext* context, const TesselEnvelope& envelope, int32_t kind);

    CRect rect;
    bool dragging = false;
    int32_t selection = -1;
    bool lowerLane = false;
    uint32_t zoomTicks = kStartZoom;
    int32_t draggedNode = -1;
    // A press moves its node only once the pointer leaves this point.
    CPoint pressPoint;
    bool pointerMoved = false;
    TesselEditorServices* editor;
    VSTGUI::CBitmap* oneLaneLabel;
    VSTGUI::CBitmap* upperLaneLabel;
    VSTGUI::CBitmap* lowerLaneLabel;
    VSTGUI::CBitmap* secondLaneLabel;
};
