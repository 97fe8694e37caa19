#pragma once

#include "sweep/SweepPlan.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace quorrel {

// Checks every design point of the plan in this process with the preparation a run makes,
// writing nothing: the general parameters as the dialog checks them, the mode and its
// options, the output names. Throws PlanError naming the file, the line and the key the
// refusal comes from. The initial cover file is left to the runs: a run that cannot read
// it fails alone.
void CheckSweepPlan(const SweepPlan& plan, const std::filesystem::path& sweepFolder);

// The parameters and options in force for a run of that command line (argv[0] included),
// as run.json records them; empty objects when the preparation refuses it.
struct RunSettingsJson {
    nlohmann::ordered_json Parameters = nlohmann::ordered_json::object();
    nlohmann::ordered_json Options = nlohmann::ordered_json::object();
};
RunSettingsJson RunSettingsOf(const std::vector<std::string>& command);

} // namespace quorrel
