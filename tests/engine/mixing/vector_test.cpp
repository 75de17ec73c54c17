#include "engine/vector/vector.h"
#include "engine/vector/vector_cpu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kMaxLen = 300;
constexpr int kOffsets = 8;   // float offsets 0..7 cover every 16- and 32-byte alignment
constexpr float kGuard = -12345.0f;

// Forces a level for one test and restores the previous one.
class LevelScope {
public:
    explicit LevelScope(int level) : previous_(vec::forceLevel(level)) {}
    ~LevelScope() { vec::forceLevel(previous_); }

private:
    int previous_;
};

// A 64-byte aligned float buffer filled with a guard value.
struct Buffer {
    explicit Buffer(size_t n) : size(n), data(static_cast<float*>(std::aligned_alloc(64, (n * 4 + 63) / 64 * 64)))
    {
        std::fill(data, data + n, kGuard);
    }
    ~Buffer() { std::free(data); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    size_t size;
    float* data;
};

void fillRandom(float* p, int n, std::mt19937& rng)
{
    std::uniform_real_distribution<float> dist(-1000.0f, 1000.0f);
    for (int i = 0; i < n; ++i)
        p[i] = dist(rng);
}

// True when everything outside [offset, offset + len) still holds the guard.
bool guardsIntact(const Buffer& b, int offset, int len)
{
    for (size_t i = 0; i < b.size; ++i)
        if ((static_cast<int>(i) < offset || static_cast<int>(i) >= offset + len) && b.data[i] != kGuard)
            return false;
    return true;
}

std::vector<int> supportedLevels()
{
    std::vector<int> levels;
    for (int level = 0; level < vec::kLevels; ++level)
        if (vec::levelSupported(level))
            levels.push_back(level);
    return levels;
}

} // namespace

TEST(VectorPrimitives, StatusCodesTestPointersBeforeLength)
{
    float x[4] = {1, 2, 3, 4};
    float y[4] = {5, 6, 7, 8};
    float r = 99.0f;
    EXPECT_EQ(vecAdd(nullptr, x, y, 0), vec::kNullPointer);
    EXPECT_EQ(vecAdd(x, nullptr, y, 4), vec::kNullPointer);
    EXPECT_EQ(vecAdd(x, x, nullptr, -1), vec::kNullPointer);
    EXPECT_EQ(vecMax(nullptr, 0, &r), vec::kNullPointer);
    EXPECT_EQ(vecMax(x, 4, nullptr), vec::kNullPointer);
    EXPECT_EQ(vecCopy(nullptr, y, 0), vec::kNullPointer);
    EXPECT_EQ(vecCopy(x, nullptr, 4), vec::kNullPointer);
    EXPECT_EQ(vecZero(nullptr, 0), vec::kNullPointer);

    EXPECT_EQ(vecAdd(x, x, y, 0), vec::kBadLength);
    EXPECT_EQ(vecAdd(x, x, y, -3), vec::kBadLength);
    EXPECT_EQ(vecMax(x, 0, &r), vec::kBadLength);
    EXPECT_EQ(vecCopy(x, y, 0), vec::kBadLength);
    EXPECT_EQ(vecZero(y, -1), vec::kBadLength);
    EXPECT_EQ(r, 99.0f);
    EXPECT_EQ(y[0], 5.0f);
    EXPECT_EQ(y[3], 8.0f);

    EXPECT_EQ(vecMax(x + 2, 1, &r), vec::kOk);
    EXPECT_EQ(r, 3.0f);
}

TEST(VectorPrimitives, AddMatchesScalarAtEveryLevelLengthAndAlignment)
{
    std::mt19937 rng(1);
    Buffer a(kMaxLen + kOffsets), b(kMaxLen + kOffsets), dst(kMaxLen + kOffsets);
    std::vector<float> expect(kMaxLen);
    for (int level : supportedLevels()) {
        LevelScope scope(level);
        std::fill(dst.data, dst.data + dst.size, kGuard);
        ASSERT_EQ(vecAdd(a.data, b.data, dst.data + 1, 0), vec::kBadLength);
        ASSERT_TRUE(guardsIntact(dst, 0, 0));
        for (int len = 1; len <= kMaxLen; ++len) {
            for (int ao = 0; ao < kOffsets; ++ao) {
                const int bo = (ao + 5) % kOffsets;
                fillRandom(a.data + ao, len, rng);
                fillRandom(b.data + bo, len, rng);
                for (int i = 0; i < len; ++i)
                    expect[i] = a.data[ao + i] + b.data[bo + i];
                for (int d = 0; d < kOffsets; ++d) {
                    std::fill(dst.data, dst.data + dst.size, kGuard);
                    ASSERT_EQ(vecAdd(a.data + ao, b.data + bo, dst.data + d, len), vec::kOk);
                    ASSERT_TRUE(std::equal(expect.begin(), expect.begin() + len, dst.data + d))
                        << "level " << level << " len " << len << " offsets " << ao << "," << bo << "," << d;
                    ASSERT_TRUE(guardsIntact(dst, d, len)) << "level " << level << " len " << len;
                }
                // in place: the destination is the first source
                ASSERT_EQ(vecAdd(a.data + ao, b.data + bo, a.data + ao, len), vec::kOk);
                ASSERT_TRUE(std::equal(expect.begin(), expect.begin() + len, a.data + ao));
            }
        }
    }
}

