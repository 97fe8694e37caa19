#pragma once

#include "engine/Dialogs.h"
#include "output/OutputOptions.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quorrel {

// The file names that the output options hold.
enum class OptionFile {
    CAFilename,
    CoverFilename,
    GRateFilename,
    STPlotFilename,
    FTPlotFilename,
    OTCFilename,
    GCFilename,
    FTPOTCFilename,
    SWFilename,
};

// The field of options that holds this file name.
std::string& OptionFileName(OptionStruct& options, OptionFile file);

// The save dialog of one file-name box, with its title, filter, default extension and the
// extension rules of the landscape and sliding-windows names. The chosen name, or nothing
// when the user cancelled (the old name stays).
std::optional<std::string> ChooseOptionFile(OptionFile file, const std::string& current,
                                            const std::filesystem::path& startDir, Dialogs& dialogs);

} // namespace quorrel
