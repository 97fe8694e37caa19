#pragma once

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

} // namespace quorrel
