#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quorrel {

// The share of a sweep one cluster task runs: the runs whose number is Index modulo Count.
struct TaskShare {
    long Index = 0;
    long Count = 1;
    bool Split = false; // a share given by the command line or the scheduler

    bool Holds(long run) const { return run % Count == Index; }
};

struct TaskShareResult {
    std::optional<TaskShare> Share;
    std::string Error;
};

// From --task-index/--task-count when given, else from SLURM_ARRAY_TASK_ID and
// SLURM_ARRAY_TASK_COUNT (less SLURM_ARRAY_TASK_MIN when set) as getenv reads them, else
// the whole sweep.
TaskShareResult ResolveTaskShare(std::optional<long> index, std::optional<long> count,
                                 const std::function<const char*(const char*)>& getenv);

} // namespace quorrel
