#pragma once

#include "engine/ContentionStep.h"
#include "engine/Dialogs.h"
#include "engine/Disturbance.h"
#include "engine/InitProgress.h"
#include "engine/Landscapes.h"
#include "engine/Mortality.h"
#include "engine/Recruitment.h"
#include "engine/Rng.h"
#include "engine/RowSteps.h"
#include "params/ParameterSet.h"

namespace quorrel {

// The working state of the fixed-outcome model and its operations. It works on the
// parameter set, the landscape pair and the generator it is given; it owns only the
// run's ObservedGRateRanges and the scratch stores of the fast passes, allocated here so
// that a generation allocates nothing.
//
// A run: StartRun(), SetInitCover(progress), then Generation(g) for g = 1..Maxgen. At the
// end of the run the driver recomputes GRateFractions (UpdateGRateFractions), which drops
// the widening fed back by recruitment.
//
// Generation() is the fast path; GenerationLiteral() is the plain reference that it must
// match bit for bit (landscape, growth rates and generator state).
class BaseModel {
public:
    BaseModel(ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs);

    // Run start: ObservedGRateRanges := GRateFractions; the mean-field permutation gets
    // MaxX * MaxY entries 0, 1, 2, ... when MeanField is on and none otherwise; the
    // scratch stores are sized for the landscape.
    void StartRun();

    // The initial landscape; false when cancelled or the cover file was unreadable.
    bool SetInitCover(InitProgress& progress);

    // One generation g: copy to previous, border, contention, mortality, disturbance,
    // recruitment with the growth-rate feedback. Without mean field the fast path
    // exchanges the storage of the two grids instead of copying, so hold the grids by
    // reference, not pointers into their cells, across a generation.
    void Generation(int g);
    void GenerationLiteral(int g);

    // The single steps, for the other models and for tests.
    void ClearLandscape();
    void CopyLandscapeToPrevious();
    void SetLandscapeBorder();
    void FixedOutcomeRule();
    void FixedOutcomeRuleLiteral();
    void ApplyMortality();
    void ApplyMortalityLiteral();
    void ApplyDisturbance();
    void ApplyDisturbanceLiteral();
    void ApplyRecruitment();
    void ApplyRecruitmentLiteral();
    // GRateFractions of every variable-rate species := its ObservedGRateRanges entry.
    void FeedBackGRateRanges();
    // The steps that a generation's contention step applies row by row: single-cell
    // mortality where mortality empties single cells only, then, without disturbance and
    // with recruitment, the listing of the empty cells for recruitment. Empty otherwise;
    // then mortality is a pass of its own.
    RowSteps PrepareRowSteps();
    float DrawGRate(int s);

    // The fast contention step, single-cell mortality and the listing of empty cells use
    // 256-bit instructions where the processor has them; off, they use the portable
    // kernels (same results).
    void UseWideKernel(bool on)
    {
        contention_.UseWideKernel(on);
        mortality_.UseWideKernel(on);
        singleCells_.UseWideKernel(on);
        empties_.UseWideKernel(on);
    }
    bool UsesWideKernel() const { return contention_.UsesWideKernel(); }

    // The run's per-species growth-rate ranges, widened by mutation of open recruits.
    GRateRanges ObservedGRateRanges{};

    ParameterSet& Params() { return params_; }
    Landscapes& Lands() { return landscapes_; }
    Rng& Random() { return rng_; }
    Dialogs& Messages() { return dialogs_; }

private:
    void MeanFieldCopy();

    ParameterSet& params_;
    Landscapes& landscapes_;
    Rng& rng_;
    Dialogs& dialogs_;
    ContentionStep contention_;
    MortalityPass mortality_;
    SingleCellMortality singleCells_;
    EmptyCells empties_;
    DisturbancePass disturbance_;
};

} // namespace quorrel
