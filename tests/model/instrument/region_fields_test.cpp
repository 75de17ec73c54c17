#include "region_test_support.h"

#include <functional>
#include <limits>

namespace {

using Operation = std::function<void(TesselSelection&, TesselModule&)>;

struct FieldCase {
    const char* name;
    const char* before;   // channel 0
    int firstRow, lastRow;
    Operation operation;
    const char* after;
};

class RegionFields : public RegionTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(RegionFields, GiveExactCells)
{
    song->samples[0].defaultVolume = 50;   // sample 1
    song->samples[1].defaultVolume = 64;
    subrows[9] = 2;
    putCells(*pattern, 0, GetParam().before);
    selectBlock(0, GetParam().firstRow, 0, GetParam().lastRow);
    GetParam().operation(region, *song);
    EXPECT_EQ(cellText(*pattern, 0), GetParam().after);
}

Operation amplify(uint8_t mask, float factor)
{
    return [=](TesselSelection& s, TesselModule& m) { s.amplify(mask, factor, m.samples); };
}
Operation percent(uint8_t mask, int percent)   // as the command passes it
{
    return amplify(mask, static_cast<float>(percent * 0.01));
}
Operation transpose(uint8_t mask, int32_t amount)
{
    return [=](TesselSelection& s, TesselModule& m) { s.transpose(mask, amount, m.samples); };
}
Operation interpolate(uint8_t mask)
{
    return [=](TesselSelection& s, TesselModule&) { s.interpolate(mask); };
}
Operation setField(uint8_t mask, int32_t value, bool orphans = false)
{
    return [=](TesselSelection& s, TesselModule&) { s.setField(mask, value, orphans); };
}
Operation clear(uint8_t mask, bool orphans)
{
    return [=](TesselSelection& s, TesselModule&) { s.clear(mask, orphans); };
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(Table, RegionFields, ::testing::Values(
    // A set volume is scaled in single precision, a sample's default in double.
    FieldCase{"Amplify70", "0.0:v50 1.0:i1", 0, 1, percent(kFieldVolume, 70), "0.0:v35 1.0:i1v34"},
    FieldCase{"Amplify150", "0.0:v50 1.0:v33 2.0:p60", 0, 2, percent(kFieldVolume, 150), "0.0:v64 1.0:v49 2.0:p60"},
    FieldCase{"AmplifyNotes", "0.0:p100 1.0:p254", 0, 1, percent(kFieldPitch, 200), "0.0:p119 1.0:p254"},
    FieldCase{"AmplifyHugeFactor", "0.0:A3 1.0:i5", 0, 1, amplify(kFieldEffect, 1e30f), "0.0:A255 1.0:i5"},
    FieldCase{"AmplifyNaN", "0.0:v40", 0, 0, amplify(kFieldVolume, kNaN), "0.0:v0"},
    // A float accumulator, truncated; inner rows overwritten.
    FieldCase{"Interpolate1To21", "0.0:v1 3.0:v60 6.0:v21", 0, 6, interpolate(kFieldVolume),
              "0.0:v1 1.0:v4 2.0:v7 3.0:v10 4.0:v14 5.0:v17 6.0:v21"},
    FieldCase{"Interpolate64To0", "0.0:v64 3.0:v0", 0, 3, interpolate(kFieldVolume), "0.0:v64 1.0:v42 2.0:v21 3.0:v0"},
    FieldCase{"Interpolate0To64", "0.0:v0 4.0:v64", 0, 4, interpolate(kFieldVolume),
              "0.0:v0 1.0:v16 2.0:v32 3.0:v48 4.0:v64"},
    FieldCase{"InterpolateTwoRows", "0.0:v0 1.0:v64", 0, 1, interpolate(kFieldVolume), "0.0:v0 1.0:v64"},
    FieldCase{"InterpolateParameters", "0.0:D0 1.0:p5 2.0:D20", 0, 2, interpolate(kFieldEffect), "0.0:D0 1.0:p5.10 2.0:D20"},
    FieldCase{"InterpolateOtherEffects", "0.0:D0 2.0:E20", 0, 2, interpolate(kFieldEffect), "0.0:D0 2.0:E20"},
    // Transposes at the bounds; special notes and instruments outside 1..99 stay.
    FieldCase{"TransposeUp", "0.0:p118 1.0:p5 2.0:p255", 0, 2, transpose(kFieldPitch, 12), "0.0:p119 1.0:p17 2.0:p255"},
    FieldCase{"TransposeDown", "0.0:p5 1.0:p254", 0, 1, transpose(kFieldPitch, -12), "0.0:p0 1.0:p254"},
    FieldCase{"TransposeHuge", "0.0:p60v10", 0, 0, transpose(kFieldPitch, kHuge), "0.0:p119v10"},
    FieldCase{"TransposeInstruments", "0.0:i98 1.0:i2 2.0:p1", 0, 2, transpose(kFieldInstrument, 5), "0.0:i99 1.0:i7 2.0:p1"},
    FieldCase{"TransposeSampleVolume", "0.0:i1 1.0:i2 2.0:p3 3.0:i120", 0, 3, transpose(kFieldVolume, -4),
              "0.0:i1v46 1.0:i2v60 2.0:p3 3.0:i120"},
    FieldCase{"TransposeSubrows", "9.1:p40", 9, 9, transpose(kFieldPitch, 2), "9.1:p42"},
    // Set works on each row's own subrow.
    FieldCase{"SetNote", "0.0:p10 1.0:p254 2.0:v1", 0, 2, setField(kFieldPitch, 500), "0.0:p119 1.0:p254 2.0:v1"},
    FieldCase{"SetInstrument", "0.0:i3 1.0:p1", 0, 1, setField(kFieldInstrument, -7), "0.0:i1 1.0:p1"},
    FieldCase{"SetVolume", "1.0:v5 9.1:v7", 0, 9, setField(kFieldVolume, 80),
              "0.0:v64 1.0:v64 2.0:v64 3.0:v64 4.0:v64 5.0:v64 6.0:v64 7.0:v64 8.0:v64 9.0:v64 9.1:v7"},
    FieldCase{"SetOrphans", "0.0:p1v5 1.0:v5", 0, 1, setField(kFieldVolume, 9, true), "0.0:p1v5 1.0:v9"},
    FieldCase{"ClearOrphans", "0.0:p1v5 1.0:i2v5 2.0:v5", 0, 2, clear(kFieldVolume, true), "0.0:p1v5 1.0:i2v5"},
    FieldCase{"ClearEffects", "0.0:p1A5", 0, 0, clear(kFieldEffect, false), "0.0:p1"}),
    CaseName());

TEST_F(RegionTest, ChangesTidyTheRegionAndNeedAnActiveOne)
{
    putCells(*pattern, 1, "0.0:p1");
    pattern->tracks.getTrack(0).getRow(3).subrowAt(1);   // an empty subrow left by an earlier edit
    selectBlock(0, 0, 1, 3);
    region.transpose(kFieldPitch, 2, song->samples);
    EXPECT_EQ(cellText(*pattern, 1), "0.0:p3");
    EXPECT_EQ(pattern->tracks.trackAt(0)->rowAt(3), nullptr);

    region.active = 0;
    region.clear(kFieldCell, false);
    region.doubleLength();
    EXPECT_EQ(cellText(*pattern, 1), "0.0:p3");
}

} // namespace
