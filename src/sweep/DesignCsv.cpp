#include "sweep/DesignCsv.h"

#include "sweep/PlanError.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace quorrel {

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> Fields(const std::string& line, const std::filesystem::path& file, int number)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && Trimmed(field).empty()) {
            quoted = wasQuoted = true;
            field.clear();
        } else if (c == ',') {
            fields.push_back(wasQuoted ? field : Trimmed(field));
            field.clear();
            wasQuoted = false;
        } else if (!wasQuoted) {
            field += c;
        } else if (c != ' ' && c != '\t') {
            throw PlanError(file, number, "", "text after a quoted field");
        }
    }
    if (quoted)
        throw PlanError(file, number, "", "a quoted field is not closed");
    fields.push_back(wasQuoted ? field : Trimmed(field));
    return fields;
}

} // namespace

DesignCsv ReadDesignCsv(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw PlanError(file, 0, "", std::string("cannot be read: ") + std::strerror(errno));
    DesignCsv csv;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (Trimmed(line).empty())
            continue;
        std::vector<std::string> fields = Fields(line, file, number);
        if (csv.Keys.empty()) {
            for (const std::string& key : fields)
                if (key.empty())
                    throw PlanError(file, number, "", "the header has an empty column name");
            csv.Keys = std::move(fields);
            continue;
        }
        if (fields.size() != csv.Keys.size())
            throw PlanError(file, number, "",
                            "the row has " + std::to_string(fields.size()) + " values, the header " +
                                std::to_string(csv.Keys.size()) + " keys");
        for (size_t k = 0; k < fields.size(); ++k)
            if (fields[k].empty())
                throw PlanError(file, number, csv.Keys[k], "the value is empty");
        csv.Rows.push_back({std::move(fields), number});
    }
    if (in.bad())
        throw PlanError(file, 0, "", "cannot be read");
    if (csv.Keys.empty())
        throw PlanError(file, 0, "", "holds no header of keys");
    if (csv.Rows.empty())
        throw PlanError(file, 0, "", "holds no design point");
    return csv;
}

std::string CsvField(const std::string& text)
{
    const bool plain = text.find_first_of(",\"\r\n") == std::string::npos &&
                       (text.empty() || (text.front() != ' ' && text.back() != ' '));
    if (plain)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace quorrel
