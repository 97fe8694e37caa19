#pragma once

#include <cstdint>

namespace quorrel {

// out[i] = mul[i] * s + add[i] (mod 2^32) for i = 0..count-1: generator states read off
// jump-ahead coefficients. Integer arithmetic only, so every instruction set gives the
// same states; where 256-bit instructions exist they are chosen at run time.
void JumpAhead(const uint32_t* mul, const uint32_t* add, uint32_t s, uint32_t* out, int count);

} // namespace quorrel
