#pragma once

#include "runs/LandscapeArrayRun.h"

namespace quorrel {

// The run of the window "Multiple Landscapes (Single Run)": an array of fixed-outcome landscapes.
class FixedArrayRun : public LandscapeArrayRun {
public:
    explicit FixedArrayRun(AppState& app) : LandscapeArrayRun(app, false) {}
};

} // namespace quorrel
