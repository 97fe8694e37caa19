#include "app/BatchCommandLine.h"

#include "params/FieldParsers.h"

namespace quorrel {

BatchCommandLineResult ParseBatchCommandLine(const std::vector<std::string>& args)
{
    BatchCommandLine line;
    auto fail = [](std::string reason) { return BatchCommandLineResult{std::nullopt, std::move(reason)}; };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--name=value" and "--name value" are both accepted for options that take a value.
        std::string name = arg;
        std::optional<std::string> value;
        if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        auto takeValue = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };

        if (name == "--help" || name == "-h") {
            line.Help = true;
        } else if (name == "--version") {
            line.Version = true;
        } else if (name == "--quiet" || name == "-q") {
            line.Quiet = true;
        } else if (name == "--dir" || name == "--params" || name == "--options" || name == "--set" ||
                   name == "--mode" || name == "--display-cycle" || name == "--output-dir" || name == "--rows" ||
                   name == "--cols" || name == "--grate-spread" || name == "--influx-between" ||
                   name == "--influx-timestep" || name == "--influx-inside" || name == "--init-grates" ||
                   name == "--outcome-spread" || name == "--init-outcomes") {
            const std::optional<std::string> v = takeValue();
            if (!v)
                return fail(name + " needs a value");
            if (v->empty() && name != "--set")
                return fail(name + " needs a value");
            if (name == "--dir") {
                line.Dir = *v;
            } else if (name == "--params") {
                line.Params = *v;
            } else if (name == "--options") {
                line.Options = *v;
            } else if (name == "--output-dir") {
                line.OutputDir = *v;
            } else if (name == "--mode") {
                line.Mode = *v;
            } else if (name == "--rows") {
                line.Rows = *v;
            } else if (name == "--cols") {
                line.Cols = *v;
            } else if (name == "--grate-spread") {
                line.GRateSpread = *v;
            } else if (name == "--influx-between") {
                line.InfluxBetween = *v;
            } else if (name == "--influx-timestep") {
                line.InfluxTimeStep = *v;
            } else if (name == "--influx-inside") {
                line.InfluxInside = *v;
            } else if (name == "--init-grates") {
                line.InitGRates = *v;
            } else if (name == "--outcome-spread") {
                line.OutcomeSpread = *v;
            } else if (name == "--init-outcomes") {
                line.InitOutcomes = *v;
            } else if (name == "--set") {
                const size_t eq = v->find('=');
                if (eq == std::string::npos || eq == 0)
                    return fail("--set needs KEY=VALUE, not \"" + *v + "\"");
                line.Sets.emplace_back(v->substr(0, eq), v->substr(eq + 1));
            } else {
                const IntField cycle = ParseIntField(*v);
                if (cycle.Status != FieldStatus::Value || cycle.Value < 1)
                    return fail("--display-cycle needs a whole number of at least 1, not \"" + *v + "\"");
                line.DisplayCycle = cycle.Value;
            }
        } else if (bool takesValue = false; IsMonteCarloOption(name, takesValue)) {
            std::string v;
            if (takesValue) {
                const std::optional<std::string> taken = takeValue();
                if (!taken)
                    return fail(name + " needs a value");
                v = *taken;
            } else if (value) {
                return fail(name + " takes no value");
            }
            if (std::string error = SetMonteCarloOption(line.MonteCarlo, name, v); !error.empty())
                return fail(error);
        } else {
            return fail("unknown argument \"" + arg + "\"");
        }
    }
    return {line, {}};
}

