#include "output/TextFormat.h"

#include "output/OutputFileError.h"
#include "params/ParameterFile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace quorrel {

std::string ErrnoText()
{
    return errno != 0 ? std::generic_category().message(errno) : std::string("(unknown failure)");
}

std::string Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Format(const char* format, int value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

void CheckWritten(const std::ofstream& file, const std::string& name)
{
    if (!file)
        throw OutputFileError(name, ErrnoText());
}

void CreateDataFile(std::ofstream& file, const std::string& name, const ParameterSet& params)
{
    if (file.is_open())
        file.close();
    errno = 0;
    file.clear();
    file.open(name, std::ios::binary | std::ios::trunc);
    CheckWritten(file, name);
    WriteParameterListing(file, params, name);
    CheckWritten(file, name);
}

} // namespace quorrel
