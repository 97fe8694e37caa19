#pragma once

#include "params/ParameterSet.h"

namespace quorrel::test {

// Three species; species 1 has variable outcomes against 2 and 3 (the graphs of species 1
// get two opponent panels), mutation of outcomes and growth rates on.
inline void MakeVariable(ParameterSet& p)
{
    p.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
    p.OutcomeMatrix[1][3] = OutcomeTriple{-1, 0, 0};
    p.VariableOutcomeVector[1] = VariableOutcomeRange{20, 80, 10, 30};
    p.VariableOutcomeVector[2] = VariableOutcomeRange{30, 60, 20, 40};
    p.VariableOutcomeVector[3] = VariableOutcomeRange{10, 70, 10, 20};
    p.GParamRec.MutationOTC = 0.2f;
    p.GParamRec.MutAmtOTC = 4;
    p.GParamRec.MutationGR = 0.1f;
    p.GParamRec.MutAmtGR = 3;
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
}

} // namespace quorrel::test
