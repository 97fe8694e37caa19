#include "tidy/CsvFile.h"

#include "tidy/TidyError.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace quorrel {

namespace {

void Append(std::string& line, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += field;
        return;
    }
    line += '"';
    for (char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

} // namespace

CsvFile::CsvFile(std::filesystem::path target, const std::vector<std::string>& header)
    : target_(std::move(target)),
      temporary_(target_.parent_path() / ("." + target_.filename().string() + ".tmp-" + std::to_string(getpid())))
{
    errno = 0;
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    Check();
    std::string line;
    for (const std::string& name : header) {
        if (!line.empty())
            line += ',';
        Append(line, name);
    }
    out_ << line << '\n';
    Check();
}

CsvFile::~CsvFile()
{
    if (committed_)
        return;
    out_.close();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

void CsvFile::Check()
{
    if (!out_)
        throw TidyWriteError(target_.string() + ": cannot be written: " +
                             std::generic_category().message(errno ? errno : EIO));
}

std::string CsvFile::Encode(const std::vector<std::string>& fields)
{
    std::string prefix;
    for (const std::string& field : fields) {
        Append(prefix, field);
        prefix += ',';
    }
    return prefix;
}

void CsvFile::Row(const std::string& prefix, std::initializer_list<std::string_view> fields)
{
    line_ = prefix;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            line_ += ',';
        first = false;
        Append(line_, field);
    }
    line_ += '\n';
    out_ << line_;
    if (!out_)
        Check();
}

void CsvFile::Commit()
{
    errno = 0;
    out_.close();
    Check();
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error)
        throw TidyWriteError(target_.string() + ": cannot be replaced: " + error.message());
    committed_ = true;
}

} // namespace quorrel
