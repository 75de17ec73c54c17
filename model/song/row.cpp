#include "model/song/row.h"

TesselRow::TesselRow(const TesselRow& other)
    : TesselSubrow(other),
      subrows_(other.subrows_ ? std::make_unique<TesselSubrowList>(*other.subrows_) : nullptr)
{
}

void TesselRow::clear()
{
    TesselSubrow::clear();
    subrows_.reset();
}

bool TesselRow::isEmpty() const
{
    return TesselSubrow::isEmpty() && !subrows_;
}

bool TesselRow::hasPitch() const
{
    if (TesselSubrow::hasPitch())
        return true;
    if (subrows_)
        for (const TesselSubrow& s : *subrows_)
            if (s.hasPitch())
                return true;
    return false;
}

void TesselRow::mergeRow(const TesselRow& other)
{
    merge(other);
    if (!other.subrows_)
        return;
    for (const TesselSubrow& theirs : *other.subrows_) {
        if (TesselSubrow* mine = findSubrow(theirs.index))
            mine->merge(theirs);
        else
            setSubrow(theirs.index, theirs);
    }
}

TesselSubrow& TesselRow::setSubrow(int n, const TesselSubrow& subrow)
{
    if (n == 0) {
        TesselSubrow::assign(subrow);
        return *this;
    }
    if (!subrows_)
        subrows_ = std::make_unique<TesselSubrowList>();
    for (auto it = subrows_->begin(); it != subrows_->end(); ++it) {
        if (it->index == n) {
            it->assign(subrow);
            return *it;
        }
        if (it->index > n)
            return *subrows_->insert(it, subrow);
    }
    subrows_->push_back(subrow);
    return subrows_->back();
}

void TesselRow::removeSubrow(int n)
{
    if (!subrows_)
        return;
    for (TesselSubrow& s : *subrows_) {
        if (s.index == n) {
            s.index = -1;
        } else if (s.index > n) {
            --s.index;
            if (s.index == 0)
                TesselSubrow::assign(s);
        }
    }
}

void TesselRow::pruneSubrows()
{
    if (!subrows_)
        return;
    subrows_->remove_if([](const TesselSubrow& s) { return s.index < 1 || s.isEmpty(); });
    if (subrows_->empty())
        subrows_.reset();
}

void TesselRow::assign(const TesselRow& other)
{
    TesselSubrow::assign(other);
    if (other.subrows_)
        subrows_ = std::make_unique<TesselSubrowList>(*other.subrows_);
    else
        subrows_.reset();
}

TesselSubrow& TesselRow::subrowAt(int n)
{
    if (TesselSubrow* found = findSubrow(n))
        return *found;
    return setSubrow(n, TesselSubrow(static_cast<int16_t>(n)));
}

TesselSubrow* TesselRow::findSubrow(int n)
{
    return const_cast<TesselSubrow*>(static_cast<const TesselRow*>(this)->findSubrow(n));
}

const TesselSubrow* TesselRow::findSubrow(int n) const
{
    if (n == 0)
        return this;
    if (subrows_)
        for (const TesselSubrow& s : *subrows_)
            if (s.index == n)
                return &s;
    return nullptr;
}

constinit const TesselRow tesselBlankRow;
