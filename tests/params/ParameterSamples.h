#pragma once

#include "params/ParameterSet.h"

#include <string>
#include <string_view>

namespace quorrel::test {

// The set as the program has it after start-up without parameter files.
inline ParameterSet StartupDefaults(const std::string& startDir = "/home/u")
{
    return ParameterSet::InbuiltDefaults(startDir);
}

// Fixtures are written with plain line breaks; files have CR LF.
inline std::string Crlf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace quorrel::test
