// Field operations of a region: clear, set, transpose, amplify, interpolate.
// Arithmetic is done wide and clamped before it is stored in 16-bit fields.
#include "model/sample/sample.h"
#include "model/selection/selection_cells.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHighestNote = 119;
constexpr int kLastPlainPitch = 253;   // 254 and 255 are note cut and note off
constexpr int kFieldMax = 64;
constexpr int kParameterMax = 255;

int16_t clampTo(int64_t value, int low, int high)
{
    return static_cast<int16_t>(std::clamp<int64_t>(value, low, high));
}

// Truncated toward zero, then clamped; NaN gives the low bound. Clamping
// first is the same for these ranges and keeps the conversion defined.
template <class Real>
int16_t truncateTo(Real value, int low, int high)
{
    if (!(value >= static_cast<Real>(low)))
        return static_cast<int16_t>(low);
    if (value >= static_cast<Real>(high))
        return static_cast<int16_t>(high);
    return static_cast<int16_t>(std::trunc(value));
}

bool hasPlainPitch(const TesselSubrowData& cell)
{
    return cell.pitch != -1 && cell.pitch <= kLastPlainPitch;
}

bool hasEffect(const TesselSubrowData& cell)
{
    return cell.effect.command != '.' || cell.effect.parameter != 0;
}

// The sample numbered like the cell's instrument; none outside 1..count.
const TesselSample* sampleOf(const TesselSubrowData& cell, std::span<const TesselSample> samples)
{
    if (cell.instrument < 1 || static_cast<size_t>(cell.instrument) > samples.size())
        return nullptr;
    return &samples[static_cast<size_t>(cell.instrument) - 1];
}

int16_t* rangeField(TesselSubrowData& cell, uint8_t mask)
{
    switch (mask) {
    case kFieldVolume: return &cell.volume;
    case kFieldPanning: return &cell.panning;
    case kFieldDepth: return &cell.depth;
    default: return nullptr;
    }
}

// Cell operations over the cell list of every channel, then the tidy-up.
template <class Change>
void changeCellsAndTidy(const TesselSelection& region, Change change)
{
    region::forEachChannel(region, [&](TesselTrack& track, int) {
        for (TesselSubrow* cell : region::cellList(region, track).cells)
            change(*cell);
        region::tidyChannel(track, region::rowSpan(region, track.length()));
    });
}

void clearField(TesselSubrow& cell, uint8_t mask)
{
    switch (mask) {
    case kFieldCell: region::emptyCell(cell); break;
    case kFieldPitch: cell.pitch = -1; break;
    case kFieldInstrument: cell.instrument = 0; break;
    case kFieldVolume: cell.volume = -1; break;
    case kFieldPanning: cell.panning = -1; break;
    case kFieldDepth: cell.depth = -1; break;
    case kFieldEffect:
        cell.effect.command = '.';
        cell.effect.parameter = 0;
        break;
    default: break;
    }
}

void setRowField(TesselRow& row, uint8_t mask, int32_t value)
{
    if (mask == kFieldPitch && row.pitch != -1 && row.pitch < 254)
        row.pitch = clampTo(value, 0, kHighestNote);
    else if (mask == kFieldInstrument && row.instrument != 0)
        row.instrument = static_cast<int16_t>(value > 99 ? 99 : value > 0 ? value : 1);
    else if (int16_t* field = rangeField(row, mask))
        *field = clampTo(value, 0, kFieldMax);
    else if (mask == kFieldEffect)
        row.effect.parameter = clampTo(value, 0, kParameterMax);
}

void transposeCell(TesselSubrow& cell, uint8_t mask, int64_t amount, std::span<const TesselSample> samples)
{
    if (mask == kFieldPitch && hasPlainPitch(cell)) {
        cell.pitch = clampTo(cell.pitch + amount, 0, kHighestNote);
    } else if (mask == kFieldInstrument && cell.instrument != 0) {
        cell.instrument = clampTo(cell.instrument + amount, 1, 99);
    } else if (mask == kFieldVolume && cell.volume == -1) {
        if (const TesselSample* sample = sampleOf(cell, samples))
            cell.volume = clampTo(sample->defaultVolume + amount, 0, kFieldMax);
    } else if (int16_t* field = rangeField(cell, mask)) {
        if (*field != -1)
            *field = clampTo(*field + amount, 0, kFieldMax);
    } else if (mask == kFieldEffect && hasEffect(cell)) {
        cell.effect.parameter = clampTo(cell.effect.parameter + amount, 0, kParameterMax);
    }
}

