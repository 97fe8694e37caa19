#include "ParameterFile.h"

#include "TextCursor.h"
#include "params/ParameterRules.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
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
        if (keyLines_.empty())
            throw ParameterFileError("Parameter file " + path_ +
                                     " holds none of the parameter keys (Maxspec, MaxX, ..., Recruitment Vector): "
                                     "it is not a parameter file");
        CheckGeneralParameters();
    }

private:
    void ReadStep()
    {
        if (PrefixHas("Maxspec")) {
            g_.Maxspec = ReadIntScalar("Maxspec");
            CheckRange("Maxspec", g_.Maxspec, rules::SpeciesCount(g_.Maxspec), "2..40");
        }
        if (PrefixHas("MaxX")) {
            g_.MaxX = ReadIntScalar("MaxX");
            CheckRange("MaxX", g_.MaxX, rules::LandscapeSide(g_.MaxX), "10..700");
        }
        if (PrefixHas("MaxY")) {
            g_.MaxY = ReadIntScalar("MaxY");
            CheckRange("MaxY", g_.MaxY, rules::LandscapeSide(g_.MaxY), "10..700");
        }
        if (PrefixHas("PIX"))
            g_.PIX = ReadIntScalar("PIX");
        if (PrefixHas("Maxgen"))
            g_.Maxgen = ReadIntScalar("Maxgen");
        if (PrefixHas("RandSeed"))
            g_.RandSeed = ReadIntScalar("RandSeed");
        if (PrefixHas("Init"))
            g_.Init = ReadIntScalar("Init");
        if (PrefixHas("Cover  ")) // two blanks: not the CoverFile or TotalCover line
            g_.Cover = ReadIntScalar("Cover");
        if (PrefixHas("CoverFile"))
            g_.CoverFile = ReadTextScalar("CoverFile");
        if (PrefixHas("Border"))
            g_.Border = ReadIntScalar("Border");
        if (PrefixHas("TotalCover"))
            g_.TotalCover = ReadFloatScalar("TotalCover");
        if (PrefixHas("OverGRate"))
            g_.OverGRate = ReadIntScalar("OverGRate");
        if (PrefixHas("DisturbProb"))
            g_.DisturbProb = ReadFloatScalar("DisturbProb");
        if (PrefixHas("PatchSize"))
            g_.PatchSize = ReadIntScalar("PatchSize");
        if (PrefixHas("PatchType"))
            g_.PatchType = ReadIntScalar("PatchType");
        if (PrefixHas("Influx"))
            g_.Influx = ReadFloatScalar("Influx");
        if (PrefixHas("RecruitType"))
            g_.RecruitType = ReadIntScalar("RecruitType");
        if (PrefixHas("MutationGR"))
            g_.MutationGR = ReadFloatScalar("MutationGR");
        if (PrefixHas("MutAmtGR"))
            g_.MutAmtGR = ReadIntScalar("MutAmtGR");
        if (PrefixHas("MutationOTC"))
            g_.MutationOTC = ReadFloatScalar("MutationOTC");
        if (PrefixHas("MutAmtOTC"))
            g_.MutAmtOTC = ReadIntScalar("MutAmtOTC");
        if (PrefixHas("MeanField"))
            g_.MeanField = ReadIntScalar("MeanField") != 0; // any non-zero value means on
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

    void CheckRange(const char* name, int32_t value, bool allowed, const char* range) const
    {
        if (!allowed)
            Fail(lastLine_, std::string(name) + " " + std::to_string(value) + " is outside " + range);
    }

    // A table entry that the editors would refuse.
    void CheckEntry(bool allowed, int lineNumber, const std::string& what) const
    {
        if (!allowed)
            Fail(lineNumber, what);
    }

    // Notes that the file holds a key or section, and on which line.
    void Recognised(const char* key, int lineNumber) { keyLines_.emplace(key, lineNumber); }

    std::string NextToken(bool splitAtMinus = false)
    {
        std::optional<TextCursor::Token> token = cursor_.NextToken(splitAtMinus);
        if (!token)
            Fail(std::max(cursor_.LineCount(), 1), "the file ends where a number is expected");
        lastLine_ = token->lineNumber;
        lastToken_ = token->text;
        return std::move(token->text);
    }

    int32_t ReadInteger(bool splitAtMinus = false)
    {
        const std::string text = NextToken(splitAtMinus);
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

    // A table entry, written in a column of four: a negative one of three digits fills it and
    // touches the entry before it.
    int8_t ReadSmall()
    {
        const int32_t value = ReadInteger(true);
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
        // A zero (also one that a tiny negative number rounds to) is stored as +0: the writer
        // puts a negative value's sign where the blank before the number stands, so a -0
        // would not read back.
        float stored = static_cast<float>(value);
        if (stored == 0.0f)
            stored = 0.0f;
        if (!std::isfinite(stored))
            Fail(lastLine_, Quoted(text) + " is too large");
        return stored;
    }

    // Scalar lines: the label up to "=" is skipped, the value read as written, the rest of
    // the line dropped. The values are checked once the whole file is read.
    int32_t ReadIntScalar(const char* key)
    {
        cursor_.SkipColumns(ScalarLabelLength);
        const int32_t value = ReadInteger();
        Recognised(key, lastLine_);
        cursor_.NextLine();
        return value;
    }

    float ReadFloatScalar(const char* key)
    {
        cursor_.SkipColumns(ScalarLabelLength);
        const float value = ReadFloat();
        Recognised(key, lastLine_);
        cursor_.NextLine();
        return value;
    }

    std::string ReadTextScalar(const char* key)
    {
        Recognised(key, cursor_.LineNumber());
        cursor_.SkipColumns(ScalarLabelLength);
        std::string value = Trimmed(cursor_.RestOfLine());
        cursor_.NextLine();
        return value;
    }

    void ReadOutcomeSection()
    {
        Recognised("Outcome Matrix", cursor_.LineNumber());
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
            for (int j = i + 1; j <= n; ++j) {
                const OutcomeTriple& t = p_.OutcomeMatrix[i][j];
                CheckEntry(rules::Outcome(t), lastLine_,
                           "the outcome of species " + std::to_string(i) + " against " + std::to_string(j) + ", " +
                               std::to_string(t.Win) + "/" + std::to_string(t.Loss) + "/" +
                               std::to_string(t.Standoff) + ", does not add up to 100 with no negative part");
            }
        }
    }

    void ReadGrowthRateSection()
    {
        Recognised("Growth Rates", cursor_.LineNumber());
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
        CheckGrowthRate(i, lastLine_);
        cursor_.NextLine();
    }

    void CheckGrowthRate(int i, int lineNumber) const
    {
        const GrowthRate& r = p_.GrowthRates[i];
        CheckEntry(rules::GrowthRateEntry(r), lineNumber,
                   "the growth rate of species " + std::to_string(i) + ", " +
                       (r.Rate == -1 ? "range " + std::to_string(r.Low) + ".." + std::to_string(r.High)
                                     : std::to_string(r.Rate)) +
                       ", is not a percentage 0..100 (a range from low to high)");
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
        CheckGrowthRate(i, lineNumber);
        const int n = Species();
        int j = 1;
        for (size_t k = 4; k < numbers.size() && j <= n; ++k, ++j) {
            CheckEntry(rules::WholePercent(numbers[k]), lineNumber,
                       "the growth rate of species " + std::to_string(i) + " against " + std::to_string(j) + ", " +
                           std::to_string(numbers[k]) + ", is outside 0..100");
            p_.RateAgainst[i][j] = static_cast<float>(static_cast<double>(numbers[k]) * 0.01);
        }
        const int ownRate = r.Rate >= 0 ? r.Rate : r.Low;
        for (; j <= n; ++j)
            p_.RateAgainst[i][j] = static_cast<float>(ownRate * 0.01);
    }

    void ReadMortalitySection()
    {
        Recognised("Mortality Vector", cursor_.LineNumber());
        cursor_.NextLine(); // title
        for (int i = 1; i <= Species(); ++i) {
            ReadInteger(); // species number
            p_.MortalityVector[i] = ReadProbability("mortality", i);
            cursor_.NextLine();
        }
        const int32_t size = ReadIntScalar("Mortal-Size");
        CheckEntry(rules::MortalSize(size), lastLine_,
                   "Mortal-Size " + std::to_string(size) + " is outside 0.." +
                       std::to_string(MaxLandscapeSide * MaxLandscapeSide));
        p_.MortalityVector[0] = static_cast<float>(size);
    }

    float ReadProbability(const char* what, int i)
    {
        const float value = ReadFloat();
        CheckEntry(rules::Probability(value), lastLine_,
                   std::string("the ") + what + " probability of species " + std::to_string(i) + ", " +
                       Quoted(lastToken_) + ", is outside 0..1");
        return value;
    }

    void ReadVariableOutcomeSection()
    {
        Recognised("Variable Outcome Vector", cursor_.LineNumber());
        cursor_.NextLine(); // title
        for (int i = 1; i <= Species(); ++i) {
            VariableOutcomeRange& v = p_.VariableOutcomeVector[i];
            ReadInteger(); // species number
            v.WinLow = ReadSmall();
            v.WinHigh = ReadSmall();
            v.LossLow = ReadSmall();
            v.LossHigh = ReadSmall();
            CheckEntry(rules::OutcomeRange(v.WinLow, v.WinHigh) && rules::OutcomeRange(v.LossLow, v.LossHigh),
                       lastLine_,
                       "the variable-outcome ranges of species " + std::to_string(i) + ", win " +
                           std::to_string(v.WinLow) + ".." + std::to_string(v.WinHigh) + " and loss " +
                           std::to_string(v.LossLow) + ".." + std::to_string(v.LossHigh) +
                           ", do not each run from low to high within 0..100");
            cursor_.NextLine();
        }
    }

    void ReadRecruitmentSection()
    {
        Recognised("Recruitment Vector", cursor_.LineNumber());
        cursor_.NextLine(); // title
        for (int i = 1; i <= Species(); ++i) {
            ReadInteger(); // species number
            p_.RecruitmentVector[i] = ReadProbability("recruitment", i);
            cursor_.NextLine();
        }
    }

    // The general parameters as the dialog checks them, on the record the file leaves: a key
    // the file omits keeps its value, and some rules join several keys.
    void CheckGeneralParameters() const
    {
        const std::optional<ParameterFault> fault = FirstGeneralParameterFault(g_);
        if (!fault)
            return;
        // CoverFile is cleared before every read; a file that does not choose the cover type
        // is not blamed for the cover file the type in force needs.
        if (fault->Key == std::string_view("CoverFile") && !keyLines_.contains("Cover"))
            return;
        const auto line = keyLines_.find(fault->Key);
        if (line != keyLines_.end())
            Fail(line->second, fault->What);
        throw ParameterFileError("Parameter file " + path_ + ": " + fault->What + " (the file does not set " +
                                 fault->Key + ")");
    }

    ParameterSet& p_;
    GParamStruct& g_;
    std::string path_;
    TextCursor cursor_;
    bool dependentGRates_;
    int lastLine_ = 0;                   // line of the last number read
    std::string lastToken_;              // the last number read, as written
    std::map<std::string, int> keyLines_; // the keys and sections read, with their lines
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
