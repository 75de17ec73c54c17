#include "model/song/order_list.h"

#include <algorithm>

void TesselOrderEntry::clearSlot(int n)
{
    // A negative slot moves the slots before it first; with one slot there are none.
    if (n <= 0)
        pattern = kOrderEmpty;
}

void TesselOrderList::reset()
{
    for (int i = 0; i < kOrderEntries; ++i) {
        entries[static_cast<size_t>(i)].index = i;
        entries[static_cast<size_t>(i)].pattern = kOrderEmpty;
    }
    for (int k = 0; k < kOrderPitches; ++k) {
        pitches[static_cast<size_t>(k)].index = k;
        pitches[static_cast<size_t>(k)].pattern = kOrderEmpty;
    }
    pitchMode = 0;
    length = 0;
}

void TesselOrderList::assign(const TesselOrderList& other)
{
    entries = other.entries;
    pitches = other.pitches;
    pitchMode = other.pitchMode;
    length = other.length;
}

void TesselOrderList::updateLength()
{
    length = 0;
    for (int i = kOrderEntries - 1; i >= 0; --i)
        if (!entries[static_cast<size_t>(i)].isEmpty()) {
            length = i + 1;
            return;
        }
}

bool TesselOrderList::contains(int32_t p) const
{
    auto holds = [p](const TesselOrderEntry& e) { return e.contains(p) != 0; };
    if (inPitchMode())
        return std::any_of(pitches.begin(), pitches.end(), holds);
    return std::any_of(entries.begin(), entries.end(), holds);
}

bool TesselOrderList::isEmpty() const
{
    if (inPitchMode())
        return false;
    auto empty = [](const TesselOrderEntry& e) { return e.isEmpty(); };
    return std::all_of(entries.begin(), entries.end(), empty) && std::all_of(pitches.begin(), pitches.end(), empty);
}

bool TesselOrderList::hasRepeatedPattern() const
{
    const int n = std::clamp(length, 0, kOrderEntries);
    for (int i = 0; i < n; ++i) {
        const int32_t p = entries[static_cast<size_t>(i)].pattern;
        if (p < 0)
            continue;
        for (int j = 0; j < i; ++j)
            if (entries[static_cast<size_t>(j)].pattern == p)
                return true;
    }
    return false;
}

void TesselOrderList::removeAt(int i)
{
    auto shift = [i](auto& table) {
        const int last = static_cast<int>(table.size()) - 1;
        if (i < 0 || i > last)
            return;
        for (int k = i; k < last; ++k)
            table[static_cast<size_t>(k)].pattern = table[static_cast<size_t>(k + 1)].pattern;
        table[static_cast<size_t>(last)].pattern = kOrderEmpty;
    };
    if (inPitchMode())
        shift(pitches);
    else
        shift(entries);
}

void insertOrderEntry(TesselOrderList& orders, int position, std::optional<int32_t> value)
{
    auto insert = [&](auto& table) {
        const int last = static_cast<int>(table.size()) - 1;
        if (position < 0 || position > last)
            return;
        for (int k = last; k > position; --k)
            table[static_cast<size_t>(k)].pattern = table[static_cast<size_t>(k - 1)].pattern;
        table[static_cast<size_t>(position)].pattern = value.value_or(kOrderEmpty);
    };
    if (orders.inPitchMode())
        insert(orders.pitches);
    else
        insert(orders.entries);
}
