#pragma once
// The four envelopes of an instrument (volume, panning, pitch, filter).

#include "model/sample/sample_loop.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

class TesselMemoryFile;

constexpr int kEnvelopeNodes = 32;
constexpr int kMaxEnvelopeTick = 30000;

struct TesselEnvelopeNode {
    uint16_t tick = 0;
    uint16_t value = 0;
    float slope = 0.0f;    // of value from the previous node, per tick
    uint16_t value2 = 0;
    float slope2 = 0.0f;   // of value2
};

class TesselEnvelope {
public:
    // enabled: 0 off, 1 node positions in ticks, 2 in milliseconds (the
    // editor's coarse grid).
    enum Mode : uint8_t { Off = 0, Ticks = 1, Milliseconds = 2 };

    TesselEnvelope() { reset(); }
    TesselEnvelope(const TesselEnvelope&) = delete;
    TesselEnvelope& operator=(const TesselEnvelope&) = delete;

    void reset();
    void assign(const TesselEnvelope& other);
    // Nodes on the same tick (or out of order) get slope 0.
    void computeSlopes();
    bool isEmpty() const;

    // Document markup: an "envelope" with its loops and its nodes on one line.
    void writeXml(FILE* file) const;
    void writeNodeXml(FILE* file, int i) const;
    // Resets, then the flags, loops and up to 32 nodes (later ones are
    // dropped); slopes are computed at the closing element. False when the
    // input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);

    // Node edits; each recomputes the slopes. insertNode refuses (-1) when
    // 32 nodes exist, limits the tick to 30000, gives a node already at that
    // tick the new values, and puts the first node of an empty envelope at
    // tick 0; else the index of the new node in tick order.
    int insertNode(int tick, uint16_t value, uint16_t value2);
    // False for an index that is not a node.
    bool deleteNode(int index);
    // Node 0 keeps tick 0; another node takes the tick only strictly between
    // its neighbours' and keeps its own otherwise. A value of -1 keeps the
    // node's value. A tick above 30000 (or a bad index) refuses the move.
    bool moveNode(int index, int tick, int value, int value2);
    // Both values of every node at most 64.
    void clampValues();

    int count() const { return nodeCount; }
    TesselEnvelopeNode& node(int i) { return nodes[static_cast<size_t>(i)]; }
    const TesselEnvelopeNode& node(int i) const { return nodes[static_cast<size_t>(i)]; }

    uint8_t enabled = 0;
    uint8_t carry = 0;
    TesselLoop loop;
    TesselLoop sustain;
    std::array<TesselEnvelopeNode, kEnvelopeNodes> nodes{};
    uint32_t nodeCount = 0;   // 0..32
};

enum TesselEnvelopeKind { kVolumeEnvelope = 0, kPanningEnvelope = 1, kPitchEnvelope = 2, kFilterEnvelope = 3 };
constexpr int kEnvelopes = 4;
