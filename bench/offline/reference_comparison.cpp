#include "offline/reference_comparison.h"

namespace offline {

ReferenceComparison compareWithReference(const std::string& path, const RenderSettings& settings)
{
    ReferenceComparison c(settings.rate);
    c.ours = renderWithEngine(path, settings,
                              [&c](const float* l, const float* r, size_t n) { c.oursCurve.add(l, r, n); });
    c.reference = renderWithOpenmpt(path, settings,
                                    [&c](const float* l, const float* r, size_t n) { c.referenceCurve.add(l, r, n); });
    if (c.rendered())
        c.agreement = compareLoudness(c.oursCurve, c.referenceCurve);
    return c;
}

} // namespace offline