TEST(VectorPrimitives, MaxMatchesScalarAtEveryLevelLengthAndAlignment)
{
    std::mt19937 rng(2);
    Buffer src(kMaxLen + kOffsets);
    for (int level : supportedLevels()) {
        LevelScope scope(level);
        float untouched = 1.5f;
        ASSERT_EQ(vecMax(src.data, 0, &untouched), vec::kBadLength);
        ASSERT_EQ(untouched, 1.5f);
        for (int len = 1; len <= kMaxLen; ++len) {
            for (int o = 0; o < kOffsets; ++o) {
                fillRandom(src.data + o, len, rng);
                // put the peak at either end now and then: the seed and the scalar tail count too
                if (len % 3 == 0)
                    src.data[o + len - 1] = 5000.0f;
                else if (len % 3 == 1)
                    src.data[o] = 5000.0f;
                const float expect = *std::max_element(src.data + o, src.data + o + len);
                float r = 0.0f;
                ASSERT_EQ(vecMax(src.data + o, len, &r), vec::kOk);
                ASSERT_EQ(r, expect) << "level " << level << " len " << len << " offset " << o;
            }
        }
        // all negative: the seed must not be zero
        std::fill(src.data, src.data + kMaxLen, -7.0f);
        src.data[kMaxLen / 2] = -3.0f;
        float r = 0.0f;
        ASSERT_EQ(vecMax(src.data, kMaxLen, &r), vec::kOk);
        EXPECT_EQ(r, -3.0f) << "level " << level;
    }
}

TEST(VectorPrimitives, CopyAndZeroMatchScalarAtEveryLevelLengthAndAlignment)
{
    std::mt19937 rng(3);
    Buffer src(kMaxLen + kOffsets), dst(kMaxLen + kOffsets);
    for (int level : supportedLevels()) {
        LevelScope scope(level);
        std::fill(dst.data, dst.data + dst.size, kGuard);
        ASSERT_EQ(vecCopy(src.data, dst.data + 1, 0), vec::kBadLength);
        ASSERT_EQ(vecZero(dst.data + 1, 0), vec::kBadLength);
        ASSERT_TRUE(guardsIntact(dst, 0, 0));
        for (int len = 1; len <= kMaxLen; ++len) {
            for (int so = 0; so < kOffsets; ++so) {
                fillRandom(src.data + so, len, rng);
                for (int d = 0; d < kOffsets; ++d) {
                    std::fill(dst.data, dst.data + dst.size, kGuard);
                    ASSERT_EQ(vecCopy(src.data + so, dst.data + d, len), vec::kOk);
                    ASSERT_TRUE(std::equal(src.data + so, src.data + so + len, dst.data + d))
                        << "level " << level << " len " << len << " offsets " << so << "," << d;
                    ASSERT_TRUE(guardsIntact(dst, d, len));
                }
            }
            for (int d = 0; d < kOffsets; ++d) {
                std::fill(dst.data, dst.data + dst.size, kGuard);
                ASSERT_EQ(vecZero(dst.data + d, len), vec::kOk);
                ASSERT_TRUE(std::all_of(dst.data + d, dst.data + d + len, [](float v) { return v == 0.0f; }))
                    << "level " << level << " len " << len << " offset " << d;
                ASSERT_TRUE(guardsIntact(dst, d, len));
            }
        }
    }
}

// Long blocks take the streaming paths once the cache is claimed to be small.
TEST(VectorPrimitives, StreamingPathsMatchScalar)
{
    constexpr int kLen = 600001;   // past every streaming threshold, odd tail
    vec::overrideCacheSize(64 * 1024);
    std::mt19937 rng(4);
    Buffer a(kLen + kOffsets), b(kLen + kOffsets), dst(kLen + kOffsets);
    fillRandom(a.data, kLen + kOffsets, rng);
    fillRandom(b.data, kLen + kOffsets, rng);
    for (int level : supportedLevels()) {
        LevelScope scope(level);
        for (int d : {0, 1, 3}) {
            std::fill(dst.data, dst.data + dst.size, kGuard);
            ASSERT_EQ(vecAdd(a.data + 2, b.data, dst.data + d, kLen), vec::kOk);
            for (int i = 0; i < kLen; ++i)
                ASSERT_EQ(dst.data[d + i], a.data[2 + i] + b.data[i]) << "level " << level << " at " << i;
            ASSERT_TRUE(guardsIntact(dst, d, kLen));

            std::fill(dst.data, dst.data + dst.size, kGuard);
            ASSERT_EQ(vecCopy(a.data + 1, dst.data + d, kLen), vec::kOk);
            ASSERT_TRUE(std::equal(a.data + 1, a.data + 1 + kLen, dst.data + d)) << "level " << level;
            ASSERT_TRUE(guardsIntact(dst, d, kLen));

            std::fill(dst.data, dst.data + dst.size, kGuard);
            ASSERT_EQ(vecZero(dst.data + d, kLen), vec::kOk);
            ASSERT_TRUE(std::all_of(dst.data + d, dst.data + d + kLen, [](float v) { return v == 0.0f; }));
            ASSERT_TRUE(guardsIntact(dst, d, kLen));
        }
        float r = 0.0f;
        a.data[kLen - 1] = 4000.0f;
        ASSERT_EQ(vecMax(a.data, kLen, &r), vec::kOk);
        EXPECT_EQ(r, 4000.0f);
    }
    vec::overrideCacheSize(0);
}

