#pragma once
#include "lower/lower.h"
inline int upper() { return lower() + 1; }
