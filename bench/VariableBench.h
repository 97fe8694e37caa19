#pragma once

namespace quorrel::bench {

// Measures and prints case (c), the variable-outcome model; false when its fast and
// literal paths do not end identical.
bool MeasureVariableOutcome();

} // namespace quorrel::bench
