#pragma once

#include "app/BatchCommandLine.h"
#include "app/OutputFolderLock.h"
#include "app/BatchPreparation.h"
#include "engine/Dialogs.h"
#include "runs/AppState.h"
#include "runs/RunEnd.h"
#include "runs/RunHost.h"

#include <functional>

namespace quorrel {

// The driver of a run mode: runs one run on the host and tells how it ended.
using ModeDriver = std::function<RunEnd(AppState&, RunHost&)>;

// A run that passed every check made before it starts.
struct CheckedBatchRun {
    ModeDriver Driver;
    int DisplayCycle = 1;
};

// Everything refused before a run starts, in the order the batch runner refuses it: the
// preparation, the output folder (taken with lock unless lock is null), the mode and its
// options, the output names and the display cycle. Throws BatchInputError.
CheckedBatchRun CheckBatchRun(AppState& app, const BatchCommandLine& line, Dialogs& dialogs, OutputFolderLock* lock,
                              PreparationFor purpose);

} // namespace quorrel
