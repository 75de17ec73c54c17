#pragma once

inline int lower() { return 1; }