TEST(VectorLevel, ChosenFromFeatureWords)
{
    using namespace vec;
    const uint32_t sse2 = kSse2;
    const uint32_t fmaSet = kFma | kAvx2 | kBmi1 | kBmi2;
    struct Case {
        bool available;
        bool intel;
        uint32_t bits;
        int level;
        int status;
    };
    const Case cases[] = {
        {false, true, 0xFFFFFFFFu, 0, kNoFeatures},
        {true, true, 0, 0, kNoFeatures},
        {true, true, sse2, 1, kOk},
        {true, true, sse2 | kSsse3, 2, kOk},
        {true, true, sse2 | kSsse3 | kMovbe, 3, kOk},
        {true, true, sse2 | kSsse3 | kSse41, 4, kOk},
        {true, true, sse2 | kSsse3 | kMovbe | kSse41, 4, kOk},
        {true, true, sse2 | kSse41 | kAvx, 4, kOk},               // AVX without the system's support
        {true, true, sse2 | kSse41 | kAvx | kOsAvx, 5, kOk},
        {true, true, sse2 | kAvx | kOsAvx | kFma | kAvx2 | kBmi1, 5, kOk},   // BMI2 missing
        {true, true, sse2 | kAvx | kOsAvx | fmaSet, 6, kOk},
        {true, true, sse2 | kOsAvx | fmaSet, 1, kOk},              // no AVX bit
        {true, false, sse2 | kAvx | kOsAvx | fmaSet, 6, kNotIntel},
        {true, false, sse2, 1, kNotIntel},
        {true, false, 0, 0, kNoFeatures},
    };
    for (const Case& c : cases) {
        CpuFeatures f;
        f.available = c.available;
        f.intel = c.intel;
        f.bits = c.bits;
        const LevelChoice choice = levelForFeatures(f);
        EXPECT_EQ(choice.level, c.level) << std::hex << c.bits;
        EXPECT_EQ(choice.status, c.status) << std::hex << c.bits;
    }
}

TEST(VectorLevel, SelectionUsesThisProcessorAndForcingRestores)
{
    const int previous = vec::forceLevel(0);
    EXPECT_EQ(vecCpuLevel(), 0);
    const vec::LevelChoice expected = vec::levelForFeatures(vec::cpuFeatures());
    EXPECT_EQ(vecSelectCpuLevel(), expected.status);
    EXPECT_EQ(vecCpuLevel(), expected.level);
    EXPECT_TRUE(vec::levelSupported(expected.level));
    EXPECT_FALSE(vec::levelSupported(7));
    EXPECT_FALSE(vec::levelSupported(-1));
    EXPECT_EQ(vec::forceLevel(99), expected.level);
    EXPECT_EQ(vecCpuLevel(), 6);
    vec::forceLevel(previous);
}

TEST(VectorLevel, CacheSizes)
{
    EXPECT_EQ(vec::cacheSizeForDescriptor(0x22), 512 * 1024);
    EXPECT_EQ(vec::cacheSizeForDescriptor(0xEC), 24 * 1024 * 1024);
    EXPECT_EQ(vec::cacheSizeForDescriptor(0x2C), 0);   // a first-level cache
    EXPECT_EQ(vec::cacheSizeForDescriptor(0xFF), 0);   // "use leaf 4"

    int bytes = -1;
    const int status = vecCacheSize(&bytes);
    EXPECT_TRUE(status == vec::kOk || status == vec::kNoFeatures || status == vec::kNoCacheSize);
    EXPECT_EQ(bytes > 0, status == vec::kOk);
    if (!vec::cpuFeatures().intel) {
        EXPECT_EQ(status, vec::kNoFeatures);
    }
    EXPECT_EQ(vecCacheSize(nullptr), vec::kNullPointer);

    vec::overrideCacheSize(4096);
    EXPECT_EQ(vec::descriptorCacheSize(), 4096);
    EXPECT_EQ(vec::streamingCacheSize(), 4096);
    vec::overrideCacheSize(0);
    EXPECT_EQ(vec::streamingCacheSize(), status == vec::kOk ? bytes : 0);
}
