#pragma once

#include "app/BatchCommandLine.h"
#include "engine/Dialogs.h"
#include "runs/AppState.h"

#include <string>

namespace quorrel {

// An input the batch run cannot start from; the reason is one line.
struct BatchInputError {
    std::string reason;
};

// Brings the application state to what the desktop program would have in force when the run
// mode is confirmed: the start-up state of the start directory, the parameter file, the
// options file (its output files moved into --output-dir), the overrides checked as the
// general-parameters dialog checks them, and the parameters brought into force.
// Throws BatchInputError.
// For a plan's check (PlanCheck) nothing is written: the output folder is named but not made,
// and the initial cover file is left to the run, which reads it and fails alone.
enum class PreparationFor { Run, PlanCheck };
void PrepareBatchRun(AppState& app, const BatchCommandLine& line, Dialogs& dialogs,
                     PreparationFor purpose = PreparationFor::Run);

// Refuses, before anything is written, an output that would overwrite a file the program
// keeps for the user (PLast.prm, PDefault.prm, Options.dat, ERR-INIT.prm of the start
// folder), an input of the run (parameter, options or cover file) or another output.
// Throws BatchInputError.
void CheckBatchOutputNames(const AppState& app, const BatchCommandLine& line);

} // namespace quorrel
