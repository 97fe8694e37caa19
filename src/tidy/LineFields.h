#pragma once

#include "tidy/TextLines.h"

#include <string>
#include <string_view>

namespace quorrel {

// Reads the fixed-width fields of one line from left to right and refuses what does not fit,
// naming the file, line and column. Numbers are returned as the text of the line without its
// padding, so that tidy files carry the values exactly as the data files hold them.
//
// A right-aligned field of width w holds exactly w characters when it begins with a blank;
// a number that needs w characters or more begins at once and takes every digit that follows.
class LineFields {
public:
    // The line that lines.Next just returned.
    LineFields(const TextLines& lines, std::string_view line);

    // An integer right-aligned in width ("%wd").
    std::string Int(int width, const char* what);
    // An integer left-aligned in width ("%-wd"), padded with blanks on the right.
    std::string LeftInt(int width, const char* what);
    // A real right-aligned in width with that many decimals ("%w.df").
    std::string Fixed(int width, int decimals, const char* what);
    // A real in the 23-character scientific form of the parameter listing.
    std::string Sci23(const char* what);
    // An integer without width (the digits, an optional "-" before them).
    std::string Bare(const char* what);
    void Literal(std::string_view text);
    std::string_view Rest();
    bool AtEnd() const { return at_ >= line_.size(); }
    size_t Left() const { return AtEnd() ? 0 : line_.size() - at_; }
    void End();

    [[noreturn]] void Fail(const std::string& what) const;

private:
    std::string Number(int width, int decimals, const char* what, const char* form);

    const TextLines& lines_;
    std::string_view line_;
    int number_;
    size_t at_ = 0;
};

// The value of a field that Int, LeftInt or Bare has returned.
int IntValue(const std::string& text);

} // namespace quorrel
