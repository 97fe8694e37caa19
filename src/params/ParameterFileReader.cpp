#include "ParameterFile.h"

#include "TextCursor.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace quorrel {

namespace fs = std::filesystem;

namespace {

constexpr int MaxFileLines = 500;
constexpr size_t PrefixLength = 20;      // the part of a line that the key tests look at
constexpr size_t ScalarLabelLength = 14; // "  Maxspec    =": the key up to and including "="

// An optional sign and digits, within 32 bits.
std::optional<int32_t> ParseWholeNumber(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string Quoted(std::string_view text)
{
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> LoadLines(const std::string& path)
{
    std::error_code ignored;
    if (fs::is_directory(path, ignored))
        throw ParameterFileError("Cannot read the parameter file " + path + ": it is a folder");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = errno;
        throw ParameterFileError("Cannot open the parameter file " + path + ": " +
                                 (error != 0 ? std::generic_category().message(error) : "cannot be opened"));
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (static_cast<int>(lines.size()) == MaxFileLines)
            throw ParameterFileError("Parameter file " + path + ", line " + std::to_string(MaxFileLines + 1) +
                                     ": a parameter file has at most " + std::to_string(MaxFileLines) + " lines");
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    if (in.bad())
        throw ParameterFileError("Cannot read the parameter file " + path);
    return lines;
}

// Reads one parameter file into the set it is given. Keyed lines are recognised by the
// first characters of the line; each step reads a run of keyed lines and sections in the
// fixed key order and then skips one line, the separator that follows every run.
class ParameterFileReader {
public:
    ParameterFileReader(ParameterSet& target, std::string path, std::vector<std::string> lines, bool dependentGRates)
        : p_(target), g_(target.GParamRec), path_(std::move(path)), cursor_(std::move(lines)),
          dependentGRates_(dependentGRates)
    {
    }

    void Read()
    {
        cursor_.NextLine(); // line 1 is never interpreted
        g_.CoverFile.clear();
        g_.MeanField = false;
        while (!cursor_.AtEnd()) {
            if (Prefix().size() == 1) {
                cursor_.NextLine();
                continue;
            }
            ReadStep();
            cursor_.NextLine();
        }
        CheckDisplaySize();
    }

private:
    void ReadStep()
    {
        if (PrefixHas("Maxspec")) {
            g_.Maxspec = ReadIntScalar();
            CheckRange("Maxspec", g_.Maxspec, MinSpecies, MaxSpecies);
        }
        if (PrefixHas("MaxX")) {
            g_.MaxX = ReadIntScalar();
            maxXLine_ = lastLine_;
            CheckRange("MaxX", g_.MaxX, MinLandscapeSide, MaxLandscapeSide);
        }
        if (PrefixHas("MaxY")) {
            g_.MaxY = ReadIntScalar();
            maxYLine_ = lastLine_;
            CheckRange("MaxY", g_.MaxY, MinLandscapeSide, MaxLandscapeSide);
        }
        if (PrefixHas("PIX")) {
            g_.PIX = ReadIntScalar();
            pixLine_ = lastLine_;
        }
        if (PrefixHas("Maxgen"))
            g_.Maxgen = ReadIntScalar();
        if (PrefixHas("RandSeed"))
            g_.RandSeed = ReadIntScalar();
        if (PrefixHas("Init"))
            g_.Init = ReadIntScalar();
        if (PrefixHas("Cover  ")) // two blanks: not the CoverFile or TotalCover line
            g_.Cover = ReadIntScalar();
        if (PrefixHas("CoverFile"))
            g_.CoverFile = ReadTextScalar();
        if (PrefixHas("Border"))
            g_.Border = ReadIntScalar();
        if (PrefixHas("TotalCover"))
            g_.TotalCover = ReadFloatScalar();
        if (PrefixHas("OverGRate"))
            g_.OverGRate = ReadIntScalar();
        if (PrefixHas("DisturbProb"))
            g_.DisturbProb = ReadFloatScalar();
        if (PrefixHas("PatchSize"))
            g_.PatchSize = ReadIntScalar();
        if (PrefixHas("PatchType"))
            g_.PatchType = ReadIntScalar();
        if (PrefixHas("Influx"))
            g_.Influx = ReadFloatScalar();
        if (PrefixHas("RecruitType")) {
            g_.RecruitType = ReadIntScalar();
            if (g_.RecruitType != 0 && g_.RecruitType != 1)
                Fail(lastLine_, "RecruitType " + std::to_string(g_.RecruitType) + " is neither 0 (open) nor 1 (closed)");
        }
        if (PrefixHas("MutationGR"))
            g_.MutationGR = ReadFloatScalar();
        if (PrefixHas("MutAmtGR"))
            g_.MutAmtGR = ReadIntScalar();
        if (PrefixHas("MutationOTC"))
            g_.MutationOTC = ReadFloatScalar();
        if (PrefixHas("MutAmtOTC"))
            g_.MutAmtOTC = ReadIntScalar();
        if (PrefixHas("MeanField"))
            g_.MeanField = ReadIntScalar() != 0;
        if (PrefixHas("ParasiteNr")) // an obsolete key
            cursor_.NextLine();
        if (PrefixHas("Outcome Matrix :"))
            ReadOutcomeSection();
        if (PrefixHas("Growth Rates"))
            ReadGrowthRateSection();
        if (PrefixHas("Mortality Vector"))
            ReadMortalitySection();
        if (PrefixHas("Variable Outcome V"))
            ReadVariableOutcomeSection();
        if (PrefixHas("Recruitment Vector"))
            ReadRecruitmentSection();
    }

    // The species count in force when a section is reached; a set that was not valid before
    // the read must not lead the reader outside the tables.
    int Species() const
    {
        if (g_.Maxspec < 0 || g_.Maxspec > MaxSpecies)
            Fail(cursor_.LineNumber(), "Maxspec " + std::to_string(g_.Maxspec) + " is outside " +
                                           std::to_string(MinSpecies) + ".." + std::to_string(MaxSpecies));
        return g_.Maxspec;
    }

    std::string_view Prefix() const { return cursor_.CurrentLine().substr(0, PrefixLength); }
    bool PrefixHas(std::string_view key) const { return Prefix().find(key) != std::string_view::npos; }

    [[noreturn]] void Fail(int lineNumber, const std::string& what) const
    {
        throw ParameterFileError("Parameter file " + path_ + ", line " + std::to_string(lineNumber) + ": " + what);
    }

    void CheckRange(const char* name, int32_t value, int32_t low, int32_t high) const
    {
        if (value < low || value > high)
            Fail(lastLine_, std::string(name) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
                                ".." + std::to_string(high));
    }

    std::string NextToken()
    {
        std::optional<TextCursor::Token> token = cursor_.NextToken();
        if (!token)
            Fail(std::max(cursor_.LineCount(), 1), "the file ends where a number is expected");
        lastLine_ = token->lineNumber;
        return std::move(token->text);
    }

    int32_t ReadInteger()
    {
        const std::string text = NextToken();
        const std::optional<int32_t> value = ParseWholeNumber(text);
        if (!value)
            Fail(lastLine_, Quoted(text) + " is not a whole number");
        return *value;
    }

    int8_t SmallValue(int64_t value, int lineNumber) const
    {
        if (value < -128 || value > 127)
            Fail(lineNumber, "the value " + std::to_string(value) + " is outside -128..127");
        return static_cast<int8_t>(value);
    }

    int8_t ReadSmall()
    {
        const int32_t value = ReadInteger();
        return SmallValue(value, lastLine_);
    }

    float ReadFloat()
    {
        std::string text = NextToken();
        const bool allowed = text.find_first_not_of("0123456789.eE+-") == std::string::npos;
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        double value = 0.0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (!allowed || error != std::errc() || end != digits.data() + digits.size())
            Fail(lastLine_, Quoted(text) + " is not a number");
        const float stored = static_cast<float>(value);
        if (!std::isfinite(stored))
            Fail(lastLine_, Quoted(text) + " is too large");
        return stored;
    }

    // Scalar lines: the label up to "=" is skipped, the value read, the rest of the line dropped.
    // Integers keep their low 16 bits, read as unsigned.
    int32_t ReadIntScalar()
    {
        cursor_.SkipColumns(ScalarLabelLength);
        const int32_t value = ReadInteger();
        cursor_.NextLine();
        return static_cast<uint16_t>(value);
    }

    float ReadFloatScalar()
    {
        cursor_.SkipColumns(ScalarLabelLength);
        const float value = ReadFloat();
        cursor_.NextLine();
        return value;
    }

    std::string ReadTextScalar()
    {
        cursor_.SkipColumns(ScalarLabelLength);
        std::string value = Trimmed(cursor_.RestOfLine());
        cursor_.NextLine();
        return value;
    }

    void ReadOutcomeSection()
    {
        cursor_.NextLine(); // title
        cursor_.NextLine(); // column numbers
        const int n = Species();
        for (int i = 1; i < n; ++i) {
            for (int8_t OutcomeTriple::*part : {&OutcomeTriple::Win, &OutcomeTriple::Loss, &OutcomeTriple::Standoff}) {
                ReadInteger(); // row number
                for (int j = i + 1; j <= n; ++j)
                    p_.OutcomeMatrix[i][j].*part = ReadSmall();
                cursor_.NextLine();
            }
        }
    }

    void ReadGrowthRateSection()
    {
        cursor_.NextLine(); // title
        const int n = Species();
        for (int i = 1; i <= n; ++i) {
            if (dependentGRates_)
                ReadDependentGrowthRateLine(i);
            else
                ReadGrowthRateLine(i);
        }
        if (!dependentGRates_)
            return;
        for (int i = 1; i <= MaxSpecies; ++i)
            for (int j = (i <= n ? n + 1 : 1); j <= MaxSpecies; ++j)
                p_.RateAgainst[i][j] = 1.0f;
    }

    void ReadGrowthRateLine(int i)
    {
        GrowthRate& r = p_.GrowthRates[i];
        ReadInteger(); // species number
        r.Rate = ReadSmall();
        if (r.Rate == -1) {
            r.Low = ReadSmall();
            r.High = ReadSmall();
        }
        cursor_.NextLine();
    }

    // Species, Rate, optionally Low and High, then the rates against species 1, 2, ...
    // Numbers are an optional "-" and digits, separated by blanks or backspaces; the first
    // other character ends the line.
    void ReadDependentGrowthRateLine(int i)
    {
        if (cursor_.AtEnd())
            Fail(std::max(cursor_.LineCount(), 1), "the file ends inside the growth-rate section");
        const int lineNumber = cursor_.LineNumber();
        const std::string text = std::string(cursor_.RestOfLine()) + ":";
        cursor_.NextLine();

        std::vector<int64_t> numbers;
        size_t pos = 0;
        while (true) {
            while (text[pos] == ' ' || text[pos] == '\b')
                ++pos;
            const size_t start = pos;
            if (text[pos] == '-')
                ++pos;
            const size_t digitsStart = pos;
            while (text[pos] >= '0' && text[pos] <= '9')
                ++pos;
            if (pos == digitsStart)
                break;
            const std::optional<int32_t> value = ParseWholeNumber(std::string_view(text).substr(start, pos - start));
            if (!value)
                Fail(lineNumber, Quoted(std::string_view(text).substr(start, pos - start)) + " is too large");
            numbers.push_back(*value);
        }
        if (numbers.size() < 2)
            Fail(lineNumber, "the growth-rate line of species " + std::to_string(i) + " has no rate");

        GrowthRate& r = p_.GrowthRates[i];
        r.Rate = SmallValue(numbers[1], lineNumber);
        r.Low = numbers.size() > 2 ? SmallValue(numbers[2], lineNumber) : int8_t(0);
        r.High = numbers.size() > 3 ? SmallValue(numbers[3], lineNumber) : int8_t(0);
        const int n = Species();
        int j = 1;
        for (size_t k = 4; k < numbers.size() && j <= n; ++k, ++j)
            p_.RateAgainst[i][j] = static_cast<float>(static_cast<double>(numbers[k]) * 0.01);
        const int ownRate = r.Rate >= 0 ? r.Rate : r.Low;
        for (; j <= n; ++j)
            p_.RateAgainst[i][j] = static_cast<float>(ownRate * 0.01);
    }

    void ReadMortalitySection()
    {
        cursor_.NextLine(); // title
        for (int i = 1; i <= Species(); ++i) {
            ReadInteger(); // species number
            p_.MortalityVector[i] = ReadFloat();
            cursor_.NextLine();
        }
        p_.MortalityVector[0] = static_cast<float>(ReadIntScalar()); // "  Mortal-Size="
    }

    void ReadVariableOutcomeSection()
    {
        cursor_.NextLine(); // title
        for (int i = 1; i <= Species(); ++i) {
            VariableOutcomeRange& v = p_.VariableOutcomeVector[i];
            ReadInteger(); // species number
            v.WinLow = ReadSmall();
            v.WinHigh = ReadSmall();
            v.LossLow = ReadSmall();
            v.LossHigh = ReadSmall();
            cursor_.NextLine();
        }
    }

    void ReadRecruitmentSection()
    {
        cursor_.NextLine(); // title
        for (int i = 1; i <= Species(); ++i) {
            ReadInteger(); // species number
            p_.RecruitmentVector[i] = ReadFloat();
            cursor_.NextLine();
        }
    }

    // PIX may be absent and keep its previous value, so the display size is checked last.
    void CheckDisplaySize() const
    {
        const auto check = [&](const char* side, int32_t cells, int sideLine) {
            const int64_t pixels = int64_t(cells) * g_.PIX;
            if (pixels < 1 || pixels > MaxDisplaySide)
                Fail(pixLine_ != 0 ? pixLine_ : sideLine,
                     std::string(side) + " " + std::to_string(cells) + " cells of PIX " + std::to_string(g_.PIX) +
                         " pixels give " + std::to_string(pixels) + " pixels, outside 1.." +
                         std::to_string(MaxDisplaySide));
        };
        if (pixLine_ != 0 || maxXLine_ != 0)
            check("MaxX", g_.MaxX, maxXLine_);
        if (pixLine_ != 0 || maxYLine_ != 0)
            check("MaxY", g_.MaxY, maxYLine_);
    }

    ParameterSet& p_;
    GParamStruct& g_;
    std::string path_;
    TextCursor cursor_;
    bool dependentGRates_;
    int lastLine_ = 0; // line of the last number read
    int maxXLine_ = 0;
    int maxYLine_ = 0;
    int pixLine_ = 0;
};

} // namespace

void ReadParameterFile(ParameterSet& p, const std::string& path, bool dependentGRates)
{
    std::vector<std::string> lines = LoadLines(path);
    ParameterSet copy = p;
    ParameterFileReader(copy, path, std::move(lines), dependentGRates).Read();
    p = std::move(copy);
}

} // namespace quorrel
