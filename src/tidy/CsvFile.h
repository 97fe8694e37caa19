#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// A tidy CSV file written under a temporary name beside its target and renamed over it by
// Commit, so that a reader never sees half a file; dropped unless committed. Fields that hold
// a comma, a quote or a line end are quoted (quotes doubled); lines end in LF; an empty field
// is a missing value.
class CsvFile {
public:
    CsvFile(std::filesystem::path target, const std::vector<std::string>& header);
    ~CsvFile();
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    // One row: the fields of prefix (already encoded by Encode, ending in a comma or empty),
    // then fields.
    void Row(const std::string& prefix, std::initializer_list<std::string_view> fields);
    void Commit();

    // Fields encoded as a row prefix: each field and a comma after it.
    static std::string Encode(const std::vector<std::string>& fields);

private:
    void Check();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream out_;
    std::string line_;
    bool committed_ = false;
};

} // namespace quorrel
