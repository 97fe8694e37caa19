#include "engine/WideKernel.h"

namespace quorrel {

bool WideKernelAvailable()
{
#ifdef QRL_WIDE_KERNEL
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool Kernel512Available()
{
#ifdef QRL_WIDE_KERNEL
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl");
#else
    return false;
#endif
}

} // namespace quorrel
