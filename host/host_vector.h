#pragma once
// Float array kernels of the stream callback: zero, add, copy and multiply by
// a constant. The host never probes the processor: it always runs the plain
// SSE variants, which every x86-64 processor has.

namespace host {

constexpr int kVecOk = 0;
constexpr int kVecBadLength = -6;     // length 0 or negative
constexpr int kVecNullPointer = -8;   // tested before the length

int vecZero(float* dst, int len);
// dst may be a or b.
int vecAdd(const float* a, const float* b, float* dst, int len);
// src and dst must not overlap partially; dst == src is allowed.
int vecCopy(const float* src, float* dst, int len);
// dst may equal src. A value of 1.0 copies bit for bit; 0.0 writes exact zeros
// without reading src, so NaN and infinity in src give silence.
int vecMulC(const float* src, float value, float* dst, int len);

} // namespace host
