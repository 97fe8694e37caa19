#pragma once

#include <stdexcept>
#include <string>

namespace quorrel {

// A data file of a run that cannot be created or written. It ends the run; the run driver
// shows its text: the system's description of the failure and the file's name.
class OutputFileError : public std::runtime_error {
public:
    OutputFileError(const std::string& fileName, const std::string& reason)
        : std::runtime_error(reason + ":\r  " + fileName), fileName_(fileName)
    {
    }

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

} // namespace quorrel
