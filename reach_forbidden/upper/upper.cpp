#include "upper/upper.h"
int upperTwice() { return 2 * upper(); }
