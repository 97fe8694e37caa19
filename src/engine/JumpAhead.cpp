#include "engine/JumpAhead.h"

namespace quorrel {

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void JumpAhead(const uint32_t* mul, const uint32_t* add, uint32_t s, uint32_t* out, int count)
{
    for (int i = 0; i < count; ++i)
        out[i] = mul[i] * s + add[i];
}

} // namespace quorrel
