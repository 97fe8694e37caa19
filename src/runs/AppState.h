#pragma once

#include "engine/ArraySettings.h"
#include "engine/Dialogs.h"
#include "engine/Landscapes.h"
#include "engine/Rng.h"
#include "output/ColorMap.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quorrel {

// What start-up found wrong with the files it read, for a caller that treats it as an error.
struct StartupReport {
    std::vector<std::string> ParameterRefusals; // PLast.prm / PDefault.prm present but refused
    bool OptionsFileBad = false;                // Options.dat present but unreadable or bad
    bool LastFileRefused = false;               // PLast.prm among the refused files
};

// The state the whole application shares: the one parameter set, the landscape pair, the
// generator, the output options, the colour map, the start directory and the private
// temporary directory. The desktop program owns exactly one; the batch runner and tests
// make their own. The run drivers work on it.
class AppState {
public:
    ParameterSet Params;
    Landscapes Lands;
    Rng Random;
    OptionStruct Options;
    ColorMap Colors;
    // The settings of the landscape arrays, shared by both array modes.
    ArraySettings Array;
    // Empty until Startup has made it, and again once it has been removed.
    std::filesystem::path TempDir;

    const std::filesystem::path& StartDir() const { return Params.StartDir; }

    // Start-up, in order: StartDir := startDir; the temporary directory; the parameter set's
    // start-up state (PLast.prm, else PDefault.prm, else the in-built defaults; refused files
    // are reported, and a refused PLast.prm is kept aside so that shut-down does not
    // overwrite it); RandSeed; the output options from Options.dat. False, with the message
    // shown, when the temporary directory cannot be made: the program must end.
    bool Startup(Dialogs& dialogs, const std::filesystem::path& startDir);

    // The same steps with the refused parameter files reported instead of shown (the
    // options file's warning is shown as always). The batch runner treats them as errors.
    bool Startup(Dialogs& dialogs, const std::filesystem::path& startDir, StartupReport& report);

    // Shut-down: PLast.prm and Options.dat written, then the temporary directory removed.
    void Shutdown(Dialogs& dialogs);

    // Removes the temporary directory unless it is gone already or holds a sub-directory
    // or another entry that is not a plain file; on failure shows
    // "Unable to remove the directory for temporary files:\r" + path.
    void RemoveTempDir(Dialogs& dialogs);

    // The common tail after any change of the general parameters: the display sizes follow
    // from MaxX, MaxY and PIX; the generator restarts from GParamRec.RandSeed. The outcome
    // matrix is mirrored and the growth-rate fractions derived again as well, so that a
    // species count raised in the dialog never runs with stale fractions.
    void BringParametersIntoForce();

    // RandSeed := GParamRec.RandSeed, as confirming a run mode does.
    void ReloadSeed() { Random.RandSeed = static_cast<uint32_t>(Params.GParamRec.RandSeed); }

    int DisplayWidth() const { return Params.DisplayWidth(); }
    int DisplayHeight() const { return Params.DisplayHeight(); }
};

} // namespace quorrel
