#include "sweep/TaskShare.h"

#include <charconv>
#include <cstring>

namespace quorrel {

namespace {

std::optional<long> Number(const char* text)
{
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    long value = 0;
    const char* end = text + std::strlen(text);
    const auto [at, ec] = std::from_chars(text, end, value);
    if (ec != std::errc() || at != end)
        return std::nullopt;
    return value;
}

} // namespace

TaskShareResult ResolveTaskShare(std::optional<long> index, std::optional<long> count,
                                 const std::function<const char*(const char*)>& getenv)
{
    std::string source = "--task-index";
    if (!index || !count) {
        const char* id = getenv("SLURM_ARRAY_TASK_ID");
        const char* total = getenv("SLURM_ARRAY_TASK_COUNT");
        if (id == nullptr || total == nullptr)
            return {TaskShare{}, {}};
        index = Number(id);
        count = Number(total);
        const char* min = getenv("SLURM_ARRAY_TASK_MIN");
        const std::optional<long> first = min == nullptr ? std::optional<long>(0) : Number(min);
        if (!index || !count || !first || *count < 1)
            return {std::nullopt, "SLURM_ARRAY_TASK_ID, SLURM_ARRAY_TASK_COUNT or SLURM_ARRAY_TASK_MIN is not a number"};
        *index -= *first;
        source = "SLURM_ARRAY_TASK_ID less SLURM_ARRAY_TASK_MIN";
    }
    if (*index < 0 || *index >= *count)
        return {std::nullopt, source + " (" + std::to_string(*index) + ") must lie within 0.." +
                                  std::to_string(*count - 1) + " for " + std::to_string(*count) + " tasks"};
    return {TaskShare{*index, *count, true}, {}};
}

} // namespace quorrel