void amplifyCell(TesselSubrow& cell, uint8_t mask, float factor, std::span<const TesselSample> samples)
{
    if (mask == kFieldPitch && hasPlainPitch(cell)) {
        cell.pitch = truncateTo(static_cast<float>(cell.pitch) * factor, 0, kHighestNote);
    } else if (mask == kFieldVolume && cell.volume == -1) {
        // The sample's volume is scaled in double precision, a set one in single.
        if (const TesselSample* sample = sampleOf(cell, samples))
            cell.volume = truncateTo(sample->defaultVolume * static_cast<double>(factor), 0, kFieldMax);
    } else if (int16_t* field = rangeField(cell, mask)) {
        if (*field != -1)
            *field = truncateTo(static_cast<float>(*field) * factor, 0, kFieldMax);
    } else if (mask == kFieldEffect && hasEffect(cell)) {
        cell.effect.parameter = truncateTo(static_cast<float>(cell.effect.parameter) * factor, 0, kParameterMax);
    }
}

// The field of a cell that interpolation reads and writes.
int16_t* interpolatedField(TesselSubrowData& cell, uint8_t mask)
{
    if (mask == kFieldPitch)
        return &cell.pitch;
    if (mask == kFieldEffect)
        return &cell.effect.parameter;
    return rangeField(cell, mask);
}

bool validEnd(TesselSubrowData& cell, uint8_t mask)
{
    const int16_t* field = interpolatedField(cell, mask);
    const int high = mask == kFieldPitch ? kLastPlainPitch : mask == kFieldEffect ? kParameterMax : kFieldMax;
    return field && *field >= 0 && *field <= high;
}

void interpolateRows(const std::vector<TesselRow*>& rows, uint8_t mask)
{
    TesselRow& first = *rows.front();
    TesselRow& last = *rows.back();
    if (!validEnd(first, mask) || !validEnd(last, mask) ||
        (mask == kFieldEffect && first.effect.command != last.effect.command))
        return;
    const int a = *interpolatedField(first, mask);
    const int b = *interpolatedField(last, mask);
    const size_t n = rows.size();
    // The step is worked out in double and kept as a float; the accumulator
    // adds it in single precision, so 1 to 21 over 7 rows writes 10, not 11.
    const float step = static_cast<float>(static_cast<double>(b - a) / static_cast<double>(n - 1));
    float accumulator = static_cast<float>(a);
    for (size_t i = 1; i + 1 < n; ++i) {
        accumulator += step;
        *interpolatedField(*rows[i], mask) = static_cast<int16_t>(std::trunc(accumulator));
    }
}

} // namespace

void TesselSelection::clear(uint8_t mask, bool orphansOnly)
{
    changeCellsAndTidy(*this, [&](TesselSubrow& cell) {
        if (!region::skipsCell(cell, orphansOnly))
            clearField(cell, mask);
    });
}

void TesselSelection::setField(uint8_t mask, int32_t value, bool orphansOnly)
{
    region::forEachChannel(*this, [&](TesselTrack& track, int) {
        for (TesselRow* row : region::rowList(*this, track))
            if (!region::skipsCell(*row, orphansOnly))
                setRowField(*row, mask, value);
    });
}

void TesselSelection::transpose(uint8_t mask, int32_t amount, std::span<const TesselSample> samples)
{
    changeCellsAndTidy(*this, [&](TesselSubrow& cell) { transposeCell(cell, mask, amount, samples); });
}

void TesselSelection::amplify(uint8_t mask, float factor, std::span<const TesselSample> samples)
{
    changeCellsAndTidy(*this, [&](TesselSubrow& cell) { amplifyCell(cell, mask, factor, samples); });
}

void TesselSelection::interpolate(uint8_t mask)
{
    if (rowCount() < 3)
        return;
    region::forEachChannel(*this, [&](TesselTrack& track, int) {
        const std::vector<TesselRow*> rows = region::rowList(*this, track);
        if (rows.size() >= 3)
            interpolateRows(rows, mask);
    });
}
