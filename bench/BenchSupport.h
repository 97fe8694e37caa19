#pragma once

#include "engine/Dialogs.h"
#include "params/ParameterSet.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

namespace quorrel::bench {

// The processor's name as the system gives it, for the figures' heading.
inline std::string ProcessorName()
{
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    while (std::getline(info, line))
        if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos)
            return line.substr(line.find(':') + 2);
    return "unknown processor";
}

// Dialogs for a program without windows: messages go to stderr and are answered No.
class StderrDialogs : public Dialogs {
public:
    MessageAnswer Message(MessageKind, const std::string& text, MessageButtons) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MessageAnswer::No;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

// The in-built defaults on a 700 x 700 landscape.
inline ParameterSet Defaults700()
{
    ParameterSet p = ParameterSet::InbuiltDefaults({});
    p.GParamRec.MaxX = 700;
    p.GParamRec.MaxY = 700;
    return p;
}

// The run people make most: the defaults' 3 species on side x side cells, one of them with
// a range of growth rates, mortality patches of up to 4 cells, square disturbance of 9
// cells, closed recruitment.
inline ParameterSet MortalityDisturbanceClosed(int side, int generations)
{
    ParameterSet p = Defaults700();
    GParamStruct& g = p.GParamRec;
    g.MaxX = g.MaxY = side;
    g.PIX = 1;
    g.Maxgen = generations;
    g.RecruitType = 1;
    g.Influx = 0.1f;
    g.DisturbProb = 0.01f;
    g.PatchSize = 9;
    p.MortalityVector[0] = 4.0f;
    for (int s = 1; s <= g.Maxspec; ++s)
        p.MortalityVector[s] = 0.02f;
    p.GrowthRates[2] = {-1, 30, 80};
    p.UpdateGRateFractions();
    return p;
}

// Species 1..species of p with growth-rate ranges and every pair variable, seeded over the
// whole range, single-cell mortality 0.01, recruitment probability 0.5.
inline void MakeEveryPairVariable(ParameterSet& p, int species)
{
    p.GParamRec.Maxspec = species;
    for (int i = 1; i <= species; ++i) {
        for (int j = 1; j <= species; ++j)
            p.OutcomeMatrix[i][j] = i == j ? OutcomeTriple{0, 0, 100} : OutcomeTriple{-1, 0, 0};
        p.GrowthRates[i] = {-1, 30, 90};
        p.VariableOutcomeVector[i] = {0, 100, 0, 100};
        p.RecruitmentVector[i] = 0.5f;
        p.MortalityVector[i] = 0.01f;
    }
    p.MortalityVector[0] = 1.0f;
    p.UpdateGRateFractions();
}

// Milliseconds that f takes.
inline double Millis(auto&& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The smallest of several repetitions, per generation.
inline double PerGeneration(int reps, int gens, auto&& prepare, auto&& step)
{
    double best = 1e300;
    for (int r = 0; r < reps; ++r) {
        prepare();
        best = std::min(best, Millis([&] {
                            for (int i = 0; i < gens; ++i)
                                step();
                        }) / gens);
    }
    return best;
}

// The least of each of two timings over repsA and repsB repetitions made in turn (a, b, a,
// b, ...), so that the load of this machine, which drifts over seconds, weighs on both alike.
inline std::pair<double, double> BestInTurn(int repsA, int repsB, auto&& a, auto&& b)
{
    double bestA = 1e300;
    double bestB = 1e300;
    for (int rep = 0; rep < std::max(repsA, repsB); ++rep) {
        if (rep < repsA)
            bestA = std::min(bestA, a());
        if (rep < repsB)
            bestB = std::min(bestB, b());
    }
    return {bestA, bestB};
}

// The smallest of several repetitions per generation of each of two steps, made in turn;
// afterA runs after every repetition of a.
inline std::pair<double, double> PerGenerationInTurn(int reps, int gens, auto&& prepare, auto&& stepA,
                                                     auto&& afterA, auto&& stepB)
{
    return BestInTurn(
        reps, reps,
        [&] {
            const double ms = PerGeneration(1, gens, prepare, stepA);
            afterA();
            return ms;
        },
        [&] { return PerGeneration(1, gens, prepare, stepB); });
}

} // namespace quorrel::bench
