#include "tidy/TextLines.h"

#include "tidy/TidyError.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quorrel {

std::string TextLines::Quoted(std::string_view line)
{
    std::string shown;
    for (char c : line.substr(0, 60))
        shown += (static_cast<unsigned char>(c) < 32 || c == 127) ? '?' : c;
    return "\"" + shown + (line.size() > 60 ? "...\"" : "\"");
}

TextLines::TextLines(std::string name, std::string_view text) : name_(std::move(name))
{
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            lastEnded_ = false;
            break;
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.emplace_back(line);
        start = end + 1;
    }
}

TextLines TextLines::FromFile(const std::filesystem::path& file, const std::string& name)
{
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad())
        throw TidyError(name + ": cannot be read: " + std::generic_category().message(errno ? errno : EIO));
    return TextLines(name, text);
}

std::string_view TextLines::Peek(const char* expected) const
{
    if (AtEnd())
        Fail(std::string("the file ends where ") + expected + " should follow");
    if (!complete(next_))
        Fail("the line has no line end (the file is cut short)");
    return lines_[next_];
}

std::string_view TextLines::Next(const char* expected)
{
    const std::string_view line = Peek(expected);
    ++next_;
    return line;
}

void TextLines::Expect(std::string_view text)
{
    const std::string expected = "the line \"" + std::string(text) + "\"";
    const std::string_view line = Peek(expected.c_str());
    if (line != text)
        Fail("expected " + Quoted(text) + ", found " + Quoted(line));
    ++next_;
}

void TextLines::Fail(const std::string& what) const
{
    FailAt(Number(), what);
}

void TextLines::FailAt(int number, const std::string& what) const
{
    throw TidyError(name_ + " line " + std::to_string(number) + ": " + what);
}

} // namespace quorrel
