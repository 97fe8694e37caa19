#pragma once

#include <stdexcept>

namespace quorrel {

// A file tidy refuses, or a tidy file it cannot write; the text names the file (and the line).
class TidyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quorrel

namespace quorrel {

// A tidy file that cannot be written (the folder's files read well).
class TidyWriteError : public TidyError {
public:
    using TidyError::TidyError;
};

} // namespace quorrel
