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

} // namespace quorrel
