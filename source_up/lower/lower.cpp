#include "lower/lower.h"
#include "upper/upper.h"
int lowerTwice() { return 2 * lower(); }
