#include "tidy/RunRecord.h"

#include "tidy/TidyError.h"

#include <nlohmann/json.hpp>

namespace quorrel {

namespace {

using Json = nlohmann::ordered_json;

const Json& Field(const Json& record, const char* key, const std::string& name)
{
    const auto it = record.find(key);
    if (it == record.end())
        throw TidyError(name + ": the field \"" + key + "\" is missing");
    return *it;
}

long long Integer(const Json& record, const char* key, const std::string& name, long long low)
{
    const Json& value = Field(record, key, name);
    // Above the largest signed integer the library holds the number unsigned; taken as signed it
    // would wrap round to a negative one.
    if (value.is_number_unsigned() && value.get<unsigned long long>() > 9223372036854775807ULL)
        throw TidyError(name + ": \"" + key + "\" is too large: " + value.dump());
    if (!value.is_number_integer() || value.get<long long>() < low)
        throw TidyError(name + ": \"" + key + "\" is not an integer of at least " + std::to_string(low) + ": " +
                        value.dump());
    return value.get<long long>();
}

std::string Text(const Json& record, const char* key, const std::string& name)
{
    const Json& value = Field(record, key, name);
    if (!value.is_string())
        throw TidyError(name + ": \"" + key + "\" is not a string: " + value.dump());
    return value.get<std::string>();
}

} // namespace

TidyRunRecord ReadRunRecord(std::string_view text, const std::string& name)
{
    Json record;
    try {
        record = Json::parse(text);
    } catch (const Json::parse_error& error) {
        // The library's message names the line and column ("... at line 3, column 7: ...").
        std::string what = error.what();
        const size_t at = what.find("at line ");
        throw TidyError(name + " " + (at != std::string::npos ? what.substr(at + 3) : what));
    } catch (const Json::exception& error) {
        // A number too large for any JSON number type, and the like; without the library's
        // "[json.exception.…] " tag.
        std::string what = error.what();
        if (const size_t tag = what.find("] "); what.starts_with("[") && tag != std::string::npos)
            what.erase(0, tag + 2);
        throw TidyError(name + ": not a run record (" + what + ")");
    }
    if (!record.is_object())
        throw TidyError(name + ": not a run record (the JSON text is not an object)");
    if (Text(record, "format", name) != "quorrel-run 1")
        throw TidyError(name + ": not a run record of the format \"quorrel-run 1\"");

    TidyRunRecord r;
    r.run = static_cast<int>(std::min(Integer(record, "run", name, 1), 2147483647LL));
    r.replicate = static_cast<int>(std::min(Integer(record, "replicate", name, 1), 2147483647LL));
    r.seed = Integer(record, "seed", name, -9223372036854775807LL);
    r.mode = Text(record, "mode", name);
    const Json& varied = Field(record, "varied", name);
    if (!varied.is_object())
        throw TidyError(name + ": \"varied\" is not an object: " + varied.dump());
    for (const auto& [key, value] : varied.items()) {
        if (value.is_string())
            r.varied.emplace_back(key, value.get<std::string>());
        else if (value.is_number() || value.is_boolean())
            r.varied.emplace_back(key, value.dump());
        else
            throw TidyError(name + ": the varied value of \"" + key + "\" is not text: " + value.dump());
    }
    r.status = Text(record, "status", name);
    if (r.status != "done" && r.status != "failed")
        throw TidyError(name + ": \"status\" is neither \"done\" nor \"failed\": \"" + r.status + "\"");
    r.exitStatus = Integer(record, "exit_status", name, 0);
    const Json& seconds = Field(record, "seconds", name);
    if (!seconds.is_number() || seconds.get<double>() < 0)
        throw TidyError(name + ": \"seconds\" is not a number of seconds: " + seconds.dump());
    r.seconds = seconds.dump();
    return r;
}

} // namespace quorrel
