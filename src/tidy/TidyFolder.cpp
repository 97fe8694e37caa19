#include "tidy/TidyFolder.h"

#include "tidy/CsvFile.h"
#include "tidy/MonteCarloResult.h"
#include "tidy/OutcomeFile.h"
#include "tidy/ParameterListing.h"
#include "tidy/RunRecord.h"
#include "tidy/StatisticsFile.h"
#include "tidy/TextLines.h"
#include "tidy/TidyError.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

namespace quorrel {

namespace {

namespace fs = std::filesystem;

struct Run {
    TidyRunRecord record;
    fs::path folder;
    std::string folderName;
};

// "run-" and at least five digits: the run number, or 0 for any other name.
int RunNumberOf(const std::string& name)
{
    if (!name.starts_with("run-") || name.size() < 9)
        return 0;
    long long number = 0;
    for (size_t i = 4; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 100000000)
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return static_cast<int>(number);
}

std::string ReadText(const fs::path& file, const std::string& name)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw TidyError(name + ": cannot be read");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first bytes of a file: enough to tell a data file by its parameter listing.
std::string Head(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return head;
}

// The data files of one run that tidy reads, each kind at most once.
struct RunFiles {
    std::optional<StatisticsFile> coverage, growthNormal, growthGenotype;
    std::optional<StatisticsFile> landscapeCoverage, landscapeNormal, landscapeGenotype;
    std::optional<OutcomeFile> outcomeNormal, outcomeGenotype, landscapeOutcomeNormal, landscapeOutcomeGenotype;
    std::optional<MonteCarloResult> monteCarlo;
    std::map<const void*, std::string> names; // file name of each slot filled, for messages
};

template <typename T>
void Keep(RunFiles& files, std::optional<T>& slot, T&& file, const std::string& name, const char* kind)
{
    if (slot)
        throw TidyError(name + ": a second " + kind + " in the run folder (the first is " + files.names[&slot] + ")");
    slot = std::forward<T>(file);
    files.names[&slot] = name;
}

// Reads the data file if it is one tidy reads; files of other kinds are left alone.
void ReadDataFile(const fs::path& file, const std::string& name, RunFiles& files)
{
    if (!StartsWithParameterListing(Head(file)))
        return; // landscape texts, bitmaps, anything that is not a data file
    TextLines lines = TextLines::FromFile(file, name);
    const ParameterListing listing = ReadParameterListing(lines);
    if (IsStatisticsHeading(lines)) {
        StatisticsFile s = ReadStatisticsFile(lines, listing);
        using Kind = StatisticsFile::Kind;
        auto& slot = s.kind == Kind::Coverage     ? (s.perLandscape ? files.landscapeCoverage : files.coverage)
                     : s.kind == Kind::GrowthNormal ? (s.perLandscape ? files.landscapeNormal : files.growthNormal)
                                                    : (s.perLandscape ? files.landscapeGenotype : files.growthGenotype);
        Keep(files, slot, std::move(s), name, s.kind == Kind::Coverage ? "coverage file" : "growth-rate file");
    } else if (IsOutcomeHeading(lines)) {
        OutcomeFile o = ReadOutcomeFile(lines, listing);
        auto& slot = o.genotype ? (o.perLandscape ? files.landscapeOutcomeGenotype : files.outcomeGenotype)
                                : (o.perLandscape ? files.landscapeOutcomeNormal : files.outcomeNormal);
        Keep(files, slot, std::move(o), name, "outcome statistics file");
    } else if (IsMonteCarloHeading(lines)) {
        Keep(files, files.monteCarlo, ReadMonteCarloResult(lines, listing), name, "Monte Carlo result file");
    } else if (lines.AtEnd()) {
        // A parameter file: nothing to tidy.
    } else if ((lines.AheadIs(0, " ") && lines.AheadIs(1, "===>") && lines.AheadIs(2, " ") &&
                lines.AheadIs(3, "    Growth Rate -- Competitive ")) ||
               (lines.AheadIs(0, "") && lines.AheadIs(1, "==>") && lines.AheadIs(2, ""))) {
        // The growth rate-competitive data and the arrays' initial tables: not tidied.
    } else {
        lines.Fail("not a data file that tidy knows: " + TextLines::Quoted(lines.Peek("a heading")) +
                   " after the parameter listing");
    }
}

// The output tables and the prefix of each run's rows.
class TidyTables {
public:
    TidyTables(const fs::path& dir, const std::vector<std::string>& keys)
    {
        std::vector<std::string> prefix = {"run", "replicate", "seed"};
        prefix.insert(prefix.end(), keys.begin(), keys.end());
        const auto with = [&prefix](std::initializer_list<const char*> more) {
            std::vector<std::string> header = prefix;
            header.insert(header.end(), more.begin(), more.end());
            return header;
        };
        runs = std::make_unique<CsvFile>(dir / "runs.csv", with({"status", "exit_status", "seconds", "folder"}));
        coverage = std::make_unique<CsvFile>(dir / "coverage.csv", with({"generation", "species", "cover", "species_left"}));
        growth = std::make_unique<CsvFile>(dir / "growth_rates.csv", with({"generation", "species", "kind", "mean"}));
        outcomes = std::make_unique<CsvFile>(
            dir / "outcomes.csv", with({"generation", "species", "opponent", "win", "loss", "standoff", "kind"}));
        landscapes = std::make_unique<CsvFile>(
            dir / "landscapes.csv",
            with({"generation", "row", "column", "species", "cover", "species_left", "growth_rate_normal",
                  "growth_rate_genotype", "win_normal", "loss_normal", "standoff_normal", "win_genotype",
                  "loss_genotype", "standoff_genotype"}));
        montecarlo = std::make_unique<CsvFile>(
            dir / "montecarlo.csv",
            with({"series_run", "species", "end_cover", "extinction_order", "extinction_time"}));
    }

