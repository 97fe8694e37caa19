#pragma once

// Where the 256-bit vector kernels are compiled in: on x86-64 with GCC or Clang, functions
// marked __attribute__((target("avx2"))) may use the intrinsics of <immintrin.h>, and
// QRL_WIDE_KERNEL is defined. Such a function runs only where WideKernelAvailable() says so;
// elsewhere each kernel falls back to its portable twin, with the same results.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QRL_WIDE_KERNEL 1
#include <immintrin.h>
// The mark of a function that uses the 512-bit intrinsics (see Kernel512Available).
#define QRL_TARGET_512 __attribute__((target("avx2,avx512f,avx512dq,avx512bw,avx512vl")))
#endif

// GCC's 512-bit intrinsics start some results from an undefined vector, and GCC then warns of
// it wherever they are inlined: code between these two marks is spared those warnings.
#if defined(__GNUC__) && !defined(__clang__)
#define QRL_BEGIN_512_INTRINSICS                                                                                       \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wmaybe-uninitialized\"")                        \
        _Pragma("GCC diagnostic ignored \"-Wuninitialized\"")
#define QRL_END_512_INTRINSICS _Pragma("GCC diagnostic pop")
#else
#define QRL_BEGIN_512_INTRINSICS
#define QRL_END_512_INTRINSICS
#endif

namespace quorrel {

// True when this processor runs the 256-bit vector kernels.
bool WideKernelAvailable();

// True when it also runs the 512-bit ones: functions marked QRL_TARGET_512, compiled in
// where QRL_WIDE_KERNEL is defined.
bool Kernel512Available();

} // namespace quorrel
