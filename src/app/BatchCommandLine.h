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

// quorrel-batch sweep PLAN [options]: a grid of runs described by a plan file.
struct SweepCommandLine {
    std::string Plan;
    std::string OutputDir;         // empty: the plan's name beside it
    std::optional<int> Jobs;       // empty: the number of cores
    std::optional<long> Only;      // run this run alone
    bool Resume = false;
    std::optional<long> TaskIndex; // with TaskCount: run the runs whose number is TaskIndex mod TaskCount
    std::optional<long> TaskCount;
    bool Quiet = false;
};

// What the program was asked to do: one run, a sweep, or the tidy data of a sweep folder.
enum class BatchCommand { Run, Sweep, Tidy };

struct BatchRequest {
    BatchCommand Command = BatchCommand::Run;
    BatchCommandLine Run;
    SweepCommandLine Sweep;
    std::string TidyDir;
    bool Help = false; // --help of the command given
};

// The command line, or the reason it cannot be used.
struct BatchCommandLineResult {
    std::optional<BatchCommandLine> Line;
    std::string Error;
};
// The options of one run (no subcommand).
BatchCommandLineResult ParseBatchCommandLine(const std::vector<std::string>& args);

struct BatchRequestResult {
    std::optional<BatchRequest> Request;
    std::string Error;
};
// The whole command line: one run, "sweep PLAN [options]" or "tidy DIR".
BatchRequestResult ParseBatchRequest(const std::vector<std::string>& args);

// The text --help prints, for one run, for the sweep and for tidy.
std::string BatchUsage();
std::string SweepUsage();
std::string TidyUsage();

} // namespace quorrel
