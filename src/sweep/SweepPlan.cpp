#include "sweep/SweepPlan.h"

#include "params/GeneralParameterCheck.h"

#include <array>
#include <string_view>

namespace quorrel {

namespace {

// The options of a run whose value a plan may vary, then the ones naming a file of the run.
constexpr std::array<std::string_view, 11> VariableOptions = {
    "rows",          "cols", "grate-spread", "influx-between", "influx-timestep", "influx-inside",
    "outcome-spread", "display-cycle", "runs", "outcome-random", "standoff"};
constexpr std::array<std::string_view, 3> FileOptions = {"result", "init-grates", "init-outcomes"};

} // namespace

bool IsPlanRunOption(const std::string& key)
{
    for (const std::string_view o : VariableOptions)
        if (key == o)
            return true;
    return false;
}

bool IsRunFolderFileOption(const std::string& key)
{
    for (const std::string_view o : FileOptions)
        if (key == o)
            return true;
    return false;
}

bool IsPlanParameter(const std::string& key)
{
    GeneralParameterTexts texts;
    return key != "RandSeed" && (key == "MeanField" || texts.Field(key) != nullptr);
}

} // namespace quorrel
