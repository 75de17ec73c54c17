#include "lower/lower.h"

int lowerTwice() { return 2 * lower(); }
