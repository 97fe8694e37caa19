#include "engine/LandscapeText.h"

#include "engine/GridOperations.h"
#include "params/AssertionFailure.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace quorrel {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string SystemReason(int error)
{
    return error != 0 ? std::string(std::strerror(error)) : std::string("(unknown failure)");
}

std::string Header(const GParamStruct& p)
{
    return "species\t" + std::to_string(p.Maxspec) + "\t" + std::to_string(p.MaxX) + "\t" + std::to_string(p.MaxY);
}

// Reads one line without its line end (CR LF or LF). False at the end of the file.
bool ReadLine(std::FILE* f, std::string& line)
{
    line.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(f)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trimmed(const std::string& s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// A header line as it is compared: trimmed and in lower case.
std::string HeaderText(const std::string& line)
{
    std::string header = Trimmed(line);
    for (char& c : header)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return header;
}

// The trimmed, lower-case header of a block: the layout of the parameters, optionally with
// the generation of a consolidated block after a last TAB.
bool IsBlockHeader(const std::string& header, const std::string& expected)
{
    if (header == expected)
        return true;
    const std::size_t tab = header.rfind('\t');
    if (tab == std::string::npos || header.substr(0, tab) != expected)
        return false;
    const std::string_view generation = std::string_view(header).substr(tab + 1);
    return !generation.empty() && generation.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

bool WriteTXTLandscape(const std::string& fileName, int generation, const GParamStruct& p,
                       const LandscapeGrid& grid, Dialogs& dialogs)
{
    if (p.MaxX <= 0 || p.MaxY <= 0 || p.Maxspec <= 0)
        QRL_FAIL("WriteTXTLandscape: Bad general parameter", "Landscape");

    auto fail = [&](int error) {
        dialogs.Message(MessageKind::Error,
                        "Unable to write the landscape file:\r  " + fileName + "\r" + SystemReason(error),
                        MessageButtons::Ok);
        return false;
    };

    errno = 0;
    File f(std::fopen(fileName.c_str(), generation <= 0 ? "wb" : "ab"), &std::fclose);
    if (!f)
        return fail(errno);

    std::string text = Header(p);
    if (generation > 0) {
        text += '\t';
        text += std::to_string(generation);
    }
    text += "\r\n";
    char number[16];
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = grid.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            if (x > 1)
                text.push_back('\t');
            const auto r = std::to_chars(number, number + sizeof number, row[x].Species);
            text.append(number, r.ptr);
        }
        text += "\r\n";
    }
    if (generation > 0)
        text += "\r\n";

    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), f.get()) != text.size())
        return fail(errno);
    errno = 0;
    if (std::fclose(f.release()) != 0)
        return fail(errno);
    return true;
}

bool ReadTXTLandscape(const std::string& fileName, const ParameterSet& p, const GRateRanges& fractions,
                      LandscapeGrid& grid, Rng& rng, Dialogs& dialogs)
{
    const GParamStruct& g = p.GParamRec;
    if (g.MaxX <= 0 || g.MaxY <= 0 || g.Maxspec <= 0)
        QRL_FAIL("ReadTXTLandscape: Bad general parameter", "Landscape");

    auto error = [&](const std::string& text) {
        dialogs.Message(MessageKind::Error, text, MessageButtons::Ok);
        return false;
    };
    auto readFailure = [&](const std::string& reason) {
        return error("Unable to read the landscape file:\r  " + fileName + "\r" + reason);
    };

    errno = 0;
    File f(std::fopen(fileName.c_str(), "rb"), &std::fclose);
    if (!f)
        return readFailure(SystemReason(errno));

    std::string line;
    ReadLine(f.get(), line);
    if (std::ferror(f.get()))
        return readFailure(SystemReason(errno));
    const std::string header = HeaderText(line);
    const std::string expected = Header(g);
    if (!IsBlockHeader(header, expected))
        return error("The landscape file is either in the wrong format or\rhas the wrong landscape size or "
                     "number of species.\r  " +
                     fileName);

    const std::string corruptRow = "The landscape file is corrupt around row ";
    int32_t badValue = 0;
    int badX = 0;
    int badY = 0;
    for (int y = 1; y <= g.MaxY; ++y) {
        // A file that ends before its last row is as corrupt as a short row.
        if (!ReadLine(f.get(), line)) {
            if (std::ferror(f.get()))
                return readFailure(SystemReason(errno));
            return error(corruptRow + std::to_string(y) + "\r  " + fileName);
        }
        Cell* row = grid.Row(y);
        const char* c = line.data();
        const char* end = c + line.size();
        int x = 0;
        while (true) {
            while (c < end && IsBlank(*c))
                ++c;
            if (c == end)
                break;
            if (x == g.MaxX)
                return error(corruptRow + std::to_string(y) + "\r  " + fileName);
            const char* start = c;
            while (c < end && !IsBlank(*c))
                ++c;
            int32_t value = 0;
            const char* digits = (*start == '+' && c - start > 1) ? start + 1 : start;
            const auto r = std::from_chars(digits, c, value);
            if (r.ec != std::errc() || r.ptr != c)
                return readFailure("Invalid numeric input at cell (" + std::to_string(x + 1) + ", " +
                                   std::to_string(y) + ")");
            ++x;
            if (value < 0 || value > g.Maxspec) {
                // Kept out of the grid, so that no cell ever holds a species the tables
                // cannot index; reported below, after the layout checks.
                if (badValue == 0) {
                    badValue = value;
                    badX = x;
                    badY = y;
                }
                value = 0;
            }
            row[x].Species = value;
        }
        if (x < g.MaxX)
            return error(corruptRow + std::to_string(y) + "\r  " + fileName);
    }

    // After the empty line that ends a block only the next block of a consolidated file may
    // follow, so that garbage there is not taken for part of a landscape file.
    const std::string garbage = "The landscape file is corrupt (possibly garbage at the end).\r  " + fileName;
    if (ReadLine(f.get(), line)) {
        if (!Trimmed(line).empty())
            return error(garbage);
        while (ReadLine(f.get(), line) && Trimmed(line).empty()) {
        }
        const std::string next = HeaderText(line);
        if (!next.empty() && !IsBlockHeader(next, expected))
            return error(garbage);
    }
    if (std::ferror(f.get()))
        return readFailure(SystemReason(errno));

    for (int y = 1; y <= g.MaxY; ++y) {
        Cell* row = grid.Row(y);
        for (int x = 1; x <= g.MaxX; ++x) {
            if (badValue != 0 && x == badX && y == badY)
                return error("The landscape file is corrupt.The bad value is " + std::to_string(badValue) +
                             " at cell (" + std::to_string(x) + ", " + std::to_string(y) + ") in file\r  " + fileName);
            const int32_t s = row[x].Species;
            row[x].GRate = s == 0 ? 0.0f : DrawGRate(fractions, rng, s);
        }
    }
    return true;
}

} // namespace quorrel
