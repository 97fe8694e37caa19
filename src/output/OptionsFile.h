#pragma once

#include "engine/Dialogs.h"
#include "output/OutputOptions.h"

#include <filesystem>

namespace quorrel {

// "Options.dat" in the start folder keeps the output options between uses of the program.

// Reads startDir/Options.dat into options. A missing file silently gives the defaults; a file
// that cannot be read or holds bad values gives a warning and the defaults in full.
// Returns true when the file was read and used.
bool ReadOptionsFile(OptionStruct& options, const std::filesystem::path& startDir, Dialogs& dialogs);

// The same for an options file elsewhere: file names that the defaults supply are in startDir.
bool ReadOptionsFileAt(OptionStruct& options, const std::filesystem::path& file,
                       const std::filesystem::path& startDir, Dialogs& dialogs);

// Writes startDir/Options.dat through a temporary file in the same folder that is then
// renamed over the old one. On failure an error message is shown and false returned.
bool WriteOptionsFile(const OptionStruct& options, const std::filesystem::path& startDir, Dialogs& dialogs);

// The file's path as the messages and its first line name it.
std::string OptionsFilePath(const std::filesystem::path& startDir);

} // namespace quorrel
