#include "runs/AppState.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "runs/TempDirectory.h"

namespace quorrel {

bool AppState::Startup(Dialogs& dialogs, const std::filesystem::path& startDir)
{
    StartupReport report;
    if (!Startup(dialogs, startDir, report))
        return false;
    std::string kept;
    if (report.LastFileRefused) {
        kept = KeepRefusedLastParameters(StartDir());
        kept = kept.empty() ? "\rIt could not be kept aside and is replaced when the program closes."
                            : "\rThe file is kept as " + kept + ".";
    }
    // PLast.prm is tried first, so its refusal comes first.
    for (size_t i = 0; i < report.ParameterRefusals.size(); ++i)
        dialogs.Message(MessageKind::Error, report.ParameterRefusals[i] + (i == 0 ? kept : std::string()),
                        MessageButtons::Ok);
    return true;
}

bool AppState::Startup(Dialogs& dialogs, const std::filesystem::path& startDir, StartupReport& report)
{
    Params.StartDir = startDir;

    std::optional<std::filesystem::path> temp = MakeTempDirectory();
    if (!temp) {
        TempDir.clear();
        dialogs.Message(MessageKind::Error, TempDirectoryFailureMessage(), MessageButtons::Ok);
        return false;
    }
    TempDir = *temp;

    Params.ResetToStartupTables();
    const StartupLoadResult loaded = LoadStartupParameters(Params);
    report.ParameterRefusals = loaded.Refusals;
    report.LastFileRefused = loaded.LastFileRefused;
    Params.MirrorOutcomeMatrix();
    Params.UpdateGRateFractions();

    ReloadSeed();
    Colors = ColorMap();
    std::error_code ec;
    const bool optionsPresent = std::filesystem::exists(OptionsFilePath(StartDir()), ec);
    report.OptionsFileBad = !ReadOptionsFile(Options, StartDir(), dialogs) && optionsPresent;
    return true;
}

void AppState::BringParametersIntoForce()
{
    Params.MirrorOutcomeMatrix();
    Params.UpdateGRateFractions();
    ReloadSeed();
}

void AppState::Shutdown(Dialogs& dialogs)
{
    try {
        SaveLastParameters(Params);
    } catch (const ParameterFileError& e) {
        dialogs.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
    }
    WriteOptionsFile(Options, StartDir(), dialogs);
    RemoveTempDir(dialogs);
}

void AppState::RemoveTempDir(Dialogs& dialogs)
{
    if (TempDir.empty())
        return;
    if (!RemoveTempDirectory(TempDir)) {
        dialogs.Message(MessageKind::Error, "Unable to remove the directory for temporary files:\r" + TempDir.string(),
                        MessageButtons::Ok);
        return;
    }
    TempDir.clear();
}

} // namespace quorrel