std::string BatchUsage()
{
    return R"(Usage: quorrel-batch [OPTION]... [--mode single-fixed|single-variable]
  or:  quorrel-batch [OPTION]... --mode montecarlo-fixed|montecarlo-variable --runs N --result FILE
  or:  quorrel-batch [OPTION]... --mode array-fixed|array-variable [ARRAY OPTION]...
  or:  quorrel-batch --help | --version

Runs one simulation without windows, exactly as the desktop program's model window runs it,
and writes the files that the output options select, under the names they give.

  --dir DIR          start directory: where PLast.prm, PDefault.prm and Options.dat are looked
                     up, and where the default output file names point (default: the current
                     directory). The parameters start as the desktop program starts them:
                     PLast.prm, else PDefault.prm, else the in-built defaults.
  --params FILE      parameter file read after the start-up state
  --options FILE     options file in the Options.dat format (default: Options.dat of DIR,
                     else the default options)
  --set KEY=VALUE    override one general parameter by its parameter-file key, checked as the
                     general-parameters dialog checks it; may be repeated. Keys: Maxspec, MaxX,
                     MaxY, PIX, Maxgen, RandSeed, Init (Random|Gradient|Grid),
                     Cover (Random|Blocks|File), CoverFile, Border (Torus|Open), TotalCover,
                     OverGRate, DisturbProb, PatchSize, PatchType (Square|Random), Influx,
                     RecruitType (Open|Closed), MutationGR, MutAmtGR, MutationOTC, MutAmtOTC,
                     MeanField (0|1). Example: --set RandSeed=7 --set MaxX=300
  --mode MODE        single-fixed (default): one landscape, fixed outcomes, one run;
                     single-variable: one landscape, variable outcomes, one run;
                     array-fixed: an array of linked landscapes, fixed outcomes, one run;
                     array-variable: an array of linked landscapes, variable outcomes, one run;
)" + MonteCarloUsage() + R"(  --display-cycle N  interval in generations between landscape displays, 1..Maxgen; the
                     growth rate-competitive graph follows the same cycle
                     (default: the options' DisplayCycle)
  --output-dir DIR   write every output file into DIR (made if missing) under the file
                     name the options give, whatever folder they name; for running many
                     seeds side by side with one options file
  --quiet            no progress display
  --help             this text
  --version          the program's version

Landscape arrays (array-fixed, array-variable) take the ARRAY OPTIONs below. As in the
desktop program, recruitment within a landscape is closed, and Influx takes the value of
--influx-inside. Each value is checked as the array window checks its field; an option left
out keeps its default.
  --rows N, --cols N        the landscapes of the array, 2..10 each (default 5 x 5)
  --grate-spread SPREAD     uniform (default), clumped or gradient: how the ranges of the
                            variable growth rates are spread over the landscapes
  --influx-between P        probability of influx between neighbouring landscapes, 0..1
                            (default 0.01)
  --influx-timestep N       generations from one influx between landscapes to the next; in
                            the others, recruitment within each landscape acts (default 100)
  --influx-inside P         probability of influx within a landscape, 0..1 (default Influx)
  --init-grates FILE        write the growth-rate table of every landscape to FILE
  --outcome-spread SPREAD   array-variable: uniform (default), clumped or gradient: how the
                            seeding ranges of the variable outcomes are spread
  --init-outcomes FILE      array-variable: write the outcome ranges of every landscape to FILE
The whole array is written as one bitmap (one pixel per cell, 5-pixel gaps between the
landscapes) when the options ask for the final landscape as a bitmap (WriteLandscape with
a bitmap type), under CAFilename with the extension .bmp.

The random generator starts from RandSeed, as confirming a run mode in the desktop program
does, so the same parameters, options and seed give byte-identical files. PLast.prm and
Options.dat are never written. Messages the run would show go to standard error, and every
question is answered "no".

Progress goes to standard error as a bar with the generation and the rate when standard
error is a terminal; in the Monte Carlo modes it shows the run as well.

A Monte Carlo series writes only its result file; the output options play no part in it.
Like the desktop program it continues the random sequence from run to run, so the same
parameters, options and seed give a byte-identical result file. Until the series ends
the file is written as FILE.incomplete; a series that does not finish leaves it so.

No output may overwrite PLast.prm, PDefault.prm, Options.dat or ERR-INIT.prm of the start
directory, the parameter, options or cover file in use, or another output; such a run is
refused before it starts. A run with --output-dir holds that folder for itself: a second
run into it is refused while the first one runs.

Exit status:
  0  the run (or the whole Monte Carlo series) completed
  1  the run ended on an error (its message is printed), an output file could not be
     written, or the initial landscape could not be built
  2  bad command line, an unreadable or invalid parameter, options or cover file, an
     output over one of the files above, or an output folder in use
SIGINT or SIGTERM ends the run after the current generation with its files closed; the
program then ends by that signal, so that a calling shell or scheduler sees it.
)";
}

} // namespace quorrel
