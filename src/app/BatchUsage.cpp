#include "app/BatchCommandLine.h"

namespace quorrel {

std::string BatchUsage()
{
    return R"(Usage: quorrel-batch [OPTION]... [--mode single-fixed|single-variable]
  or:  quorrel-batch [OPTION]... --mode montecarlo-fixed|montecarlo-variable --runs N --result FILE
  or:  quorrel-batch [OPTION]... --mode array-fixed|array-variable [ARRAY OPTION]...
  or:  quorrel-batch sweep PLAN [SWEEP OPTION]...   (see quorrel-batch sweep --help)
  or:  quorrel-batch tidy DIR                       (see quorrel-batch tidy --help)
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
  --version          the program's version, with the source commit it was built from

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

Sweeps: "quorrel-batch sweep PLAN" runs a grid of parameter values times replicates, each
run in a folder of its own with a record of it (run.json), on a laptop or as the tasks of
a cluster job array; "quorrel-batch tidy DIR" gathers the files of a sweep's folder into
tidy tables. Each has its own --help.
)";
}


std::string SweepUsage()
{
    return R"(Usage: quorrel-batch sweep PLAN [--output-dir DIR] [--jobs N] [--resume] [--only N]
                           [--task-index I --task-count N] [--quiet]

Runs the runs a plan file describes: every design point times the replicates, each as a
run of quorrel-batch in a process of its own, into DIR/run-NNNNN, with a record of the
run (run.json) beside its files and a manifest of all runs (DIR/runs.csv).

  --output-dir DIR   the sweep's folder (default: the plan's name without its extension,
                     beside the plan: study.toml writes into study/)
  --jobs N           runs at a time (default: the number of cores)
  --resume           go on with a sweep in DIR: runs whose run.json says done, for the same
                     design point, replicate and seed, and whose files still have the sums
                     it lists, are kept; every other run is run again, its folder emptied
  --only N           run run N alone (again), its folder emptied; the others are kept
  --task-index I, --task-count N
                     run only the runs whose number is I modulo N (I = 0..N-1), for the
                     tasks of a cluster job array sharing DIR; each task writes its own
                     manifest DIR/runs.task-I.csv. Default: SLURM_ARRAY_TASK_ID less
                     SLURM_ARRAY_TASK_MIN (when set) and SLURM_ARRAY_TASK_COUNT, when the
                     scheduler sets them (an array of consecutive task ids, step 1)
  --quiet            no progress line
  --help             this text

The plan (TOML; paths in it are relative to the plan's folder):
  mode = "single-fixed"   the mode of every run (as --mode; default single-fixed)
  params = "study.prm"    parameter file of every run (as --params; default none)
  options = "Options.dat" options file (as --options; default Options.dat of dir)
  dir = "."               start folder of the runs (as --dir; default the plan's folder).
                          The runs also work in the plan's folder, so that a relative
                          CoverFile means a file beside the plan.
  replicates = 10         runs per design point, 1..9999 (default 1)
  seed = 1                the base seed of the sweep, a whole number >= 0 (default 1)
  rows = 4, runs = 20, outcome-random = "uniform", ...
                          options of every run by their long names: rows, cols,
                          grate-spread, influx-between, influx-timestep, influx-inside,
                          outcome-spread, display-cycle, runs, outcome-random, standoff,
                          grate-random (true/false), and the file names result,
                          init-grates, init-outcomes, written into each run's folder
                          (result defaults to MonteCarlo.dat in the montecarlo modes)
  [set]                   general parameters of every run, by their parameter-file keys,
  Maxgen = 500            as --set takes them
  [vary]                  a full factorial over these, in plan order (the last key
  OverGRate = [50, 100]   changing fastest): a list of values, or a range
  DisturbProb = { from = 0.0, to = 0.1, step = 0.02 }
The design points may instead be listed: one [[run]] table per point (every table giving
the same keys), or design = "runs.csv": a CSV file with a header of keys and one row per
point, for designs made elsewhere (Latin hypercube, Sobol); a plan has one of [vary],
[[run]] and design. A design may vary the general parameters (every --set key) and the
options rows, cols, grate-spread, influx-between, influx-timestep, influx-inside,
outcome-spread, display-cycle, runs, outcome-random and standoff; the other keys are the
same for every run. RandSeed is never set nor varied by a plan: the sweep gives it.

Values are passed to the runs as text: a whole number in decimal, a text as written,
true and false as 1 and 0, a float in the shortest plain decimal that reads back as the
same number (0.02 as "0.02", 1e-4 as "0.0001"), the values of a design file exactly as
written. A range is computed in decimal, as whole numbers of units of the last decimal
place of from, to and step, and written without trailing zeros: from 0.0 to 0.1 by 0.02
gives 0, 0.02, 0.04, 0.06, 0.08, 0.1. Its step must reach to exactly.

Runs are numbered from 1 over the design points in order, the replicates of a point in a
row: run = (point - 1) x replicates + replicate. The seed of a run (its RandSeed) is
  seed = 1 + ((H + replicate - 1) mod 9999)
where H is the 64-bit FNV-1a hash (offset basis 14695981039346656037, prime
1099511628211) of the UTF-8 text "seed=<base seed>\n" followed by "<key>=<value>\n" for
each key the design varies, sorted by key (byte order), with the values as passed to the
run. It depends on the design point and the replicate alone: adding a value to the design
changes no other run's seed, any run can be redone alone, and the replicates of a point
never share a seed.

A plan is checked whole before any run starts, each design point with the preparation a
run makes, writing nothing; a bad plan is refused naming the file, the line and the key:
an unknown key, a value of the wrong type, an empty list, a step that does not reach, a
value the general-parameters checks refuse, a params, options or design file that cannot
be read. A run whose initial cover file cannot be read fails alone.

The sweep's folder DIR:
  DIR/run-NNNNN/          the files of run NNNNN (five digits, more when needed) and its
                          run.json: the program, version and commit, the run's command
                          line, the plan and its SHA-256, run, replicate, seed, mode, the
                          varied values, the parameters and output options in force, the
                          host, start and end (UTC), seconds, status (done or failed), the
                          exit status (128 + the signal for a run ended by one), what the
                          run printed on standard error, and every file with its size and
                          SHA-256
  DIR/runs.csv            the manifest: run, replicate, seed, one column per varied key,
                          status (done, failed, running, pending), exit_status, seconds,
                          folder; rewritten atomically as the runs go (runs.task-I.csv for
                          a task of an array; "quorrel-batch tidy DIR" rebuilds runs.csv
                          from the run.json files)

A run that crashes, fails an assertion or is refused ends as failed and the sweep goes
on. SIGINT or SIGTERM is passed on to the runs in progress, which end after their current
generation; they are marked pending, the sweep says how many were lost, and ends by that
signal; --resume reruns them.

Exit status:
  0  every run done
  1  some runs failed (listed on standard error)
  2  bad command line or plan, or the folder holds a sweep already (without --resume or
     --only) or is in use by another sweep
)";
}

std::string TidyUsage()
{
    return R"(Usage: quorrel-batch tidy DIR

Gathers the files of the sweep in DIR (as "quorrel-batch sweep" writes it) into tidy
tables, one row per run and generation, with the run's number, replicate, seed and varied
values, and rebuilds DIR/runs.csv for the whole design from the runs' run.json files.

Exit status:
  0  the tables were written
  2  bad command line, or DIR is not the folder of a sweep
)";
}

} // namespace quorrel
