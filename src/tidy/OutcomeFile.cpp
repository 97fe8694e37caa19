#include "tidy/OutcomeFile.h"

#include "tidy/DataLineOrder.h"
#include "tidy/LineFields.h"

namespace quorrel {

namespace {

constexpr std::string_view NormalTitle = "          Average Probabilities of Species (Normal)";
constexpr std::string_view GenotypeTitle = "          Average Probabilities of Species (Genotype)";
constexpr std::string_view EachLandscape = "           (for each landscape)  ";

bool IsTitle(std::string_view line)
{
    if (line.ends_with(EachLandscape))
        line.remove_suffix(EachLandscape.size());
    return line == NormalTitle || line == GenotypeTitle;
}

// The pair table that follows the data line of generation g when g mod 100 is 1.
void ReadPairTable(TextLines& lines, OutcomeFile& file, int g)
{
    const int n = file.listing.Maxspec;
    lines.Expect("");
    {
        LineFields f(lines, lines.Next("the pair table's generation"));
        f.Literal("Generation  ");
        if (IntValue(f.Int(6, "the generation")) != g)
            f.Fail("expected generation " + std::to_string(g) + ", the generation of the line before the table");
        f.End();
    }
    lines.Expect("  specI specJ    win  loss  stand-off");
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            LineFields f(lines, lines.Next("a line of the pair table"));
            f.Literal("      ");
            if (IntValue(f.Bare("the species")) != i)
                f.Fail("expected species " + std::to_string(i));
            f.Literal("   ");
            if (IntValue(f.Bare("the opponent")) != j)
                f.Fail("expected opponent " + std::to_string(j));
            f.Literal("   ");
            OutcomeFile::PairLine pair{g, i, j, f.Fixed(6, 1, "a Win average"), f.Fixed(6, 1, "a Loss average"),
                                       f.Fixed(6, 1, "a Standoff average")};
            f.End();
            file.pairs.push_back(std::move(pair));
        }
    lines.Expect("");
}

} // namespace

bool IsOutcomeHeading(const TextLines& lines)
{
    return lines.AheadIs(0, " ") && lines.AheadIs(1, "===>") && lines.AheadIs(2, " ") && lines.Ahead(3) &&
           IsTitle(*lines.Ahead(3));
}

OutcomeFile ReadOutcomeFile(TextLines& lines, const ParameterListing& listing)
{
    OutcomeFile file;
    file.listing = listing;
    const int n = listing.Maxspec;
    lines.Expect(" ");
    lines.Expect("===>");
    lines.Expect(" ");
    std::string_view title = lines.Next("the title");
    if (!IsTitle(title))
        lines.FailAt(lines.Number() - 1,
                     "expected the title of a file of outcome statistics, found " + TextLines::Quoted(title));
    file.perLandscape = title.ends_with(EachLandscape);
    if (file.perLandscape)
        title.remove_suffix(EachLandscape.size());
    file.genotype = title == GenotypeTitle;
    {
        LineFields f(lines, lines.Next("the species numbers"));
        f.Literal(std::string(file.perLandscape ? 16 : 8, ' '));
        for (int s = 1; s <= n; ++s) {
            if (IntValue(f.Int(11, "a species number")) != s)
                f.Fail("expected species " + std::to_string(s));
            f.Literal("       ");
        }
        f.Literal(" ");
        f.End();
    }
    {
        LineFields f(lines, lines.Next("the column heading"));
        f.Literal(file.perLandscape ? "Gen No.  Row Col" : "Gen No. ");
        for (int s = 1; s <= n; ++s)
            f.Literal("  Win   Loss  S/O ");
        f.Literal(" ");
        f.End();
    }
    {
        LineFields f(lines, lines.Next("the rule under the heading"));
        f.Literal(file.perLandscape ? "-------  --- ---" : "------- ");
        for (int s = 1; s <= n; ++s)
            f.Literal(" ----- ----- -----");
        f.Literal(" ");
        f.End();
    }

    DataLineOrder order(file.perLandscape);
    while (!lines.AtEnd()) {
        LineFields f(lines, lines.Next("a data line"));
        OutcomeFile::SpeciesLine line;
        order.ReadStart(f, line.generation, line.row, line.column);
        static const char* what[] = {"a Win average", "a Loss average", "a Standoff average"};
        line.values.reserve(static_cast<size_t>(3 * n));
        for (int k = 0; k < 3 * n; ++k)
            line.values.push_back(f.Fixed(6, 1, what[k % 3]));
        f.Literal(" ");
        f.End();

        order.Check(lines, line.generation, line.row, line.column);
        const int g = line.generation;
        file.lines.push_back(std::move(line));
        if (!file.perLandscape && g % 100 == 1)
            ReadPairTable(lines, file, g);
    }
    return file;
}

} // namespace quorrel
