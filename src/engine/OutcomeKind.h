#pragma once

namespace quorrel {

// Whether the outcome of an encounter is fixed per pair of species or carried by each
// individual as its outcome genotype.
enum class OutcomeKind { Fixed, Variable };

} // namespace quorrel