    void Commit()
    {
        for (CsvFile* file : {runs.get(), coverage.get(), growth.get(), outcomes.get(), landscapes.get(),
                              montecarlo.get()})
            file->Commit();
    }

    std::unique_ptr<CsvFile> runs, coverage, growth, outcomes, landscapes, montecarlo;
};

void WriteStatistics(TidyTables& t, const std::string& prefix, const RunFiles& f)
{
    if (f.coverage)
        for (const auto& line : f.coverage->lines)
            for (size_t s = 0; s < line.values.size(); ++s)
                t.coverage->Row(prefix, {std::to_string(line.generation), std::to_string(s + 1), line.values[s],
                                         line.speciesLeft});
    for (const auto* file : {&f.growthNormal, &f.growthGenotype}) {
        if (!*file)
            continue;
        const char* kind = file == &f.growthNormal ? "normal" : "genotype";
        for (const auto& line : (*file)->lines)
            for (size_t s = 0; s < line.values.size(); ++s)
                t.growth->Row(prefix, {std::to_string(line.generation), std::to_string(s + 1), kind, line.values[s]});
    }
    for (const auto* file : {&f.outcomeNormal, &f.outcomeGenotype}) {
        if (!*file)
            continue;
        const char* kind = file == &f.outcomeNormal ? "normal" : "genotype";
        for (const auto& line : (*file)->lines)
            for (size_t s = 0; 3 * s + 2 < line.values.size(); ++s)
                t.outcomes->Row(prefix, {std::to_string(line.generation), std::to_string(s + 1), "",
                                         line.values[3 * s], line.values[3 * s + 1], line.values[3 * s + 2], kind});
        for (const auto& pair : (*file)->pairs)
            t.outcomes->Row(prefix, {std::to_string(pair.generation), std::to_string(pair.species),
                                     std::to_string(pair.opponent), pair.win, pair.loss, pair.standoff, kind});
    }
}

// The per-landscape files of an array, joined line by line: all of them hold the same
// generations and landscapes in the same order.
void WriteLandscapes(TidyTables& t, const std::string& prefix, const RunFiles& f)
{
    struct Source {
        const std::string* name = nullptr;
        size_t lines = 0;
        int species = 0;
        std::vector<std::tuple<int, int, int>> keys;
    };
    std::vector<Source> sources;
    const auto addStatistics = [&](const std::optional<StatisticsFile>& s) {
        if (!s)
            return;
        Source source{&f.names.at(&s), s->lines.size(), s->listing.Maxspec, {}};
        for (const auto& line : s->lines)
            source.keys.emplace_back(line.generation, line.row, line.column);
        sources.push_back(std::move(source));
    };
    const auto addOutcome = [&](const std::optional<OutcomeFile>& o) {
        if (!o)
            return;
        Source source{&f.names.at(&o), o->lines.size(), o->listing.Maxspec, {}};
        for (const auto& line : o->lines)
            source.keys.emplace_back(line.generation, line.row, line.column);
        sources.push_back(std::move(source));
    };
    addStatistics(f.landscapeCoverage);
    addStatistics(f.landscapeNormal);
    addStatistics(f.landscapeGenotype);
    addOutcome(f.landscapeOutcomeNormal);
    addOutcome(f.landscapeOutcomeGenotype);
    if (sources.empty())
        return;
    for (const Source& s : sources)
        if (s.keys != sources.front().keys || s.species != sources.front().species)
            throw TidyError(*s.name + ": its lines do not match those of " + *sources.front().name +
                            " (the same generations, landscapes and species, in the same order)");

    const std::string empty;
    const auto value = [&empty](const auto& file, size_t line, size_t index) -> const std::string& {
        return file ? file->lines[line].values[index] : empty;
    };
    const size_t species = static_cast<size_t>(sources.front().species);
    for (size_t i = 0; i < sources.front().lines; ++i) {
        const auto& [g, row, column] = sources.front().keys[i];
        const std::string gText = std::to_string(g), rowText = std::to_string(row), colText = std::to_string(column);
        const std::string& left = f.landscapeCoverage ? f.landscapeCoverage->lines[i].speciesLeft : empty;
        for (size_t s = 0; s < species; ++s)
            t.landscapes->Row(prefix, {gText, rowText, colText, std::to_string(s + 1), value(f.landscapeCoverage, i, s),
                                       left, value(f.landscapeNormal, i, s), value(f.landscapeGenotype, i, s),
                                       value(f.landscapeOutcomeNormal, i, 3 * s),
                                       value(f.landscapeOutcomeNormal, i, 3 * s + 1),
                                       value(f.landscapeOutcomeNormal, i, 3 * s + 2),
                                       value(f.landscapeOutcomeGenotype, i, 3 * s),
                                       value(f.landscapeOutcomeGenotype, i, 3 * s + 1),
                                       value(f.landscapeOutcomeGenotype, i, 3 * s + 2)});
    }
}

void WriteMonteCarlo(TidyTables& t, const std::string& prefix, const RunFiles& f)
{
    if (!f.monteCarlo)
        return;
    for (const MonteCarloResult::Run& run : f.monteCarlo->runs)
        for (size_t s = 0; s < run.endCover.size(); ++s) {
            std::string order, time;
            for (size_t slot = 0; slot < run.extinctions.size(); ++slot)
                if (run.extinctions[slot].first == static_cast<int>(s + 1)) {
                    order = std::to_string(slot + 1);
                    time = run.extinctions[slot].second;
                }
            t.montecarlo->Row(prefix, {std::to_string(run.number), std::to_string(s + 1), run.endCover[s], order, time});
        }
}

std::vector<Run> ReadRuns(const fs::path& dir, std::ostream& err)
{
    std::vector<Run> runs;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        const int number = RunNumberOf(name);
        if (number == 0 || !entry.is_directory())
            continue;
        const fs::path record = entry.path() / "run.json";
        if (!fs::exists(record)) {
            err << name << ": no run.json (the run has not ended); left out\n";
            continue;
        }
        const std::string shown = name + "/run.json";
        Run run{ReadRunRecord(ReadText(record, shown), shown), entry.path(), name};
        if (run.record.run != number)
            throw TidyError(shown + ": the record is of run " + std::to_string(run.record.run) +
                            ", the folder's name says " + std::to_string(number));
        runs.push_back(std::move(run));
    }
    if (error)
        throw TidyError(dir.string() + ": cannot be read: " + error.message());
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.record.run < b.record.run; });
    return runs;
}

} // namespace

