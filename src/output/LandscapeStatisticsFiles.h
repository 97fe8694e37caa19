#pragma once

#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/OutputOptions.h"
#include "output/Statistics.h"
#include "params/ParameterSet.h"

#include <array>
#include <fstream>
#include <string>

namespace quorrel {

// The per-landscape statistics files of a landscape array: one line per landscape and
// generation with that landscape's own coverage (CoverFilename with "1" inserted before the
// extension, when WriteCoverage) and its normal and genotype mean growth rates
// (GRateFilename with "1" and then "1" or "2" inserted, when WriteGRate). The caller loads
// each landscape into the current landscape first. A file failure throws OutputFileError.
// Lines not written when the files are closed are dropped.
class LandscapeStatisticsFiles {
public:
    LandscapeStatisticsFiles(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                             const ColorMap& colors);

    // The lines of landscape (row, col) for generation g, held until WriteHeldLines;
    // landscape (1, 1) at generation 0 creates the files first. With a tally of the
    // landscape, its statistics are read from it (see Statistics::ComputeStatistics).
    void WriteLandscapeLines(int g, int row, int col, const LandscapeTally* tally = nullptr);
    // Writes the lines held, once every landscape of the generation has its own: a generation
    // that does not complete leaves none of its lines in the files.
    void WriteHeldLines();
    void CloseCoverageFile();
    void CloseGRateFiles();

    static std::string CoverageFileName(const OptionStruct& options);
    // i = 1 normal means, 2 genotype means.
    static std::string GRateFileName(const OptionStruct& options, int i);

private:
    void Create(std::ofstream& file, const std::string& name, const char* title, const char* headingEnd,
                const char* ruleEnd);
    void Append(std::ofstream& file, const std::string& name, const std::string& text);
    void Close(std::ofstream& file, const std::string& name);

    const ParameterSet& params_;
    const OptionStruct& options_;
    Statistics single_;
    std::ofstream coverFile_;
    std::string coverName_;
    std::string coverHeld_;
    std::array<std::ofstream, 2> rateFiles_;
    std::array<std::string, 2> rateNames_;
    std::array<std::string, 2> rateHeld_;
};

} // namespace quorrel
