#include "host/host_vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace host;

namespace {

// Room for every start offset up to 7 floats and lengths up to 80.
std::vector<float> pattern(size_t n)
{
    std::vector<float> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<float>(i) * 0.37f - 5.0f;
    return v;
}

bool bitEqual(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST(HostVector, StatusCodesTestNullBeforeLength)
{
    float x[4] = {1, 2, 3, 4};
    EXPECT_EQ(vecZero(nullptr, 0), kVecNullPointer);
    EXPECT_EQ(vecAdd(x, nullptr, x, 0), kVecNullPointer);
    EXPECT_EQ(vecMulC(nullptr, 0.5f, x, -3), kVecNullPointer);
    EXPECT_EQ(vecMulC(x, 0.5f, nullptr, 4), kVecNullPointer);
    EXPECT_EQ(vecCopy(x, nullptr, 4), kVecNullPointer);

    EXPECT_EQ(vecZero(x, 0), kVecBadLength);
    EXPECT_EQ(vecAdd(x, x, x, -1), kVecBadLength);
    EXPECT_EQ(vecMulC(x, 0.0f, x, 0), kVecBadLength);
    EXPECT_EQ(vecMulC(x, 1.0f, x, 0), kVecBadLength);
    EXPECT_EQ(vecMulC(x, 0.5f, x, 0), kVecBadLength);
    EXPECT_EQ(x[0], 1.0f);   // nothing touched
    EXPECT_EQ(x[3], 4.0f);
}

TEST(HostVector, VolumeZeroGivesExactZerosEvenFromNaNAndInfinity)
{
    std::vector<float> src(40, std::numeric_limits<float>::quiet_NaN());
    src[3] = std::numeric_limits<float>::infinity();
    src[7] = -std::numeric_limits<float>::infinity();
    std::vector<float> dst(40, 7.0f);
    ASSERT_EQ(vecMulC(src.data(), 0.0f, dst.data(), 40), kVecOk);
    for (float v : dst)
        EXPECT_TRUE(bitEqual(v, 0.0f));
    // In place as the callback does it.
    ASSERT_EQ(vecMulC(src.data() + 1, 0.0f, src.data() + 1, 37), kVecOk);
    EXPECT_TRUE(std::isnan(src[0]));
    for (int i = 1; i < 38; ++i)
        EXPECT_TRUE(bitEqual(src[i], 0.0f)) << i;
    EXPECT_TRUE(std::isnan(src[38]));
}

TEST(HostVector, VolumeOneCopiesBitForBit)
{
    std::vector<float> src = pattern(64);
    src[2] = -0.0f;
    src[5] = std::numeric_limits<float>::quiet_NaN();
    src[9] = std::numeric_limits<float>::denorm_min();
    for (int offset = 0; offset < 4; ++offset) {
        std::vector<float> dst(64, 3.0f);
        ASSERT_EQ(vecMulC(src.data() + offset, 1.0f, dst.data(), 50), kVecOk);
        for (int i = 0; i < 50; ++i)
            EXPECT_TRUE(bitEqual(dst[i], src[i + offset])) << offset << " " << i;
        EXPECT_EQ(dst[50], 3.0f);
    }
    std::vector<float> same = src;
    ASSERT_EQ(vecMulC(same.data(), 1.0f, same.data(), 64), kVecOk);
    EXPECT_EQ(std::memcmp(same.data(), src.data(), 64 * sizeof(float)), 0);
}

TEST(HostVector, HalfScalesInPlaceAtEveryAlignmentAndLength)
{
    for (int offset = 0; offset < 8; ++offset)
        for (int len = 1; len <= 70; ++len) {
            std::vector<float> v = pattern(80);
            const std::vector<float> before = v;
            ASSERT_EQ(vecMulC(v.data() + offset, 0.5f, v.data() + offset, len), kVecOk);
            for (int i = 0; i < 80; ++i) {
                const bool inside = i >= offset && i < offset + len;
                EXPECT_EQ(v[i], inside ? before[i] * 0.5f : before[i]) << offset << "/" << len << "/" << i;
            }
        }
}

TEST(HostVector, AddSumsAtEveryAlignmentAndLeavesTheRest)
{
    const std::vector<float> a = pattern(80);
    for (int offset = 0; offset < 8; ++offset)
        for (int len = 1; len <= 70; ++len) {
            std::vector<float> dst(80);
            for (int i = 0; i < 80; ++i)
                dst[i] = 100.0f + static_cast<float>(i);
            const std::vector<float> before = dst;
            // Source 1 unaligned against the destination, source 2 is the destination.
            ASSERT_EQ(vecAdd(a.data() + (7 - offset), dst.data() + offset, dst.data() + offset, len), kVecOk);
            for (int i = 0; i < 80; ++i) {
                const bool inside = i >= offset && i < offset + len;
                const float expected = inside ? a[i - offset + 7 - offset] + before[i] : before[i];
                EXPECT_EQ(dst[i], expected) << offset << "/" << len << "/" << i;
            }
        }
}

TEST(HostVector, ZeroClearsOnlyItsRange)
{
    std::vector<float> v(40, 2.0f);
    ASSERT_EQ(vecZero(v.data() + 3, 33), kVecOk);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(v[i], (i >= 3 && i < 36) ? 0.0f : 2.0f);
}