int TidyFolder(const fs::path& dir, std::ostream& err)
{
    try {
        if (!fs::is_directory(dir)) {
            err << dir.string() << ": not a folder\n";
            return 2;
        }
        const std::vector<Run> runs = ReadRuns(dir, err);
        if (runs.empty()) {
            err << dir.string() << ": not a sweep folder (no run-NNNNN/run.json in it)\n";
            return 2;
        }

        // The varied keys of all runs, each where a run's plan order first shows it.
        std::vector<std::string> keys;
        for (const Run& run : runs)
            for (const auto& [key, value] : run.record.varied)
                if (std::find(keys.begin(), keys.end(), key) == keys.end())
                    keys.push_back(key);

        TidyTables tables(dir, keys);
        for (const Run& run : runs) {
            const TidyRunRecord& r = run.record;
            std::vector<std::string> fields = {std::to_string(r.run), std::to_string(r.replicate),
                                               std::to_string(r.seed)};
            for (const std::string& key : keys) {
                const auto it = std::find_if(r.varied.begin(), r.varied.end(),
                                             [&key](const auto& kv) { return kv.first == key; });
                fields.push_back(it != r.varied.end() ? it->second : std::string());
            }
            const std::string prefix = CsvFile::Encode(fields);
            tables.runs->Row(prefix, {r.status, std::to_string(r.exitStatus), r.seconds, run.folderName});
            if (r.status != "done")
                continue; // a failed run's files may be cut short: it is listed, its files are not read

            std::vector<fs::path> files;
            for (const fs::directory_entry& entry : fs::directory_iterator(run.folder))
                if (entry.is_regular_file() && entry.path().filename() != "run.json")
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            RunFiles data;
            for (const fs::path& file : files)
                ReadDataFile(file, run.folderName + "/" + file.filename().string(), data);
            WriteStatistics(tables, prefix, data);
            WriteLandscapes(tables, prefix, data);
            WriteMonteCarlo(tables, prefix, data);
        }
        tables.Commit();
        return 0;
    } catch (const TidyWriteError& error) {
        err << error.what() << '\n';
        return 1;
    } catch (const TidyError& error) {
        err << error.what() << '\n';
        return 2;
    } catch (const fs::filesystem_error& error) {
        err << error.what() << '\n';
        return 1;
    }
}

} // namespace quorrel
