#include "ParameterSet.h"

#include "AssertionFailure.h"

namespace quorrel {

namespace {

constexpr OutcomeTriple Standoff{0, 0, 100};
constexpr OutcomeTriple Variable{-1, 0, 0};
constexpr VariableOutcomeRange NeutralRange{0, 100, 0, 100};

} // namespace

void ParameterSet::SetInbuiltDefaults()
{
    GParamStruct p;
    p.Maxspec = 3;
    p.MaxX = 200;
    p.MaxY = 200;
    p.PIX = 1;
    p.Maxgen = 100;
    p.RandSeed = 1;
    p.Init = 0;
    p.Cover = 0;
    p.CoverFile = (StartDir / "InitialCover.txt").string();
    p.Border = 0;
    p.TotalCover = 20.0f;
    p.OverGRate = 100;
    p.DisturbProb = 0.0f;
    p.PatchSize = 50;
    p.PatchType = 0;
    p.Influx = 0.1f;
    p.RecruitType = 1;
    p.MutationGR = 0.0f;
    p.MutAmtGR = 1;
    p.MutationOTC = 0.0f;
    p.MutAmtOTC = 1;
    p.MeanField = false;
    GParamRec = p;

    const int n = GParamRec.Maxspec;
    // The lower-numbered species always overgrows the higher-numbered one.
    for (int j = 2; j <= n; ++j)
        for (int i = 1; i < j; ++i)
            OutcomeMatrix[i][j] = OutcomeTriple{100, 0, 0};
    for (int s = 1; s <= n; ++s)
        GrowthRates[s] = GrowthRate{100, 0, 0};
    for (auto& row : RateAgainst)
        row.fill(1.0f);
    MortalityVector[0] = 0.0f;
    for (int s = 1; s <= n; ++s)
        MortalityVector[s] = 0.0f;
    for (int s = 1; s <= n; ++s)
        VariableOutcomeVector[s] = NeutralRange;
    for (int s = 1; s <= n; ++s)
        RecruitmentVector[s] = 0.01f;
}

void ParameterSet::ResetOutcome(int kind, OutcomeTable* workingCopy)
{
    const int n = GParamRec.Maxspec;
    auto fillWorking = [&](const OutcomeTriple& value) {
        if (workingCopy == nullptr)
            QRL_FAIL("ResetOutcome() bad argument", "Outcome");
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                (*workingCopy)[i][j] = value;
    };
    switch (kind) {
    case 0:
        ResetOutcome(1);
        ResetOutcome(2);
        break;
    case 1:
        for (auto& row : OutcomeMatrix)
            row.fill(Standoff);
        break;
    case 2:
        GrowthRates.fill(GrowthRate{100, 0, 0});
        break;
    case 3:
        fillWorking(Standoff);
        break;
    case 4:
        fillWorking(Variable);
        break;
    default:
        QRL_FAIL("ResetOutcome() bad argument", "Outcome");
    }
}

void ParameterSet::ResetVariableOutcome(int argument, VariableOutcomeTable* workingCopy)
{
    if (argument == 1) {
        VariableOutcomeVector.fill(NeutralRange);
        return;
    }
    if (workingCopy == nullptr)
        return;
    for (int s = 1; s <= GParamRec.Maxspec; ++s)
        (*workingCopy)[s] = NeutralRange;
}

void ParameterSet::ResetMortality()
{
    MortalityVector.fill(0.0f);
}

void ParameterSet::ResetRecruitment()
{
    RecruitmentVector.fill(1.0f);
}

void ParameterSet::UpdateGRateFractions()
{
    for (int s = 1; s <= GParamRec.Maxspec; ++s) {
        const GrowthRate& g = GrowthRates[s];
        if (g.Rate >= 0)
            GRateFractions[s] = GRateFraction{float(g.Rate / 100.0), 0.0f, 0.0f};
        else
            GRateFractions[s] = GRateFraction{-1.0f, float(g.Low / 100.0), float(g.High / 100.0)};
    }
}

void ParameterSet::ResetToStartupTables()
{
    ResetOutcome(0);
    ResetMortality();
    ResetRecruitment();
    ResetVariableOutcome(1);
}

ParameterSet ParameterSet::InbuiltDefaults(const std::filesystem::path& startDir)
{
    ParameterSet p;
    p.StartDir = startDir;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

bool ParameterSet::HasVariablePair() const
{
    for (int i = 1; i <= GParamRec.Maxspec; ++i)
        for (int j = 1; j <= GParamRec.Maxspec; ++j)
            if (OutcomeMatrix[i][j].Win < 0)
                return true;
    return false;
}

void ParameterSet::MirrorOutcomes(OutcomeTable& table, int n)
{
    for (int j = 2; j <= n; ++j) {
        for (int i = 1; i < j; ++i) {
            const OutcomeTriple& upper = table[i][j];
            if (upper.Win < 0)
                table[j][i] = Variable;
            else
                table[j][i] = OutcomeTriple{upper.Loss, upper.Win, upper.Standoff};
        }
    }
}

} // namespace quorrel
