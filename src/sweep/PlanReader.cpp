#include "sweep/PlanReader.h"

#include "sweep/DecimalSteps.h"
#include "sweep/DesignCsv.h"
#include "sweep/PlanError.h"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <set>

namespace quorrel {

namespace fs = std::filesystem;

namespace {

const char* const Modes[] = {"single-fixed",  "single-variable", "montecarlo-fixed", "montecarlo-variable",
                             "array-fixed", "array-variable"};

int LineOf(const toml::node& node)
{
    return static_cast<int>(node.source().begin.line);
}

// The entries of a table in the order the plan writes them (toml++ keeps them sorted).
std::vector<std::pair<std::string, const toml::node*>> InPlanOrder(const toml::table& table)
{
    std::vector<std::pair<const toml::key*, const toml::node*>> entries;
    for (auto&& [key, node] : table)
        entries.emplace_back(&key, &node);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        const auto& x = a.first->source().begin;
        const auto& y = b.first->source().begin;
        return std::make_pair(x.line, x.column) < std::make_pair(y.line, y.column);
    });
    std::vector<std::pair<std::string, const toml::node*>> ordered;
    for (const auto& [key, node] : entries)
        ordered.emplace_back(std::string(key->str()), node);
    return ordered;
}

// A value as the run is given it: an integer in decimal, a float in the shortest plain
// decimal that reads back as the same number (0.02 gives "0.02"), a text as written, true
// and false as 1 and 0. Empty for any other type.
std::optional<std::string> ScalarText(const toml::node& node)
{
    if (const auto* i = node.as_integer())
        return std::to_string(i->get());
    if (const auto* f = node.as_floating_point()) {
        const double d = f->get();
        if (!std::isfinite(d))
            return std::nullopt;
        char buffer[400];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::fixed);
        if (ec != std::errc())
            return std::nullopt;
        return std::string(buffer, end);
    }
    if (const auto* s = node.as_string())
        return s->get();
    if (const auto* b = node.as_boolean())
        return b->get() ? "1" : "0";
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(const fs::path& file) : file_(file), folder_(file.parent_path()) {}

    SweepPlan Read()
    {
        std::ifstream probe(file_, std::ios::binary);
        if (!probe)
            throw PlanError(file_, 0, "", "the plan cannot be read");
        toml::table table;
        try {
            table = toml::parse_file(file_.string());
        } catch (const toml::parse_error& e) {
            throw PlanError(file_, static_cast<int>(e.source().begin.line), "", std::string(e.description()));
        }
        plan_.File = file_;
        plan_.Dir = folder_;
        int designLine = 0;
        for (const auto& [key, node] : InPlanOrder(table)) {
            const int line = LineOf(*node);
            if (key == "mode") {
                plan_.Mode = Text(key, *node);
                if (std::find(std::begin(Modes), std::end(Modes), plan_.Mode) == std::end(Modes))
                    throw PlanError(file_, line, key,
                                    "unknown mode \"" + plan_.Mode +
                                        "\" (single-fixed, single-variable, montecarlo-fixed, montecarlo-variable, "
                                        "array-fixed, array-variable)");
            } else if (key == "params" || key == "options") {
                const fs::path path = folder_ / Text(key, *node);
                std::ifstream readable(path, std::ios::binary);
                if (!fs::is_regular_file(path) || !readable)
                    throw PlanError(file_, line, key, "the file " + path.string() + " cannot be read");
                (key == "params" ? plan_.Params : plan_.Options) = path;
            } else if (key == "dir") {
                plan_.Dir = folder_ / Text(key, *node);
                if (!fs::is_directory(plan_.Dir))
                    throw PlanError(file_, line, key, "the folder " + plan_.Dir.string() + " does not exist");
            } else if (key == "replicates") {
                plan_.Replicates = static_cast<int>(Whole(key, *node, 1, MaxRunSeed));
            } else if (key == "seed") {
                plan_.Seed = static_cast<uint64_t>(Whole(key, *node, 0, INT64_MAX));
            } else if (key == "grate-random") {
                const auto* b = node->as_boolean();
                if (b == nullptr)
                    throw PlanError(file_, line, key, "must be true or false");
                plan_.GRateRandom = b->get();
            } else if (IsPlanRunOption(key) || IsRunFolderFileOption(key)) {
                const std::string value = Scalar(key, *node);
                if (IsRunFolderFileOption(key) && (value.find('/') != std::string::npos || value == "." || value == ".."))
                    throw PlanError(file_, line, key, "must be a plain file name: the file is written into each run's folder");
                plan_.RunOptions.push_back({key, value, line});
            } else if (key == "set") {
                ReadSets(Table(key, *node));
            } else if (key == "vary") {
                Design(key, line, designLine);
                ReadVary(Table(key, *node));
            } else if (key == "run") {
                Design(key, line, designLine);
                ReadRuns(key, *node);
            } else if (key == "design") {
                Design(key, line, designLine);
                ReadDesignFile(folder_ / Text(key, *node), line);
            } else if (key == "RandSeed") {
                throw PlanError(file_, line, key, RandSeedReason());
            } else {
                throw PlanError(file_, line, key, "unknown key" + Advice(key));
            }
        }
        if (plan_.Mode.starts_with("montecarlo") && !Given("result"))
            plan_.RunOptions.push_back({"result", "MonteCarlo.dat", 0});
        CheckOverlaps();
        const size_t points = plan_.Design.Points();
        if (points == 0 || points > MaxSweepRuns / static_cast<size_t>(plan_.Replicates))
            throw PlanError(file_, designLine, "", "the design has too many runs (at most " +
                                                     std::to_string(MaxSweepRuns) + " with the replicates)");
        return std::move(plan_);
    }

