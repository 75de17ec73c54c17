#pragma once
// One row of one track: its own subrow (index = row number) plus the further
// subrows that play on later ticks of the row.

#include "model/song/subrow.h"

#include <memory>

class TesselRow : public TesselSubrow {
public:
    explicit constexpr TesselRow(int16_t rowIndex = 0) : TesselSubrow(rowIndex) {}
    // A copy of the own subrow and the further subrows (row copies read
    // their sources into these before writing).
    TesselRow(const TesselRow& other);
    TesselRow& operator=(const TesselRow&) = delete;

    void clear() override;
    // An existing but empty list still makes the row non-empty until pruned.
    bool isEmpty() const override;
    bool hasPitch() const override;

    void mergeRow(const TesselRow& other);

    // The row's own subrow, its effect and its further subrows as nested rows.
    void writeXml(FILE* file) const override;
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element) override;

    // Stores data as subrow n (0 = the own subrow) and returns the stored subrow.
    TesselSubrow& setSubrow(int n, const TesselSubrow& subrow);
    // Marks subrow n for removal and renumbers the later ones; pruning finishes it.
    void removeSubrow(int n);
    void pruneSubrows();
    void assign(const TesselRow& other);

    // Subrow n (0 = own); a missing further subrow is created empty in index order.
    TesselSubrow& subrowAt(int n);

    // The subrow with that number (0 = own), or null.
    TesselSubrow* findSubrow(int n);
    const TesselSubrow* findSubrow(int n) const;

    bool hasSubrowList() const { return subrows_ != nullptr; }
    const TesselSubrowList* subrows() const { return subrows_.get(); }
    TesselSubrowList* subrows() { return subrows_.get(); }

    // The static empty row that readers use where a slot holds no row.
    static const TesselRow& blank();

private:
    std::unique_ptr<TesselSubrowList> subrows_;
};

// Built before any code runs (no first-use guard): the engine compares cells
// with it for every channel of every row.
extern const TesselRow tesselBlankRow;

inline const TesselRow& TesselRow::blank()
{
    return tesselBlankRow;
}
