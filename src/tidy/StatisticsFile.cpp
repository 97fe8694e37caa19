#include "tidy/StatisticsFile.h"

#include "tidy/DataLineOrder.h"
#include "tidy/LineFields.h"

namespace quorrel {

namespace {

constexpr const char* CoverageTitle = "          Coverage of Species (%)";
constexpr const char* NormalTitle = "          Average Growth Rate of Species (Normal)";
constexpr const char* GenotypeTitle = "          Average Growth Rate of Species (Genotype)";
constexpr const char* EachLandscape = "           (for each landscape)  ";

} // namespace

bool IsStatisticsHeading(const TextLines& lines)
{
    return lines.AheadIs(0, " ") && lines.AheadIs(1, "===>") && lines.AheadIs(2, " ") &&
           (lines.AheadIs(3, CoverageTitle) || lines.AheadIs(3, NormalTitle) || lines.AheadIs(3, GenotypeTitle));
}

StatisticsFile ReadStatisticsFile(TextLines& lines, const ParameterListing& listing)
{
    StatisticsFile file;
    file.listing = listing;
    const int n = listing.Maxspec;
    lines.Expect(" ");
    lines.Expect("===>");
    lines.Expect(" ");
    const std::string_view title = lines.Next("the title");
    if (title == CoverageTitle)
        file.kind = StatisticsFile::Kind::Coverage;
    else if (title == NormalTitle)
        file.kind = StatisticsFile::Kind::GrowthNormal;
    else if (title == GenotypeTitle)
        file.kind = StatisticsFile::Kind::GrowthGenotype;
    else
        lines.FailAt(lines.Number() - 1, "expected the title of a coverage or growth-rate file, found " +
                                             TextLines::Quoted(title));
    const bool coverage = file.kind == StatisticsFile::Kind::Coverage;
    file.perLandscape = lines.PeekIs(EachLandscape);
    if (file.perLandscape)
        lines.Next("");

    {
        LineFields f(lines, lines.Next("the column heading"));
        f.Literal(file.perLandscape ? "Gen No.  Row Col" : "Gen No.");
        for (int s = 1; s <= n; ++s)
            if (IntValue(f.Int(6, "a species number")) != s)
                f.Fail("expected species " + std::to_string(s));
        f.Literal(coverage ? "   sp left" : " ");
        f.End();
    }
    {
        LineFields f(lines, lines.Next("the rule under the heading"));
        f.Literal(file.perLandscape ? "-------  --- ---" : "------- ");
        for (int s = 1; s <= n; ++s)
            f.Literal(" -----");
        f.Literal(coverage ? "  -------" : " ");
        f.End();
    }

    DataLineOrder order(file.perLandscape);
    while (!lines.AtEnd()) {
        LineFields f(lines, lines.Next("a data line"));
        StatisticsFile::Line line;
        order.ReadStart(f, line.generation, line.row, line.column);
        line.values.reserve(static_cast<size_t>(n));
        for (int s = 1; s <= n; ++s)
            line.values.push_back(f.Fixed(6, 1, coverage ? "a species' cover" : "a species' mean growth rate"));
        if (coverage) {
            line.speciesLeft = f.Int(7, "the number of species left");
            if (IntValue(line.speciesLeft) < 0 || IntValue(line.speciesLeft) > n)
                f.Fail("the number of species left " + line.speciesLeft + " is outside 0.." + std::to_string(n));
        } else {
            f.Literal(" ");
        }
        f.End();

        order.Check(lines, line.generation, line.row, line.column);
        file.lines.push_back(std::move(line));
    }
    return file;
}

} // namespace quorrel