private:
    static std::string RandSeedReason()
    {
        return "RandSeed is given to each run by the sweep, from seed, the design point and the replicate; "
               "set seed instead";
    }

    std::string Advice(const std::string& key) const
    {
        if (IsPlanParameter(key))
            return " at the top of the plan; a general parameter goes into [set] or [vary]";
        return "";
    }

    bool Given(const std::string& key) const
    {
        for (const PlanEntry& e : plan_.RunOptions)
            if (e.Key == key)
                return true;
        return false;
    }

    void Design(const std::string& key, int line, int& designLine)
    {
        if (designLine != 0)
            throw PlanError(file_, line, key, "a plan has one design: [vary], [[run]] or design, not two");
        designLine = line;
    }

    std::string Text(const std::string& key, const toml::node& node) const
    {
        const auto* s = node.as_string();
        if (s == nullptr)
            throw PlanError(file_, LineOf(node), key, "must be a text in quotes");
        if (s->get().empty())
            throw PlanError(file_, LineOf(node), key, "must not be empty");
        return s->get();
    }

    int64_t Whole(const std::string& key, const toml::node& node, int64_t least, int64_t most) const
    {
        const auto* i = node.as_integer();
        if (i == nullptr || i->get() < least || i->get() > most)
            throw PlanError(file_, LineOf(node), key,
                            "must be a whole number within " + std::to_string(least) + ".." + std::to_string(most));
        return i->get();
    }

    std::string Scalar(const std::string& key, const toml::node& node) const
    {
        const std::optional<std::string> text = ScalarText(node);
        if (!text)
            throw PlanError(file_, LineOf(node), key, "must be a number, a text or true/false");
        if (text->empty())
            throw PlanError(file_, LineOf(node), key, "must not be empty");
        return *text;
    }

    const toml::table& Table(const std::string& key, const toml::node& node) const
    {
        const auto* t = node.as_table();
        if (t == nullptr)
            throw PlanError(file_, LineOf(node), key, "must be a table ([" + key + "])");
        return *t;
    }

    // A key a design may vary, else the refusal.
    void CheckDesignKey(const std::string& key, int line, const fs::path& file) const
    {
        if (key == "RandSeed")
            throw PlanError(file, line, key, RandSeedReason());
        if (IsRunFolderFileOption(key) || key == "grate-random" || key == "mode" || key == "params" ||
            key == "options" || key == "dir" || key == "replicates" || key == "seed")
            throw PlanError(file, line, key, "cannot be varied; give it at the top of the plan");
        if (!IsPlanParameter(key) && !IsPlanRunOption(key))
            throw PlanError(file, line, key, "unknown key: neither a general parameter nor an option of a run");
    }

    void ReadSets(const toml::table& table)
    {
        for (const auto& [key, node] : InPlanOrder(table)) {
            const int line = LineOf(*node);
            if (key == "RandSeed")
                throw PlanError(file_, line, key, RandSeedReason());
            if (IsPlanRunOption(key))
                throw PlanError(file_, line, key, "is an option of a run, not a general parameter; give it at the top of the plan");
            if (!IsPlanParameter(key))
                throw PlanError(file_, line, key, "unknown general parameter");
            plan_.Sets.push_back({key, Scalar(key, *node), line});
        }
    }

    void ReadVary(const toml::table& table)
    {
        for (const auto& [key, node] : InPlanOrder(table)) {
            const int line = LineOf(*node);
            CheckDesignKey(key, line, file_);
            std::vector<std::string> values;
            if (const auto* list = node->as_array()) {
                for (const toml::node& item : *list)
                    values.push_back(Scalar(key, item));
            } else if (const auto* range = node->as_table()) {
                values = Range(key, *range, line);
            } else {
                throw PlanError(file_, line, key, "must be a list [a, b, ...] or a range { from = a, to = b, step = s }");
            }
            if (values.empty())
                throw PlanError(file_, line, key, "the list of values is empty");
            std::set<std::string> seen;
            for (const std::string& v : values)
                if (!seen.insert(v).second)
                    throw PlanError(file_, line, key, "the value " + v + " is listed twice");
            plan_.Design.AddFactor(key, std::move(values), {file_, line});
        }
    }

    std::vector<std::string> Range(const std::string& key, const toml::table& range, int line) const
    {
        std::string texts[3];
        const char* names[3] = {"from", "to", "step"};
        for (const auto& [part, node] : InPlanOrder(range)) {
            const auto at = std::find(std::begin(names), std::end(names), part);
            if (at == std::end(names))
                throw PlanError(file_, line, key, "a range has from, to and step, not \"" + part + "\"");
            if (!node->is_integer() && !node->is_floating_point())
                throw PlanError(file_, line, key, "the range's " + part + " must be a number");
            texts[at - std::begin(names)] = *ScalarText(*node);
        }
        for (int i = 0; i < 3; ++i)
            if (texts[i].empty())
                throw PlanError(file_, line, key, std::string("the range needs ") + names[i]);
        const DecimalStepsResult steps = DecimalSteps(texts[0], texts[1], texts[2], MaxSweepRuns);
        if (!steps.Error.empty())
            throw PlanError(file_, line, key, steps.Error);
        return steps.Values;
    }

    void ReadRuns(const std::string& key, const toml::node& node)
    {
        const auto* runs = node.as_array();
        if (runs == nullptr || !runs->is_array_of_tables() || runs->empty())
            throw PlanError(file_, LineOf(node), key, "must be one [[run]] table or more");
        std::vector<std::string> keys;
        for (const toml::node& item : *runs) {
            const toml::table& run = *item.as_table();
            const auto entries = InPlanOrder(run);
            if (keys.empty()) {
                for (const auto& [k, v] : entries) {
                    CheckDesignKey(k, LineOf(*v), file_);
                    keys.push_back(k);
                }
                if (keys.empty())
                    throw PlanError(file_, LineOf(item), key, "a [[run]] table is empty");
                plan_.Design.SetKeys(keys);
            }
            std::vector<std::string> values;
            for (const std::string& k : keys) {
                const toml::node* v = run.get(k);
                if (v == nullptr)
                    throw PlanError(file_, LineOf(item), k, "this [[run]] table lacks the key; every [[run]] table gives the same keys");
                values.push_back(Scalar(k, *v));
            }
            for (const auto& [k, v] : entries)
                if (std::find(keys.begin(), keys.end(), k) == keys.end())
                    throw PlanError(file_, LineOf(*v), k, "the first [[run]] table does not give this key; every [[run]] table gives the same keys");
            plan_.Design.AddRow(std::move(values), {file_, LineOf(item)});
        }
    }

    void ReadDesignFile(const fs::path& csvFile, int line)
    {
        if (!fs::is_regular_file(csvFile))
            throw PlanError(file_, line, "design", "the file " + csvFile.string() + " cannot be read");
        DesignCsv csv = ReadDesignCsv(csvFile);
        std::set<std::string> seen;
        for (const std::string& k : csv.Keys) {
            CheckDesignKey(k, 1, csvFile);
            if (!seen.insert(k).second)
                throw PlanError(csvFile, 1, k, "the column is named twice");
        }
        plan_.Design.SetKeys(csv.Keys);
        for (DesignCsvRow& row : csv.Rows)
            plan_.Design.AddRow(std::move(row.Values), {csvFile, row.Line});
    }

    // A key both given to every run and varied.
    void CheckOverlaps() const
    {
        for (size_t k = 0; k < plan_.Design.Keys().size(); ++k) {
            const std::string& key = plan_.Design.Keys()[k];
            for (const auto* entries : {&plan_.Sets, &plan_.RunOptions})
                for (const PlanEntry& e : *entries)
                    if (e.Key == key)
                        throw PlanError(file_, e.Line, key, "is both given to every run and varied");
        }
    }

    fs::path file_;
    fs::path folder_;
    SweepPlan plan_;
};

} // namespace

SweepPlan ReadSweepPlan(const fs::path& file)
{
    return Reader(fs::absolute(file).lexically_normal()).Read();
}

} // namespace quorrel
