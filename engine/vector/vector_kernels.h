#pragma once
// The variants behind the vector primitives. Callers have checked the
// pointers and that len > 0. The AVX variants live in their own file and are
// compiled for AVX per function, so the library loads on any x86-64.

#include <atomic>

namespace vec {

using AddFn = void (*)(const float* a, const float* b, float* dst, int len);
using MaxFn = float (*)(const float* src, int len);
using CopyFn = void (*)(const float* src, float* dst, int len);
using ZeroFn = void (*)(float* dst, int len);

void addA1(const float* a, const float* b, float* dst, int len);
void addA2(const float* a, const float* b, float* dst, int len);
void addA3(const float* a, const float* b, float* dst, int len);
void addA4(const float* a, const float* b, float* dst, int len);

float maxM1(const float* src, int len);
float maxM2(const float* src, int len);
float maxM3(const float* src, int len);

void copyC1(const float* src, float* dst, int len);
void copyC2(const float* src, float* dst, int len);
void copyC3(const float* src, float* dst, int len);
void copyC4(const float* src, float* dst, int len);
void copyC5(const float* src, float* dst, int len);

void zeroZ1(float* dst, int len);
void zeroZ2(float* dst, int len);
void zeroZ3(float* dst, int len);

extern std::atomic<int> currentLevel;

} // namespace vec
