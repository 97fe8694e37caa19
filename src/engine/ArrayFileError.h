#pragma once

#include <stdexcept>
#include <string>

namespace quorrel {

// A file of a landscape array (a scratch file of a landscape, or a table file the user asked
// for) that cannot be created, written or read back. It ends the run; its text is the
// system's description of the failure and the file's name.
class ArrayFileError : public std::runtime_error {
public:
    ArrayFileError(const std::string& fileName, const std::string& reason)
        : std::runtime_error(reason + ":\r  " + fileName)
    {
    }
};

} // namespace quorrel
