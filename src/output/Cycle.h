#pragma once

namespace quorrel {

// Whether generation g falls on a cycle of the given length; a cycle below 1 has none.
inline bool OnCycle(int g, int cycle) { return cycle >= 1 && g % cycle == 0; }

} // namespace quorrel
