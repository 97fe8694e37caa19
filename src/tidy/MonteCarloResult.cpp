#include "tidy/MonteCarloResult.h"

#include "tidy/LineFields.h"

#include <algorithm>

namespace quorrel {

namespace {

constexpr const char* RandomHeading = "Random Outcome networks and Random Growth Rates per Generation";

void GrowthRateBlock(TextLines& lines, int n)
{
    for (int i = 1; i <= n; ++i) {
        LineFields f(lines, lines.Next("a growth-rate line"));
        if (IntValue(f.Int(4, "the species number")) != i)
            f.Fail("expected species " + std::to_string(i));
        if (IntValue(f.Int(4, "the growth rate")) == -1) {
            f.Int(4, "the low end of the growth rate");
            f.Int(4, "the high end of the growth rate");
        }
        f.End();
    }
    lines.Expect("");
}

// "Run: r" and the blocks of what was randomised for run r, for r = 1, 2, ...
void RunLogs(TextLines& lines, int n)
{
    for (int r = 1; lines.Ahead(0) && lines.Ahead(0)->starts_with("Run: "); ++r) {
        LineFields f(lines, lines.Next(""));
        f.Literal("Run: ");
        if (IntValue(f.Bare("the run")) != r)
            f.Fail("expected run " + std::to_string(r));
        f.End();
        if (lines.PeekIs(" Outcome Matrix:")) {
            lines.Next("");
            ReadOutcomeMatrixTable(lines, n, false);
            lines.Expect("");
        }
        if (lines.PeekIs(" Growth Rates: ")) {
            lines.Next("");
            GrowthRateBlock(lines, n);
        }
    }
}

void RandomisationLines(TextLines& lines)
{
    const std::string_view grates = lines.Next("the line on growth rates");
    if (grates != "Growth rates are being randomised." && grates != "Growth rates are not being randomised.")
        lines.FailAt(lines.Number() - 1, "expected the line on growth rates, found " + TextLines::Quoted(grates));
    const std::string_view outcomes = lines.Next("the line on outcomes");
    if (outcomes == "Outcomes are not being randomised.")
        return;
    LineFields f(lines, outcomes);
    const std::string_view start = "Outcomes are being randomised (";
    f.Literal(start);
    const char* mode = "uniformly";
    for (const char* word : {"with no reversals", "hierachically"})
        if (outcomes.substr(start.size()).starts_with(word))
            mode = word;
    f.Literal(std::string(mode) + ") with ");
    f.Bare("the stand-off percentage");
    f.Literal("% stand-offs.");
    f.End();
}

} // namespace

bool IsMonteCarloHeading(const TextLines& lines)
{
    return lines.AheadIs(0, "") && (lines.AheadIs(1, RandomHeading) || lines.AheadIs(1, "===>"));
}

MonteCarloResult ReadMonteCarloResult(TextLines& lines, const ParameterListing& listing)
{
    MonteCarloResult result;
    result.listing = listing;
    const int n = listing.Maxspec;
    if (lines.AheadIs(0, "") && lines.AheadIs(1, RandomHeading)) {
        lines.Expect("");
        lines.Expect(RandomHeading);
        RunLogs(lines, n);
    }
    if (lines.AtEnd())
        return result; // stopped: no summary
    lines.Expect("");
    lines.Expect("===>");
    lines.Expect("");
    RandomisationLines(lines);
    lines.Expect("");
    lines.Expect(" Run  Time of first  Number of species  Species left");
    lines.Expect("       extinction     left at the end    at the end");
    lines.Expect("----  -------------  -----------------  ------------");

    // The table of first extinctions: one line per run, kept to check the other tables by.
    struct First {
        int time;
        int left;
        std::vector<int> survivors;
        int line;
    };
    std::vector<First> firsts;
    while (lines.Ahead(0) && !lines.Ahead(0)->starts_with("----")) {
        LineFields f(lines, lines.Next(""));
        if (IntValue(f.Int(4, "the run")) != static_cast<int>(firsts.size()) + 1)
            f.Fail("expected run " + std::to_string(firsts.size() + 1));
        First first{IntValue(f.Int(12, "the time of the first extinction")),
                    IntValue(f.Int(16, "the number of species left")), {}, lines.Number() - 1};
        f.Literal("      ");
        while (!f.AtEnd())
            first.survivors.push_back(IntValue(f.Int(3, "a species left at the end")));
        firsts.push_back(std::move(first));
    }
    if (firsts.empty())
        lines.Fail("expected the line of run 1");
    const int runs = static_cast<int>(firsts.size());
    const int noExtinction = static_cast<int>(
        std::count_if(firsts.begin(), firsts.end(), [](const First& f) { return f.time == -1; }));
    if (noExtinction >= 1) {
        lines.Expect("--------------------------------------");
        LineFields f(lines, lines.Next("the share of runs without extinction"));
        f.Fixed(5, 1, "the percentage of runs without extinction");
        f.Literal("% (");
        if (IntValue(f.Bare("the runs without extinction")) != noExtinction)
            f.Fail("expected " + std::to_string(noExtinction) + ", the runs without extinction in the table");
        f.Literal(" out of ");
        if (IntValue(f.Bare("the number of runs")) != runs)
            f.Fail("expected " + std::to_string(runs) + ", the runs in the table");
        f.Literal(") runs had no extinctions.");
        f.End();
    } else {
        lines.Expect("----  -------------  -----------------");
        for (const char* label : {"Mean   ", "SD     "}) {
            LineFields f(lines, lines.Next(label));
            f.Literal(label);
            f.Fixed(12, 2, "the time of the first extinction");
            f.Fixed(16, 2, "the number of species left");
            f.End();
        }
    }

    lines.Expect("");
    lines.Expect(" Run   Species gone to extinction");
    lines.Expect("      species @ time of extinction");
    lines.Expect("----  ----------------------------");
    for (int r = 1; r <= runs; ++r) {
        LineFields f(lines, lines.Next("the extinctions of a run"));
        if (IntValue(f.Int(4, "the run")) != r)
            f.Fail("expected run " + std::to_string(r));
        MonteCarloResult::Run run;
        run.number = r;
        while (!f.AtEnd()) {
            f.Literal(" ");
            const int species = IntValue(f.Int(2, "a species"));
            f.Literal("@");
            std::string time = f.LeftInt(4, "its time of extinction");
            if (species < 1 || species > n)
                f.Fail("species " + std::to_string(species) + " is outside 1.." + std::to_string(n));
            for (const auto& [gone, when] : run.extinctions)
                if (gone == species)
                    f.Fail("species " + std::to_string(species) + " goes extinct twice");
            run.extinctions.emplace_back(species, std::move(time));
        }
        // The table of first extinctions says the same.
        const First& first = firsts[static_cast<size_t>(r - 1)];
        std::vector<int> survivors;
        for (int s = 1; s <= n; ++s)
            if (std::none_of(run.extinctions.begin(), run.extinctions.end(),
                             [s](const auto& e) { return e.first == s; }))
                survivors.push_back(s);
        const int firstTime = run.extinctions.empty() ? -1 : IntValue(run.extinctions.front().second);
        if (survivors != first.survivors || first.left != static_cast<int>(survivors.size()) ||
            first.time != firstTime)
            lines.FailAt(lines.Number() - 1, "the extinctions of run " + std::to_string(r) +
                                                 " disagree with line " + std::to_string(first.line));
        result.runs.push_back(std::move(run));
    }

    lines.Expect("");
    lines.Expect("Percentage coverage of each species at the end of each run.");
    lines.Expect("      Species");
    {
        LineFields f(lines, lines.Next("the species numbers"));
        f.Literal(" Run    1");
        for (int s = 2; s <= n; ++s)
            if (IntValue(f.Int(6, "a species number")) != s)
                f.Fail("expected species " + std::to_string(s));
        f.End();
    }
    for (MonteCarloResult::Run& run : result.runs) {
        LineFields f(lines, lines.Next("the end cover of a run"));
        if (IntValue(f.Int(4, "the run")) != run.number)
            f.Fail("expected run " + std::to_string(run.number));
        for (int s = 1; s <= n; ++s)
            run.endCover.push_back(f.Fixed(6, 1, "a species' end cover"));
        f.End();
    }
    if (!lines.AtEnd())
        lines.Fail("unexpected text after the end cover of the last run: " + TextLines::Quoted(lines.Peek("")));
    return result;
}

} // namespace quorrel
