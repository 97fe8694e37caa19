#pragma once

#include "output/OutputOptions.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quorrel {

// A file a run reads or writes, with what it is for a message ("the options file").
struct NamedFile {
    std::string What;
    std::filesystem::path Path;
};

// The files that the output options make a run of one landscape write, under the names the
// writers give them: the landscape files (text and bitmap), and the files of every statistic
// and plot that is written (GRate1.dat and GRate2.dat for GRate.dat, one sliding-window
// file per species, ...). Files numbered by generation are not listed.
std::vector<NamedFile> OptionOutputFiles(const OptionStruct& options, int maxspec);

// The files of the start folder that the program keeps for the user or writes on its own:
// PLast.prm, PDefault.prm, Options.dat and ERR-INIT.prm.
std::vector<NamedFile> StartFolderFiles(const std::filesystem::path& startDir);

// Whether two names lead to the same file: the same path once made absolute and normal,
// or one file reached through links.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Why the outputs cannot be written, or empty: an output that is one of the kept files
// (the user's own and the run's inputs) or the same file as another output.
std::string OutputNameClash(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& kept);

} // namespace quorrel
