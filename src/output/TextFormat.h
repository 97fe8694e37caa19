#pragma once

#include "params/ParameterSet.h"

#include <fstream>
#include <string>

namespace quorrel {

// The system's description of the last file failure; "(unknown failure)" when there is none.
std::string ErrnoText();

// One number formatted as snprintf formats it.
std::string Format(const char* format, double value);
std::string Format(const char* format, int value);

// Throws OutputFileError naming the file when the stream has failed.
void CheckWritten(const std::ofstream& file, const std::string& name);

// Creates the data file name afresh (closing what file held before) and writes the
// parameter listing that every data file begins with; throws OutputFileError on failure.
void CreateDataFile(std::ofstream& file, const std::string& name, const ParameterSet& params);

} // namespace quorrel
