#include "model/song/track.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

int subrowsShown(const TesselSpeedAtRow& speedAtRow, int row)
{
    return speedAtRow ? std::clamp(speedAtRow(row), 1, kMaxSubrows) : 1;
}

int subrowCountFromSpeed(double speed)
{
    if (!(speed >= 1.0))   // NaN too
        return 1;
    return speed >= kMaxSubrows ? kMaxSubrows : static_cast<int>(speed);
}

const TesselRow& TesselRowTable::rowOrBlank(int i) const
{
    const TesselRow* row = (i >= 0 && i < kMaxRows) ? rows_[static_cast<size_t>(i)].get() : nullptr;
    return row ? *row : TesselRow::blank();
}

void TesselRowTable::setLength(int n)
{
    assert(n >= 0 && n <= kMaxRows);
    n = std::clamp(n, 0, kMaxRows);
    for (int i = n; i < length_; ++i)
        slot(i).reset();
    length_ = static_cast<int16_t>(n);
}

void TesselRowTable::clear()
{
    for (int i = 0; i < length_; ++i)
        slot(i).reset();
}

bool TesselRowTable::isEmpty() const
{
    for (int i = 0; i < length_; ++i)
        if (rows_[static_cast<size_t>(i)] && !rows_[static_cast<size_t>(i)]->isEmpty())
            return false;
    return true;
}

void TesselRowTable::freeEmptyRows()
{
    for (int i = 0; i < length_; ++i)
        if (slot(i) && slot(i)->isEmpty())
            slot(i).reset();
}

void TesselRowTable::assign(const TesselRowTable& other)
{
    setLength(other.length_);
    for (int i = 0; i < kMaxRows; ++i) {
        auto& mine = slot(i);
        const auto& theirs = other.rows_[static_cast<size_t>(i)];
        if (!theirs) {
            mine.reset();
            continue;
        }
        if (!mine)
            mine = std::make_unique<TesselRow>(static_cast<int16_t>(i));
        mine->assign(*theirs);
    }
}

void TesselRowTable::swapRows(TesselRowTable& other) noexcept
{
    rows_.swap(other.rows_);
    std::swap(length_, other.length_);
}

void TesselRowTable::deleteRow(TesselCellPosition position, bool clearOnly)
{
    const int r = position.row;
    if (r < 0 || r >= length_)
        return;
    if (clearOnly) {
        slot(r).reset();
        return;
    }
    if (position.subrow != 0) {
        if (slot(r))
            slot(r)->removeSubrow(position.subrow);
        return;
    }
    slot(r).reset();
    for (int i = r + 1; i < length_; ++i) {
        slot(i - 1) = std::move(slot(i));
        if (slot(i - 1))
            slot(i - 1)->index = static_cast<int16_t>(i - 1);
    }
    slot(length_ - 1).reset();
}

TesselRow& TesselTrack::getRow(int i)
{
    auto& row = slot(i);
    if (!row)
        row = std::make_unique<TesselRow>(static_cast<int16_t>(i));
    return *row;
}

void TesselTrack::insertRows(TesselCellPosition position, int count)
{
    const int r = position.row;
    if (r < 0 || r >= length_ || count <= 0)
        return;
    if (position.subrow != 0) {
        if (TesselSubrowList* list = slot(r) ? slot(r)->subrows() : nullptr)
            for (TesselSubrow& s : *list)
                if (s.index >= position.subrow)
                    s.index = static_cast<int16_t>(std::min(s.index + count, INT16_MAX));
        return;
    }
    for (int n = 0; n < std::min(count, length_ - r); ++n) {
        for (int i = length_ - 1; i > r; --i) {
            slot(i) = std::move(slot(i - 1));
            if (slot(i))
                slot(i)->index = static_cast<int16_t>(i);
        }
    }
    // The moves above leave the slots from the position on empty.
}

void TesselTrack::collectRows(std::vector<TesselSubrow*>& list, int start, int count)
{
    for (int r = std::max(start, 0); count > 0 && r < length_; ++r, --count)
        list.push_back(&getRow(r));
}

void TesselTrack::collectSubrows(std::vector<TesselSubrow*>& list, int startRow, int startSubrow, int count,
                                 const TesselSpeedAtRow& speedAtRow)
{
    for (int r = std::max(startRow, 0); count > 0 && r < length_; ++r) {
        TesselRow& row = getRow(r);
        const int shown = subrowsShown(speedAtRow, r);
        for (int j = (r == startRow ? startSubrow : 0); j < shown && count > 0; ++j, --count)
            list.push_back(&row.subrowAt(j));
    }
}

int TesselTrack::stepRows(std::vector<TesselSubrow*>& list, int start) const
{
    const int held = static_cast<int>(list.size());
    list.clear();
    if (held == 0)
        return start;
    return std::min(start + held - 1, length_ - 1);
}

TesselCellPosition TesselTrack::stepCells(std::vector<TesselSubrow*>& list, int startRow, int startSubrow,
                                          const TesselSpeedAtRow& speedAtRow)
{
    int k = static_cast<int>(list.size());
    list.clear();
    TesselCellPosition last{startRow, startSubrow};
    for (int r = std::max(startRow, 0); k > 0 && r < length_; ++r) {
        TesselRow& row = getRow(r);
        row.pruneSubrows();
        const int shown = subrowsShown(speedAtRow, r);
        for (int j = (r == startRow ? startSubrow : 0); j < shown && k > 0; ++j, --k)
            last = {r, j};
    }
    return last;
}
