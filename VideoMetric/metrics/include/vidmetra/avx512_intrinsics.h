#pragma once
// The AVX-512 intrinsics for kernels compiled, function by function, for that instruction set: include only
// under VIDMETRA_X86_KERNELS, and mark each function that uses them VIDMETRA_AVX512.

// GCC 12 reports the deliberately undefined vectors inside its own AVX-512 intrinsics as uninitialised.
#if defined(__clang__)
#include <immintrin.h>
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#endif

// F, BW, DQ and VL: the set the AVX-512 tier of the CPU dispatch stands for.
#define VIDMETRA_AVX512 __attribute__((target("avx512f,avx512bw,avx512dq,avx512vl")))
