#pragma once

#include <iostream>
#include <string>

namespace quorrel {

// The exit statuses of quorrel-batch, for one run and for a sweep alike.
inline constexpr int ExitSuccess = 0;  // the run completed; every run of the sweep is done
inline constexpr int ExitRunError = 1; // the run ended on an error; a run of the sweep failed
inline constexpr int ExitBadInput = 2; // a bad command line, input file or plan

// One line on standard error, in the program's name.
inline void Say(const std::string& text)
{
    std::cerr << "quorrel-batch: " << text << '\n';
}

} // namespace quorrel
