#pragma once
// The generic vectors of eight lanes that the metric kernels are written on once and compiled for each
// instruction set in its own entry point (target attributes); every helper is inlined into those, so which
// registers a vector would be passed in never matters.
#include <cstdint>

#include "vidmetra/cpu_dispatch.h"

#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vidmetra::lanes {

using Float8 = float __attribute__((vector_size(32)));
using Int8 = int32_t __attribute__((vector_size(32)));

// Eight values of any lane vector type from `from`, which need not be aligned.
template <typename V, typename T>
[[gnu::always_inline]] inline V Load(const T* from) {
  V values;
  __builtin_memcpy(&values, from, sizeof values);
  return values;
}

template <typename V, typename T>
[[gnu::always_inline]] inline void Store(V values, T* to) {
  __builtin_memcpy(to, &values, sizeof values);
}

// |x| on every lane by clearing the sign bit, as std::fabs does.
[[gnu::always_inline]] inline Float8 Absolute(Float8 x) {
  Int8 bits;
  __builtin_memcpy(&bits, &x, sizeof bits);
  bits &= 0x7fffffff;
  __builtin_memcpy(&x, &bits, sizeof x);
  return x;
}

}  // namespace vidmetra::lanes

#pragma GCC diagnostic pop
#endif
