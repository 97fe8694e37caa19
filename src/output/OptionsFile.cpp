#include "output/OptionsFile.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>
#include <variant>

namespace quorrel {

namespace {

using Field = std::variant<bool OptionStruct::*, int32_t OptionStruct::*, int8_t OptionStruct::*,
                           std::string OptionStruct::*, std::bitset<41> OptionStruct::*>;

struct Entry {
    const char* name;
    Field field;
};

// File order. The first 33 entries are always present; three groups follow that older
// files may lack.
const Entry FileOrder[] = {
    {"ShowCALandscape", &OptionStruct::ShowCALandscape},
    {"DisplayCycle", &OptionStruct::DisplayCycle},
    {"WriteLandscape", &OptionStruct::WriteLandscape},
    {"CAFilename", &OptionStruct::CAFilename},
    {"ShowCoverage", &OptionStruct::ShowCoverage},
    {"WriteCoverage", &OptionStruct::WriteCoverage},
    {"CoverFilename", &OptionStruct::CoverFilename},
    {"ShowGRate1", &OptionStruct::ShowGRate1},
    {"ShowGRate2", &OptionStruct::ShowGRate2},
    {"WriteGRate", &OptionStruct::WriteGRate},
    {"GRateFilename", &OptionStruct::GRateFilename},
    {"ShowSTPlot", &OptionStruct::ShowSTPlot},
    {"STPlotCycle", &OptionStruct::STPlotCycle},
    {"WriteSTP", &OptionStruct::WriteSTP},
    {"STPlotFilename", &OptionStruct::STPlotFilename},
    {"ShowFTPlot", &OptionStruct::ShowFTPlot},
    {"FTPSpecies", &OptionStruct::FTPSpecies},
    {"FTPlotCycle", &OptionStruct::FTPlotCycle},
    {"WriteFTP", &OptionStruct::WriteFTP},
    {"FTPlotFilename", &OptionStruct::FTPlotFilename},
    {"ShowOTC", &OptionStruct::ShowOTC},
    {"WriteOTC", &OptionStruct::WriteOTC},
    {"OTCFilename", &OptionStruct::OTCFilename},
    {"ShowGCGraph", &OptionStruct::ShowGCGraph},
    {"GCSpecies", &OptionStruct::GCSpecies},
    {"GCSpeciesA", &OptionStruct::GCSpeciesA},
    {"WriteGCGraph", &OptionStruct::WriteGCGraph},
    {"GCFilename", &OptionStruct::GCFilename},
    {"ShowFTPOTC", &OptionStruct::ShowFTPOTC},
    {"FTPOTCSpecies", &OptionStruct::FTPOTCSpecies},
    {"FTPOTCCycle", &OptionStruct::FTPOTCCycle},
    {"WriteFTPOTC", &OptionStruct::WriteFTPOTC},
    {"FTPOTCFilename", &OptionStruct::FTPOTCFilename},
    // Multiple landscape files.
    {"WriteIntScape", &OptionStruct::WriteIntScape},
    {"WriteIntEvery", &OptionStruct::WriteIntEvery},
    {"WriteIntFrom", &OptionStruct::WriteIntFrom},
    {"WriteIntUntil", &OptionStruct::WriteIntUntil},
    // Landscape file types and consolidation.
    {"WriteLandTypes", &OptionStruct::WriteLandTypes},
    {"WriteIntTypes", &OptionStruct::WriteIntTypes},
    {"WriteConsolid", &OptionStruct::WriteConsolid},
    // Sliding windows.
    {"WriteSW", &OptionStruct::WriteSW},
    {"GenSWEvery", &OptionStruct::GenSWEvery},
    {"GenSWFrom", &OptionStruct::GenSWFrom},
    {"GenSWUntil", &OptionStruct::GenSWUntil},
    {"DeltaSideSW", &OptionStruct::DeltaSideSW},
    {"SWFilename", &OptionStruct::SWFilename},
    {"SWSpeciesMask", &OptionStruct::SWSpeciesMask},
};

constexpr size_t RequiredFields = 33;
constexpr size_t OptionalGroups[] = {4, 3, 7};
constexpr size_t LabelWidth = 19;

std::string Label(const char* name)
{
    std::string label(name);
    label.resize(16, ' ');
    return label + ":= ";
}

// An unreadable number, reported like a failed read of the file.
struct ReadError {
    std::string text;
};

// Reads lines of a text file held in memory; CR LF and LF both end a line.
class LineReader {
public:
    explicit LineReader(std::string text) : text_(std::move(text)) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    std::optional<std::string> Next()
    {
        if (AtEnd())
            return std::nullopt;
        size_t end = text_.find('\n', pos_);
        std::string line = text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
        pos_ = end == std::string::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

private:
    std::string text_;
    size_t pos_ = 0;
};

// The number at the start of text after leading blanks; it ends at a blank or the line end.
int64_t ReadNumber(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        throw ReadError{"Invalid numeric format"};
    size_t end = text.find_first_of(" \t", begin);
    std::string token = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (!token.empty() && token[0] == '+')
        token.erase(0, 1);
    int64_t value = 0;
    auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || ec != std::errc() || ptr != token.data() + token.size())
        throw ReadError{"Invalid numeric format"};
    return value;
}

// Stores the value part of a field line; false when the value cannot be stored.
bool ReadField(OptionStruct& o, const Field& field, const std::string& value)
{
    return std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(o.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                o.*member = value;
            } else if constexpr (std::is_same_v<T, bool>) {
                o.*member = ReadNumber(value) == 1;
            } else if constexpr (std::is_same_v<T, int8_t>) {
                o.*member = static_cast<int8_t>(static_cast<uint8_t>(ReadNumber(value) & 0xFF));
            } else if constexpr (std::is_same_v<T, int32_t>) {
                const int64_t n = ReadNumber(value);
                if (n < INT32_MIN || n > INT32_MAX)
                    return false;
                o.*member = static_cast<int32_t>(n);
            } else {
                // The set is kept as a 64-bit number; elements above 40 are dropped.
                o.*member = T(static_cast<uint64_t>(ReadNumber(value)) & ((uint64_t{1} << 41) - 1));
            }
            return true;
        },
        field);
}

