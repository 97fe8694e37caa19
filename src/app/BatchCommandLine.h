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
    bool Quiet = false;
    bool Help = false;
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
