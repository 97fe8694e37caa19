#pragma once

#include "params/ParameterSet.h"

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorrel {

// A parameter file that cannot be opened, read or written, or that holds a value the
// parameter set cannot take. The text names the file, the line and what is wrong.
class ParameterFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The parameter listing in the parameter-file layout, with firstLine as line 1.
// Data files of a run (statistics, Monte Carlo results, ...) begin with it.
void WriteParameterListing(std::ostream& out, const ParameterSet& p, const std::string& firstLine,
                           bool dependentGRates = DependentGRates);

// Creates or truncates the file and writes the listing; the path text becomes line 1.
// Throws ParameterFileError when the file cannot be written.
void WriteParameterFile(const ParameterSet& p, const std::string& path, bool dependentGRates = DependentGRates);

// Reads the file into the parameter set; what the file omits keeps its value, except that
// CoverFile is cleared and MeanField set to false first. Refused with ParameterFileError, the
// set staying exactly as it was: a file that cannot be read, has more than 500 lines, holds
// none of the keys (no parameter file), a number that cannot be read, a table value outside
// -128..127, or leaves a value that the general-parameters dialog or an editor would refuse
// (the rules of ParameterRules.h; numbers are checked as written). The message names the
// file, the line, the key and the value. Callers then mirror the outcome matrix, update the
// growth-rate fractions and bring the parameters into force.
void ReadParameterFile(ParameterSet& p, const std::string& path, bool dependentGRates = DependentGRates);

// What the start-up load brought into force.
struct StartupLoadResult {
    std::string FileRead;              // the file now in force; empty: the in-built defaults
    std::vector<std::string> Refusals; // the errors of files that exist but were refused
    bool LastFileRefused = false;      // PLast.prm exists but was refused
};

// At start-up: StartDir/PLast.prm, else StartDir/PDefault.prm, else the in-built defaults.
// A file that exists but is refused leaves the set as it was and the next choice is tried;
// the refusals are returned so that the application can show them.
StartupLoadResult LoadStartupParameters(ParameterSet& p);

// Renames a refused StartDir/PLast.prm to PLast.prm.refused (PLast.prm.refused.2, .3, ...
// when older ones exist), so that the next shut-down does not overwrite it. The new path,
// or empty when it cannot be renamed.
std::string KeepRefusedLastParameters(const std::filesystem::path& startDir);

// StartDir/PLast.prm and StartDir/PDefault.prm, each written to a temporary name in the
// same folder and renamed over the old file.
void SaveLastParameters(const ParameterSet& p);
void WriteDefaultParameters(const ParameterSet& p);

} // namespace quorrel
