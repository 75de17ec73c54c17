// The song time stepped over the frames between ticks: every value and count
// exactly what stepping frame by frame gives, across binades and for steps
// that fall halfway between two multiples of a binade's spacing.
#include "engine/rows/step_below.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

int frameByFrame(double& x, double step, double stop, int limit)
{
    int count = 0;
    for (; count < limit && x < stop; ++count)
        x += step;
    return count;
}

void expectSame(double x, double step, double stop, int limit)
{
    double expected = x;
    const int count = frameByFrame(expected, step, stop, limit);
    double actual = x;
    ASSERT_EQ(stepBelow(actual, step, stop, limit), count)
        << std::hexfloat << "x " << x << " step " << step << " stop " << stop << " limit " << limit;
    ASSERT_EQ(actual, expected) << std::hexfloat << "x " << x << " step " << step << " stop " << stop;
}

} // namespace

TEST(StepBelow, EqualsStepsFrameByFrame)
{
    struct Case {
        double x, step, stop;
        int limit;
    };
    const Case cases[] = {
        {0.0, 1.0 / 3.0, 5.0, 100},                        // from 0 through the small binades
        {1.0 - 1e-9, 2.3e-4, 9.0, 16384},                  // across 1, 2, 4 and 8
        {4.0 - 3 * 0x1p-50, 0x1p-51, 8.0, 16384},           // a step of one and a half spacings below 4
        {3.0, 3 * 0x1p-52, 5.0, 16384},                    // halfway between two spacings above 4
        {1e15, 1e-4, 2e15, 1000},                          // a step smaller than half the spacing
        {10.0, 1e-3, 10.0, 100},                           // already at the stop
        {10.0, 1e-3, 11.0, 0},                             // no frames
        {-1.0, 0.5, 1.0, 10},                              // a negative start
        {12.34, 0.0, 20.0, 10},                            // no step
    };
    for (const Case& c : cases)
        expectSame(c.x, c.step, c.stop, c.limit);

    std::mt19937_64 rng(17);
    std::uniform_real_distribution<double> time(0.0, 5000.0);
    std::uniform_real_distribution<double> rate(1e-7, 3e-3);
    std::uniform_int_distribution<int> frames(0, 16384);
    for (int i = 0; i < 20000; ++i) {
        double x = time(rng);
        if (i % 4 == 0)   // close below a power of two
            x = std::ldexp(1.0, i % 13) - rate(rng) * frames(rng);
        const double step = rate(rng);
        expectSame(x, step, x + step * frames(rng), frames(rng));
    }
}
