#include "region_test_support.h"

#include <functional>
#include <limits>

namespace {

struct FieldCase {
    const char* name;
    std::vector<Cell> cells;   // channel 0
    int firstRow;
    int lastRow;
    std::function<void(TesselSelection&, TesselModule&)> operation;
    const char* expected;
};

void PrintTo(const FieldCase& c, std::ostream* out)
{
    *out << c.name;
}

class RegionFields : public RegionTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(RegionFields, GiveExactCells)
{
    const FieldCase& c = GetParam();
    song->samples[0].defaultVolume = 50;   // sample 1
    song->samples[1].defaultVolume = 64;   // sample 2
    for (const Cell& cell : c.cells)
        put(*pattern, 0, cell);
    selectBlock(0, c.firstRow, 0, c.lastRow);
    c.operation(region, *song);
    EXPECT_EQ(cellText(*pattern, 0), c.expected);
}

auto amplify(uint8_t mask, int percent)
{
    return [=](TesselSelection& s, TesselModule& m) { s.amplify(mask, static_cast<float>(percent * 0.01), m.samples); };
}
auto transpose(uint8_t mask, int32_t amount)
{
    return [=](TesselSelection& s, TesselModule& m) { s.transpose(mask, amount, m.samples); };
}
auto interpolate(uint8_t mask)
{
    return [=](TesselSelection& s, TesselModule&) { s.interpolate(mask); };
}
auto setField(uint8_t mask, int32_t value, bool orphans = false)
{
    return [=](TesselSelection& s, TesselModule&) { s.setField(mask, value, orphans); };
}
auto clear(uint8_t mask, bool orphans)
{
    return [=](TesselSelection& s, TesselModule&) { s.clear(mask, orphans); };
}

INSTANTIATE_TEST_SUITE_P(Table, RegionFields, ::testing::Values(
    // Amplify: a set volume in single precision, a sample's default in double.
    FieldCase{"Amplify70", {{.row = 0, .volume = 50}, {.row = 1, .instrument = 1}}, 0, 1, amplify(kFieldVolume, 70),
              "0.0:v35 1.0:i1v34"},
    FieldCase{"Amplify150", {{.row = 0, .volume = 50}, {.row = 1, .volume = 33}, {.row = 2, .pitch = 60}}, 0, 2,
              amplify(kFieldVolume, 150), "0.0:v64 1.0:v49 2.0:p60"},
    FieldCase{"AmplifyPitchSpecialNotes", {{.row = 0, .pitch = 100}, {.row = 1, .pitch = 254}}, 0, 1,
              amplify(kFieldPitch, 200), "0.0:p119 1.0:p254"},
    FieldCase{"AmplifyHugeFactorClampsEffect", {{.row = 0, .command = 'A', .parameter = 3}}, 0, 0,
              [](TesselSelection& s, TesselModule& m) { s.amplify(kFieldEffect, 1e30f, m.samples); }, "0.0:A255"},
    FieldCase{"AmplifyNaNGivesZero", {{.row = 0, .volume = 40}}, 0, 0,
              [](TesselSelection& s, TesselModule& m) {
                  s.amplify(kFieldVolume, std::numeric_limits<float>::quiet_NaN(), m.samples);
              },
              "0.0:v0"},
    FieldCase{"AmplifyInstrumentUnchanged", {{.row = 0, .instrument = 5}}, 0, 0, amplify(kFieldInstrument, 300),
              "0.0:i5"},
    // Interpolation: float accumulator, truncation, inner rows overwritten.
    FieldCase{"Interpolate1To21", {{.row = 0, .volume = 1}, {.row = 3, .volume = 60}, {.row = 6, .volume = 21}}, 0, 6,
              interpolate(kFieldVolume), "0.0:v1 1.0:v4 2.0:v7 3.0:v10 4.0:v14 5.0:v17 6.0:v21"},
    FieldCase{"Interpolate64To0", {{.row = 0, .volume = 64}, {.row = 3, .volume = 0}}, 0, 3,
              interpolate(kFieldVolume), "0.0:v64 1.0:v42 2.0:v21 3.0:v0"},
    FieldCase{"Interpolate0To64", {{.row = 0, .volume = 0}, {.row = 4, .volume = 64}}, 0, 4,
              interpolate(kFieldVolume), "0.0:v0 1.0:v16 2.0:v32 3.0:v48 4.0:v64"},
    FieldCase{"InterpolateTwoRowsNothing", {{.row = 0, .volume = 0}, {.row = 1, .volume = 64}}, 0, 1,
              interpolate(kFieldVolume), "0.0:v0 1.0:v64"},
    FieldCase{"InterpolateEmptyEndNothing", {{.row = 0, .volume = 8}, {.row = 1, .volume = 9}}, 0, 2,
              interpolate(kFieldVolume), "0.0:v8 1.0:v9"},
    FieldCase{"InterpolateEffectsParameterOnly",
              {{.row = 0, .command = 'D', .parameter = 0}, {.row = 1, .pitch = 5}, {.row = 2, .command = 'D', .parameter = 20}},
              0, 2, interpolate(kFieldEffect), "0.0:D0 1.0:p5.10 2.0:D20"},
    FieldCase{"InterpolateDifferentEffectsNothing",
              {{.row = 0, .command = 'D', .parameter = 0}, {.row = 2, .command = 'E', .parameter = 20}}, 0, 2,
              interpolate(kFieldEffect), "0.0:D0 2.0:E20"},
    // Transpose: bounds, special notes, instruments, sample volumes.
    FieldCase{"TransposeBounds", {{.row = 0, .pitch = 118}, {.row = 1, .pitch = 5}, {.row = 2, .pitch = 255}}, 0, 2,
              transpose(kFieldPitch, 12), "0.0:p119 1.0:p17 2.0:p255"},
    FieldCase{"TransposeDownFloor", {{.row = 0, .pitch = 5}, {.row = 1, .pitch = 254}}, 0, 1, transpose(kFieldPitch, -12),
              "0.0:p0 1.0:p254"},
    FieldCase{"TransposeExtremeAmount", {{.row = 0, .pitch = 60, .volume = 10}}, 0, 0,
              transpose(kFieldPitch, std::numeric_limits<int32_t>::max()), "0.0:p119v10"},
    FieldCase{"TransposeInstrument", {{.row = 0, .instrument = 98}, {.row = 1, .instrument = 2}, {.row = 2, .pitch = 1}}, 0, 2,
              transpose(kFieldInstrument, 5), "0.0:i99 1.0:i7 2.0:p1"},
    FieldCase{"TransposeEmptyVolumeReadsSample",
              {{.row = 0, .instrument = 1}, {.row = 1, .instrument = 2}, {.row = 2, .pitch = 3}, {.row = 3, .instrument = 120}},
              0, 3, transpose(kFieldVolume, -4), "0.0:i1v46 1.0:i2v60 2.0:p3 3.0:i120"},
    FieldCase{"TransposeEffectNeedsAnEffect", {{.row = 0, .command = 'A', .parameter = 250}, {.row = 1, .pitch = 1}}, 0, 1,
              transpose(kFieldEffect, 10), "0.0:A255 1.0:p1"},
    // Set: on own subrows only; notes and instruments only where present.
    FieldCase{"SetNote", {{.row = 0, .pitch = 10}, {.row = 1, .pitch = 254}, {.row = 2, .volume = 1}}, 0, 2,
              setField(kFieldPitch, 500), "0.0:p119 1.0:p254 2.0:v1"},
    FieldCase{"SetInstrument", {{.row = 0, .instrument = 3}, {.row = 1, .pitch = 1}}, 0, 1, setField(kFieldInstrument, -7),
              "0.0:i1 1.0:p1"},
    FieldCase{"SetVolumeWritesEmptyRows", {{.row = 1, .volume = 5}}, 0, 1, setField(kFieldVolume, 80), "0.0:v64 1.0:v64"},
    FieldCase{"SetOrphansOnly", {{.row = 0, .pitch = 1, .volume = 5}, {.row = 1, .volume = 5}}, 0, 1,
              setField(kFieldVolume, 9, true), "0.0:p1v5 1.0:v9"},
    // Clear.
    FieldCase{"ClearOrphanedVolumes",
              {{.row = 0, .pitch = 1, .volume = 5}, {.row = 1, .instrument = 2, .volume = 5}, {.row = 2, .volume = 5}}, 0, 2,
              clear(kFieldVolume, true), "0.0:p1v5 1.0:i2v5"},
    FieldCase{"ClearEffects", {{.row = 0, .pitch = 1, .command = 'A', .parameter = 5}}, 0, 0, clear(kFieldEffect, false),
              "0.0:p1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegionTest, SetTouchesOnlyEachRowsOwnSubrow)
{
    subrows[2] = 3;
    put(*pattern, 0, {.row = 2, .subrow = 1, .volume = 7});
    selectBlock(0, 2, 0, 2);
    region.setField(kFieldVolume, 30, false);
    EXPECT_EQ(cellText(*pattern, 0), "2.0:v30 2.1:v7");
}

TEST_F(RegionTest, TransposeReachesSubrowsAndTidiesTheRegion)
{
    subrows[1] = 2;
    put(*pattern, 0, {.row = 1, .subrow = 1, .pitch = 40});
    put(*pattern, 1, {.row = 0, .pitch = 1});
    pattern->tracks.getTrack(0).getRow(3).subrowAt(1);   // empty, left by an earlier edit
    selectBlock(0, 0, 1, 3);
    region.transpose(kFieldPitch, 2, song->samples);
    EXPECT_EQ(cellText(*pattern, 0), "1.1:p42");
    EXPECT_EQ(cellText(*pattern, 1), "0.0:p3");
    EXPECT_EQ(pattern->tracks.trackAt(0)->rowAt(3), nullptr) << "the empty row is freed";
    EXPECT_EQ(pattern->tracks.trackAt(0)->rowAt(0), nullptr);
}

TEST_F(RegionTest, InactiveRegionChangesNothing)
{
    put(*pattern, 0, {.row = 0, .pitch = 1, .volume = 5});
    selectBlock(0, 0, 0, 3);
    region.active = 0;
    region.clear(kFieldCell, false);
    region.setField(kFieldVolume, 9, false);
    region.transpose(kFieldPitch, 5, song->samples);
    region.doubleLength();
    EXPECT_EQ(cellText(*pattern, 0), "0.0:p1v5");
    EXPECT_FALSE(region.swapWith(*pattern, {0, 0, 8, 0}));
}

} // namespace
