#include "sweep/RunRecord.h"

#include "sweep/FileDigest.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <fstream>

namespace quorrel {

namespace fs = std::filesystem;

std::string RunRecordJson(const RunRecord& r)
{
    nlohmann::ordered_json j;
    j["format"] = RunRecordFormat;
    j["program"] = "quorrel-batch";
    j["version"] = r.Version;
    j["commit"] = r.Commit;
    j["command"] = r.Command;
    j["plan"] = r.Plan;
    j["plan_sha256"] = r.PlanSha256;
    j["run"] = r.Run;
    j["replicate"] = r.Replicate;
    j["seed"] = r.Seed;
    j["mode"] = r.Mode;
    nlohmann::ordered_json varied = nlohmann::ordered_json::object();
    for (const auto& [key, value] : r.Varied)
        varied[key] = value;
    j["varied"] = varied;
    j["parameters"] = r.Parameters;
    j["options"] = r.Options;
    j["host"] = r.Host;
    j["start"] = r.Start;
    j["end"] = r.End;
    j["seconds"] = std::round(r.Seconds * 1000.0) / 1000.0;
    j["status"] = r.Status;
    j["exit_status"] = r.ExitStatus;
    j["messages"] = r.Messages;
    nlohmann::ordered_json outputs = nlohmann::ordered_json::array();
    for (const RunOutputFile& f : r.Outputs)
        outputs.push_back({{"file", f.File}, {"bytes", f.Bytes}, {"sha256", f.Sha256}});
    j["outputs"] = outputs;
    // One field a line, each value on its line in the compact form, so that the tables of
    // 40 species stay readable.
    std::string text = "{\n";
    for (auto it = j.begin(); it != j.end(); ++it) {
        text += "  " + nlohmann::ordered_json(it.key()).dump() + ": " +
                it.value().dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        text += std::next(it) == j.end() ? "\n" : ",\n";
    }
    return text + "}\n";
}

std::vector<RunOutputFile> FolderOutputs(const fs::path& folder)
{
    std::vector<RunOutputFile> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string name = it->path().lexically_relative(folder).generic_string();
        if (name == RunRecordName)
            continue;
        files.push_back({name, it->file_size(ec), FileSha256(it->path()).value_or("")});
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.File < b.File; });
    return files;
}

std::optional<RecordedRun> ReadRunRecord(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    try {
        const nlohmann::ordered_json j = nlohmann::ordered_json::parse(in);
        if (j.at("format") != RunRecordFormat)
            return std::nullopt;
        RecordedRun r;
        r.Run = j.at("run").get<long>();
        r.Replicate = j.at("replicate").get<int>();
        r.Seed = j.at("seed").get<int>();
        r.Status = j.at("status").get<std::string>();
        r.ExitStatus = j.at("exit_status").get<int>();
        r.Seconds = j.at("seconds").get<double>();
        for (const auto& [key, value] : j.at("varied").items())
            r.Varied.emplace_back(key, value.get<std::string>());
        for (const auto& f : j.at("outputs"))
            r.Outputs.push_back(
                {f.at("file").get<std::string>(), f.at("bytes").get<uintmax_t>(), f.at("sha256").get<std::string>()});
        return r;
    } catch (const nlohmann::ordered_json::exception&) {
        return std::nullopt;
    }
}

std::string UtcTimeText(std::chrono::system_clock::time_point time)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

} // namespace quorrel
