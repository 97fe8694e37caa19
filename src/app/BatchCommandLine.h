#pragma once

#include "app/BatchMonteCarlo.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorrel {

// What the batch runner was asked to do.
struct BatchCommandLine {
    std::string Dir;                                       // empty: the current directory
    std::string Params;                                    // empty: the start-up state alone
    std::string Options;                                   // empty: Options.dat of Dir, else the defaults
    std::string OutputDir;                                 // empty: the names the options give
    std::vector<std::pair<std::string, std::string>> Sets; // --set KEY=VALUE, in order
    std::string Mode = "single-fixed";
    std::optional<int> DisplayCycle;
    // The array settings, as the fields of an array window hold them; unset keeps the
    // setting's current value.
    std::optional<std::string> Rows;
    std::optional<std::string> Cols;
    std::optional<std::string> GRateSpread;
    std::optional<std::string> InfluxBetween;
    std::optional<std::string> InfluxTimeStep;
    std::optional<std::string> InfluxInside;
    std::optional<std::string> OutcomeSpread;
    std::string InitGRates;   // file for the growth-rate table of every landscape; empty: none
    std::string InitOutcomes; // file for the outcome ranges of every landscape; empty: none
    bool Quiet = false;
    bool Help = false;
    bool Version = false;
    BatchMonteCarloOptions MonteCarlo;                     // the Monte Carlo modes' options
};

// The command line, or the reason it cannot be used.
struct BatchCommandLineResult {
    std::optional<BatchCommandLine> Line;
    std::string Error;
};
BatchCommandLineResult ParseBatchCommandLine(const std::vector<std::string>& args);

// The text --help prints.
std::string BatchUsage();

} // namespace quorrel
