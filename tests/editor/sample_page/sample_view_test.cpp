// What the sample page shows of a sample: the read-out texts, bounded for
// any value, and the zoomed loop views, which read frames outside the
// sample as silence.

#include "editor/sample_list/sample_texts.h"
#include "editor/sample_list/sample_waveform.h"
#include "gui/offscreen_context.h"
#include "model/sample/sample.h"
#include "resources/palette.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

using sample_waveform::drawZoom;
using sample_waveform::frameValue;

TEST(SampleTexts, ReadOutsAreBoundedForAnyValue)
{
    TesselSample s;
    EXPECT_EQ(sampleFormatText(s), "No sample");
    EXPECT_EQ(sampleLengthText(s), "");
    s.bits = 16;
    s.fileRate = 44100;
    s.length = 1234;
    EXPECT_EQ(sampleFormatText(s), "16\x84\x85/44.1\x86\x87");
    EXPECT_EQ(sampleLengthText(s), "1234");
    for (int32_t extreme : {INT32_MIN, -1, INT32_MAX}) {
        s.bits = extreme;
        s.fileRate = extreme;
        s.length = extreme;
        EXPECT_LT(sampleFormatText(s).size(), 48u);
        EXPECT_LE(sampleLengthText(s).size(), 11u);
        EXPECT_LT(sampleNoteText(extreme).size(), 24u);
    }
    EXPECT_EQ(sampleNoteText(60), "@ C-5");
    EXPECT_EQ(sampleNoteText(119), "@ B-9");
    EXPECT_EQ(sampleValueText(-32768.0f), "-32768");
    EXPECT_LE(sampleValueText(3e38f).size(), 16u);
    EXPECT_LE(sampleValueText(std::nanf("")).size(), 16u);

    const struct {
        int32_t length;
        int32_t digits;
    } digits[] = {{-5, 6}, {0, 6}, {999999, 6}, {1000000, 7}, {99999999, 8}, {100000000, 9}, {INT32_MAX, 9}};
    for (const auto& d : digits)
        EXPECT_EQ(loopDigits(d.length), d.digits) << d.length;
}

class ZoomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sample.audio.allocate(1, 100));
        std::fill(sample.audio.buffers[0], sample.audio.buffers[0] + 100, 16384.0f);   // +25 pixels at 16 bits
        sample.length = 100;
        sample.channels = 1;
        sample.bits = 16;
    }
    bool isWave(int32_t x, int32_t y) const
    {
        const platform::Colour c = context.getImage()->pixelAt(x, y);
        return c == resources::palette::kInkCyan;
    }

    TesselSample sample;
    COffscreenContext context{nullptr, 412, 206};
    static constexpr int32_t kCentre = sample_waveform::kLaneCentre;
};

TEST_F(ZoomTest, FramesBeforeTheStartAndPastTheEndReadAsSilence)
{
    for (int64_t frame : {int64_t{-1}, int64_t{100}, int64_t{INT32_MAX} + 5})
        EXPECT_EQ(frameValue(sample, 0, frame), 0.0f) << frame;
    EXPECT_EQ(frameValue(sample, 1, 5), 0.0f);   // a channel it lacks
    EXPECT_EQ(frameValue(sample, 0, 99), 16384.0f);

    // One frame per column, the point (frame 0) in column 102.
    drawZoom(&context, CRect(0, 0, 412, 206), 0, sample, 0, 1);
    EXPECT_TRUE(isWave(50, kCentre));          // frame -52: silence
    EXPECT_FALSE(isWave(50, kCentre - 25));
    EXPECT_TRUE(isWave(110, kCentre - 25));    // frame 8
    EXPECT_FALSE(isWave(110, kCentre));
    EXPECT_TRUE(isWave(102, kCentre - 10));    // the step up from silence is a line
    EXPECT_EQ(context.getImage()->pixelAt(102, kCentre + 40), resources::palette::kInkAmber);   // the point's mark

    // Ten frames per column around the end: past it, silence again.
    drawZoom(&context, CRect(0, 0, 412, 206), 205, sample, 100, 10);
    EXPECT_TRUE(isWave(205 + 94, kCentre - 25));    // frames 20..29
    EXPECT_TRUE(isWave(205 + 110, kCentre));        // frames 180..189
    EXPECT_FALSE(isWave(205 + 110, kCentre - 25));
}

} // namespace