std::string WriteField(const OptionStruct& o, const Field& field)
{
    return std::visit(
        [&](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(o.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                return o.*member;
            else if constexpr (std::is_same_v<T, bool>)
                return o.*member ? "1" : "0";
            else if constexpr (std::is_same_v<T, std::bitset<41>>)
                return std::to_string((o.*member).to_ullong());
            else
                return std::to_string(static_cast<int>(o.*member));
        },
        field);
}

// Values that later code uses as table indices, moduli or sizes must be in range.
bool ValuesUsable(const OptionStruct& o)
{
    auto species = [](int8_t s) { return s >= 1 && s <= 40; };
    const int32_t cycles[] = {o.DisplayCycle, o.STPlotCycle,   o.FTPlotCycle,
                              o.FTPOTCCycle,  o.WriteIntEvery, o.GenSWEvery};
    for (int32_t c : cycles)
        if (c < 1)
            return false;
    return species(o.FTPSpecies) && species(o.FTPOTCSpecies) && species(o.GCSpecies) && o.GCSpeciesA >= 0 &&
           o.GCSpeciesA <= 40 && o.DeltaSideSW >= 1 && o.DeltaSideSW <= 700;
}

// Reads the fields in file order; false when the file does not hold them exactly.
bool ReadFields(OptionStruct& o, LineReader& in)
{
    auto readOne = [&](const Entry& e) {
        std::optional<std::string> line = in.Next();
        if (!line || line->size() < LabelWidth)
            return false;
        return ReadField(o, e.field, line->substr(LabelWidth));
    };
    if (!in.Next() || !in.Next())
        return false;
    size_t index = 0;
    for (; index < RequiredFields; ++index)
        if (!readOne(FileOrder[index]))
            return false;
    for (size_t groupSize : OptionalGroups) {
        if (in.AtEnd())
            break;
        for (size_t end = index + groupSize; index < end; ++index)
            if (!readOne(FileOrder[index]))
                return false;
    }
    return in.AtEnd() && ValuesUsable(o);
}

std::string SystemErrorText(int error)
{
    return error != 0 ? std::generic_category().message(error) : std::string("(unknown failure)");
}

} // namespace

std::string OptionsFilePath(const std::filesystem::path& startDir)
{
    return (startDir / "Options.dat").string();
}

bool ReadOptionsFile(OptionStruct& options, const std::filesystem::path& startDir, Dialogs& dialogs)
{
    return ReadOptionsFileAt(options, OptionsFilePath(startDir), startDir, dialogs);
}

bool ReadOptionsFileAt(OptionStruct& options, const std::filesystem::path& file, const std::filesystem::path& startDir,
                       Dialogs& dialogs)
{
    const std::string path = file.string();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        options = SetDefaultOptions(startDir);
        return false;
    }
    OptionStruct read = SetDefaultOptions(startDir);
    bool good = false;
    try {
        errno = 0;
        std::ifstream file(path, std::ios::binary);
        if (!file)
            throw ReadError{SystemErrorText(errno)};
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (file.bad())
            throw ReadError{SystemErrorText(errno)};
        LineReader in(std::move(text));
        good = ReadFields(read, in);
        if (!good)
            dialogs.Message(MessageKind::Warning,
                            "Bad values in the options file:\r" + path + "\rUsing the program defaults instead",
                            MessageButtons::Ok);
    } catch (const ReadError& e) {
        dialogs.Message(MessageKind::Warning,
                        "Unable to read the options file:\r" + path + "\r" + e.text +
                            "\rUsing the program defaults instead",
                        MessageButtons::Ok);
    }
    options = good ? read : SetDefaultOptions(startDir);
    return good;
}

bool WriteOptionsFile(const OptionStruct& options, const std::filesystem::path& startDir, Dialogs& dialogs)
{
    const std::string path = OptionsFilePath(startDir);
    std::ostringstream text;
    text << path << "\r\n \r\n";
    for (const Entry& e : FileOrder)
        text << Label(e.name) << WriteField(options, e.field) << "\r\n";

    const std::string temporary = path + ".tmp";
    errno = 0;
    int error = 0;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (file) {
            const std::string s = text.str();
            file.write(s.data(), static_cast<std::streamsize>(s.size()));
            file.close();
        }
        if (!file)
            error = errno != 0 ? errno : EIO;
    }
    if (error == 0) {
        std::error_code ec;
        std::filesystem::rename(temporary, path, ec);
        error = ec.value();
    }
    if (error != 0) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        dialogs.Message(MessageKind::Error,
                        "Unable to write to the options file:\r" + path + "\r" + SystemErrorText(error),
                        MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace quorrel
