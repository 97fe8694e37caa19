#pragma once

#include "params/ParameterSet.h"

#include <iosfwd>
#include <stdexcept>
#include <string>

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

// Reads the file into the parameter set. On any error it throws ParameterFileError and
// leaves the set exactly as it was. Callers then mirror the outcome matrix, update the
// growth-rate fractions and bring the parameters into force.
void ReadParameterFile(ParameterSet& p, const std::string& path, bool dependentGRates = DependentGRates);

// At start-up: StartDir/PLast.prm, else StartDir/PDefault.prm, else the in-built defaults.
void LoadStartupParameters(ParameterSet& p);

// StartDir/PLast.prm and StartDir/PDefault.prm, each written to a temporary name in the
// same folder and renamed over the old file.
void SaveLastParameters(const ParameterSet& p);
void WriteDefaultParameters(const ParameterSet& p);

} // namespace quorrel
