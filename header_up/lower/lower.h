#pragma once
#include "upper/upper.h"
inline int lower() { return 1; }
