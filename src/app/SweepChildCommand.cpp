#include "app/SweepChildCommand.h"

#include "sweep/RunManifest.h"

namespace quorrel {

SweepRun SweepRunOf(const SweepPlan& plan, long run, const std::filesystem::path& sweepFolder)
{
    SweepRun r;
    r.Run = run;
    r.PointIndex = static_cast<size_t>((run - 1) / plan.Replicates);
    r.Replicate = static_cast<int>((run - 1) % plan.Replicates) + 1;
    r.Point = plan.Design.Point(r.PointIndex);
    r.Seed = RunSeed(plan.Seed, r.Point, r.Replicate);
    r.Folder = sweepFolder / RunFolderName(run);
    return r;
}

std::vector<std::string> SweepChildCommand(const SweepPlan& plan, const SweepRun& run,
                                           const std::filesystem::path& outputDir)
{
    std::vector<std::string> args = {"quorrel-batch", "--quiet", "--mode", plan.Mode, "--dir", plan.Dir.string()};
    if (!plan.Params.empty())
        args.insert(args.end(), {"--params", plan.Params.string()});
    if (!plan.Options.empty())
        args.insert(args.end(), {"--options", plan.Options.string()});
    for (const PlanEntry& set : plan.Sets)
        args.insert(args.end(), {"--set", set.Key + "=" + set.Value});
    for (const auto& [key, value] : run.Point)
        if (IsPlanParameter(key))
            args.insert(args.end(), {"--set", key + "=" + value});
    args.insert(args.end(), {"--set", "RandSeed=" + std::to_string(run.Seed)});
    for (const PlanEntry& option : plan.RunOptions)
        args.insert(args.end(), {"--" + option.Key, IsRunFolderFileOption(option.Key)
                                                        ? (outputDir / option.Value).string()
                                                        : option.Value});
    for (const auto& [key, value] : run.Point)
        if (IsPlanRunOption(key))
            args.insert(args.end(), {"--" + key, value});
    if (plan.GRateRandom)
        args.push_back("--grate-random");
    args.insert(args.end(), {"--output-dir", outputDir.string()});
    return args;
}

} // namespace quorrel
