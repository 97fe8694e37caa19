#pragma once

#include "runs/LandscapeArrayRun.h"

namespace quorrel {

// The run of the variable-outcome array window: every individual carries its outcome
// genotype, stored beside its landscape and carried along by immigration.
class VariableArrayRun : public LandscapeArrayRun {
public:
    explicit VariableArrayRun(AppState& app) : LandscapeArrayRun(app, true) {}
};

} // namespace quorrel
