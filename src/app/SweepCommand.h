#pragma once

#include "app/BatchCommandLine.h"

namespace quorrel {

// quorrel-batch sweep: reads and checks the plan, then runs its runs as processes of this
// program, --jobs at a time, each into a folder of its own with its run.json, and keeps the
// manifest. 0: every run done; 1: some failed; 2: a bad plan or command line. Ends by
// SIGINT or SIGTERM after passing it on to the runs in progress.
int RunSweepCommand(const SweepCommandLine& line);

} // namespace quorrel
