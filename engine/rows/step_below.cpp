// Inside one binade every sum x + step rounds onto the same spacing, so each
// step adds the same amount, fl(x + step) - x, unless the step lies exactly
// halfway between two multiples of the spacing (then the rounding alternates
// with the parity of x). Steps that stay in the binade are taken at once;
// the step into the next binade, and everything a halfway step touches, one
// by one.
#include "engine/rows/step_below.h"

#include "engine/vector/exact_math.h"

#include <algorithm>
#include <cmath>

namespace {

int stepsAtOnce(double& x, double step, double stop, int limit)
{
    if (!(x > 0.0) || !std::isfinite(x) || !(step > 0.0) || !(x < stop) || limit <= 0)
        return 0;
    const int b = exact::ilogb(x);
    const double top = exact::powerOfTwo(b + 1);
    const double d = (x + step) - x;
    if (!(d > 0.0) || std::fabs(step - d) == exact::powerOfTwo(b - 53))
        return 0;
    // k d and x + k d are exact while x + k d stays below the binade's top:
    // all are multiples of its spacing.
    const double bound = std::min(stop, top);
    double k = std::min(std::ceil((bound - x) / d), static_cast<double>(limit));
    while (k > 0.0 && x + (k - 1.0) * d >= bound)
        k -= 1.0;
    while (k < limit && x + k * d < bound)
        k += 1.0;
    if (x + k * d >= top)
        k -= 1.0;   // that sum rounds on the next binade's spacing
    x += k * d;
    return static_cast<int>(k);
}

} // namespace

int stepBelow(double& x, double step, double stop, int limit)
{
    int count = stepsAtOnce(x, step, stop, limit);
    while (count < limit && x < stop) {
        x += step;
        ++count;
        // Past a binade's top the next one may be taken at once again.
        count += stepsAtOnce(x, step, stop, limit - count);
    }
    return count;
}
