#pragma once
// One note event of a pattern cell, and the list of further subrows that play
// on later ticks of the same row.

#include <cstdint>
#include <cstdio>
#include <list>

class TesselMemoryFile;
struct TesselElement;

struct TesselEffect {
    uint8_t cellIndex = 0;     // a subrow has exactly one cell, number 0
    char command = '.';        // '.' = no effect
    int16_t parameter = 0;     // two hexadecimal digits: high and low nibble
};

struct TesselSubrowData {
    int16_t pitch = -1;        // 254 note cut, 255 note off
    int16_t instrument = 0;    // 1..99; 0 = none
    int16_t volume = -1;
    int16_t panning = -1;
    int16_t depth = -1;        // front-to-back position; never stored in documents
    TesselEffect effect;
    int16_t index = 0;         // row number (own subrow) or tick number (further subrow); -1 = removed
};

class TesselSubrow : public TesselSubrowData {
public:
    explicit constexpr TesselSubrow(int16_t subrowIndex = 0) { index = subrowIndex; }
    TesselSubrow(const TesselSubrow&) = default;
    TesselSubrow& operator=(const TesselSubrow&) = default;
    virtual ~TesselSubrow() = default;

    virtual void clear();
    virtual bool matchesEffect(char letter, int high, int low) const;
    virtual void merge(const TesselSubrow& other);
    virtual bool isEmpty() const;
    virtual bool hasPitch() const { return pitch != -1; }

    // Copies the note data but keeps this subrow's own index; the cell index becomes 0.
    void assign(const TesselSubrowData& other);
    // Pitch, instrument, volume, panning, depth, effect letter and parameter all equal.
    bool sameData(const TesselSubrowData& other) const;
    // The cell triggers its instrument: it has one and no portamento ('G', 'L').
    bool startsNote() const;

    // Document markup: a "row" element with its "effect" cell. A subrow whose
    // index is -1 writes nothing.
    virtual void writeXml(FILE* file) const;
    // Reads the element's attributes, then its children up to the closing
    // "row"; false when the input ends first.
    virtual bool readXml(TesselMemoryFile& buffer, const TesselElement& element);

protected:
    // Index, then a clear, then the note fields; panning's short name differs
    // between a row ("b") and a nested subrow ("x").
    void readAttributes(const TesselElement& element, const char* panningShortName);
    void writeOpen(FILE* file) const;
};

// Further subrows of a row, kept in ascending index order, one per index.
using TesselSubrowList = std::list<TesselSubrow>;
