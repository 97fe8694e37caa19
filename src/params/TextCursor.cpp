#include "TextCursor.h"

#include <algorithm>

namespace quorrel {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string_view TextCursor::CurrentLine() const
{
    return AtEnd() ? std::string_view() : std::string_view(lines_[line_]);
}

void TextCursor::NextLine()
{
    if (!AtEnd()) {
        ++line_;
        column_ = 0;
    }
}

void TextCursor::SkipColumns(size_t n)
{
    column_ = std::min(column_ + n, CurrentLine().size());
}

std::string_view TextCursor::RestOfLine() const
{
    return CurrentLine().substr(std::min(column_, CurrentLine().size()));
}

std::optional<TextCursor::Token> TextCursor::NextToken(bool splitAtMinus)
{
    while (!AtEnd()) {
        const std::string_view line = CurrentLine();
        while (column_ < line.size() && IsBlank(line[column_]))
            ++column_;
        if (column_ < line.size()) {
            const size_t start = column_;
            while (column_ < line.size() && !IsBlank(line[column_]) &&
                   !(splitAtMinus && line[column_] == '-' && column_ > start))
                ++column_;
            return Token{std::string(line.substr(start, column_ - start)), LineNumber()};
        }
        NextLine();
    }
    return std::nullopt;
}

} // namespace quorrel
