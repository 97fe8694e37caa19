#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// Sequential reading of a text held as lines, the way a reader of a line-oriented file
// moves through it: whole lines, skipped columns and blank-separated tokens that may
// continue on the following lines.
class TextCursor {
public:
    struct Token {
        std::string text;
        int lineNumber = 0; // counted from 1
    };

    explicit TextCursor(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    bool AtEnd() const { return line_ >= lines_.size(); }
    int LineNumber() const { return static_cast<int>(line_) + 1; }
    int LineCount() const { return static_cast<int>(lines_.size()); }

    // The whole current line (empty at the end of the text).
    std::string_view CurrentLine() const;

    // Moves to the start of the next line, dropping the rest of the current one.
    void NextLine();

    // Skips up to n characters, never past the end of the current line.
    void SkipColumns(size_t n);

    // The rest of the current line; the cursor stays on the line.
    std::string_view RestOfLine() const;

    // Skips blanks, tabs and line ends, then takes characters up to the next blank, tab or
    // line end. Empty when the text ends first. With splitAtMinus, a "-" after the token's
    // first character also ends it and begins the next: numbers in columns of a fixed width
    // touch where a negative one fills its column ("100-100" is 100 and -100).
    std::optional<Token> NextToken(bool splitAtMinus = false);

private:
    std::vector<std::string> lines_;
    size_t line_ = 0;
    size_t column_ = 0;
};

} // namespace quorrel
