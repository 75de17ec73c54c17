// The block's in-place ilogb, ldexp, llround and modf give the library's
// results bit for bit, through the ranges the block uses and past them
// (subnormals, huge values, infinities, NaN), where they hand over to it.
#include "engine/vector/exact_math.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <limits>
#include <random>
#include <vector>
#include <xmmintrin.h>

namespace {

std::vector<double> probes()
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> v = {0.0,       -0.0,     0.5,          -0.5,         1.0,         -1.0,
                             2.5,       -2.5,     3.5,          -3.5,         0x1p52,      -0x1p52,
                             0x1p52 + 1, 0x1p53,  0x1p62,       -0x1p62,      0x1p63,      0x1p70,
                             DBL_MIN,   DBL_MIN / 4, -DBL_MIN / 3, DBL_MAX,  -DBL_MAX,    inf,
                             -inf,      std::numeric_limits<double>::quiet_NaN(),
                             std::nextafter(0.5, 0.0), std::nextafter(-0.5, 0.0), std::nextafter(0x1p52, 0.0)};
    std::mt19937_64 random(57);
    std::uniform_real_distribution<double> exponent(-60.0, 70.0);
    for (int i = 0; i < 20000; ++i) {
        const double x = std::exp2(exponent(random)) * (random() & 1 ? 1.0 : -1.0);
        v.push_back(x);
        v.push_back(std::floor(x) + 0.5);   // halves
    }
    return v;
}

uint64_t bits(double x)
{
    return std::bit_cast<uint64_t>(x);
}

} // namespace

// As on the audio thread (denormals flushed, and read as zero) and as elsewhere.
class ExactMath : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        csr_ = _mm_getcsr();
        _mm_setcsr(GetParam() ? csr_ | kFlushDenormals : csr_ & ~kFlushDenormals);
    }
    void TearDown() override { _mm_setcsr(csr_); }

private:
    static constexpr unsigned kFlushDenormals = 0x8040;
    unsigned csr_ = 0;
};

TEST_P(ExactMath, AgreesWithTheLibraryBitForBit)
{
    for (double x : probes()) {
        if (x != 0.0 && !std::isnan(x)) {
            ASSERT_EQ(exact::ilogb(x), std::ilogb(x)) << std::hexfloat << x;
        }
        if (std::isfinite(x) && std::fabs(x) < 0x1p63) {
            ASSERT_EQ(exact::llround(x), std::llround(x)) << std::hexfloat << x;
        }
        double whole = 0.0;
        double libraryWhole = 0.0;
        const double fraction = exact::modf(x, &whole);
        const double libraryFraction = std::modf(x, &libraryWhole);
        if (std::isnan(x)) {
            ASSERT_TRUE(std::isnan(fraction) && std::isnan(whole));
        } else {
            ASSERT_EQ(bits(fraction), bits(libraryFraction)) << std::hexfloat << x;
            ASSERT_EQ(bits(whole), bits(libraryWhole)) << std::hexfloat << x;
        }
    }
    for (int e = -1080; e <= 1030; ++e)
        ASSERT_EQ(bits(exact::powerOfTwo(e)), bits(std::ldexp(1.0, e))) << e;
}

INSTANTIATE_TEST_SUITE_P(DenormalsFlushed, ExactMath, testing::Bool());
