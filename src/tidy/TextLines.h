#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// The lines of one text file, read one after the other by a reader that checks them; every
// refusal names the file and the line ("run-00003/Cover.dat line 12: ...").
// Lines end in CR LF (LF alone is accepted); a last line without a line end means the file
// was cut short and is refused when it is reached.
class TextLines {
public:
    TextLines(std::string name, std::string_view text);
    static TextLines FromFile(const std::filesystem::path& file, const std::string& name);

    const std::string& Name() const { return name_; }
    bool AtEnd() const { return next_ >= lines_.size(); }
    // The number of the line Next returns (1-based); past the end, one more than the last.
    int Number() const { return static_cast<int>(next_) + 1; }

    // The current line without consuming it; refuses at the end of the file.
    std::string_view Peek(const char* expected) const;
    // The line k places after the current one, or nullptr past the end (for telling files apart).
    const std::string* Ahead(size_t k) const { return next_ + k < lines_.size() ? &lines_[next_ + k] : nullptr; }
    bool AheadIs(size_t k, std::string_view exact) const { return Ahead(k) && *Ahead(k) == exact; }
    bool PeekIs(std::string_view exact) const { return !AtEnd() && lines_[next_] == exact && complete(next_); }
    // The current line, then on to the next; refuses at the end of the file.
    std::string_view Next(const char* expected);
    // Consumes a line that must be exactly text.
    void Expect(std::string_view text);

    // Refuses the file at the line Next would return, or at line number.
    [[noreturn]] void Fail(const std::string& what) const;
    [[noreturn]] void FailAt(int number, const std::string& what) const;

    // A piece of a line as messages show it: quoted, at most 60 characters, control bytes as "?".
    static std::string Quoted(std::string_view text);

private:
    bool complete(size_t index) const { return index + 1 < lines_.size() || lastEnded_; }

    std::string name_;
    std::vector<std::string> lines_;
    bool lastEnded_ = true;
    size_t next_ = 0;
};

} // namespace quorrel
