#include "tidy/ParameterListing.h"

#include "tidy/LineFields.h"

namespace quorrel {

namespace {

constexpr int MaxSpecies = 40;

// "  Key        =   ": the label of a keyed line, 17 characters.
std::string Label(const char* key)
{
    std::string label = std::string("  ") + key;
    label.resize(13, ' ');
    return label + "=   ";
}

int KeyedInt(TextLines& lines, const char* key, const char* comment = "", int low = -2147483647,
             int high = 2147483647)
{
    LineFields f(lines, lines.Next(key));
    f.Literal(Label(key));
    const int value = IntValue(f.Int(6, key));
    f.Literal(comment);
    f.End();
    if (value < low || value > high)
        f.Fail(std::string(key) + " " + std::to_string(value) + " is outside " + std::to_string(low) + ".." +
               std::to_string(high));
    return value;
}

void KeyedSci(TextLines& lines, const char* key)
{
    LineFields f(lines, lines.Next(key));
    f.Literal(Label(key));
    f.Sci23(key);
    f.End();
}

// A section line: the species number i in 4, then count integers in 4.
void SpeciesInts(TextLines& lines, int i, int count, const char* what)
{
    LineFields f(lines, lines.Next(what));
    if (IntValue(f.Int(4, "the species number")) != i)
        f.Fail("expected species " + std::to_string(i));
    for (int k = 0; k < count; ++k)
        f.Int(4, what);
    f.End();
}

void SpeciesSci(TextLines& lines, int i, const char* what)
{
    LineFields f(lines, lines.Next(what));
    if (IntValue(f.Int(4, "the species number")) != i)
        f.Fail("expected species " + std::to_string(i));
    f.Sci23(what);
    f.End();
}

void OutcomeMatrix(TextLines& lines, int n)
{
    lines.Expect("Outcome Matrix : used portion only. Lines are Win:Loss:Standoff for each species");
    ReadOutcomeMatrixTable(lines, n, true);
    lines.Expect("");
}

// Growth-rate lines in either of the writer's forms: with the range and the rates against
// every species (then an empty line follows), or the rate alone, with its range when it is
// -1 (then a single blank follows). The first line decides the form of all.
void GrowthRates(TextLines& lines, int n)
{
    lines.Expect("Growth Rates");
    int dependent = -1;
    for (int i = 1; i <= n; ++i) {
        LineFields f(lines, lines.Next("a growth-rate line"));
        if (IntValue(f.Int(4, "the species number")) != i)
            f.Fail("expected species " + std::to_string(i));
        const int rate = IntValue(f.Int(4, "the growth rate"));
        if (dependent == -1)
            dependent = f.Left() > 8 ? 1 : 0;
        if (dependent == 1) {
            f.Int(4, "the low end of the growth rate");
            f.Int(4, "the high end of the growth rate");
            for (int j = 1; j <= n; ++j)
                f.Int(4, "a growth rate against a species");
        } else if (rate == -1) {
            f.Int(4, "the low end of the growth rate");
            f.Int(4, "the high end of the growth rate");
        } else {
            f.Literal(" ");
        }
        f.End();
    }
    lines.Expect(dependent == 1 ? "" : " ");
}

} // namespace

void ReadOutcomeMatrixTable(TextLines& lines, int n, bool standoffBlank)
{
    LineFields header(lines, lines.Next("the outcome matrix's column numbers"));
    header.Literal("No.  ");
    for (int j = 2; j <= n; ++j)
        if (IntValue(header.Int(4, "a column number")) != j)
            header.Fail("expected column " + std::to_string(j));
    header.End();
    static const char* parts[] = {"a Win value", "a Loss value", "a Standoff value"};
    for (int i = 1; i < n; ++i)
        for (int part = 0; part < 3; ++part) {
            LineFields f(lines, lines.Next("an outcome-matrix row"));
            if (IntValue(f.Int(4, "the row number")) != i)
                f.Fail("expected row " + std::to_string(i));
            f.Literal(std::string(static_cast<size_t>((i - 1) * 4 + 1), ' '));
            for (int j = i + 1; j <= n; ++j)
                f.Int(4, parts[part]);
            if (part == 2 && standoffBlank)
                f.Literal(" ");
            f.End();
        }
}

bool StartsWithParameterListing(std::string_view text)
{
    const size_t first = text.find('\n');
    if (first == std::string_view::npos)
        return false;
    std::string_view rest = text.substr(first + 1);
    if (rest.starts_with(" \r\n"))
        rest.remove_prefix(3);
    else if (rest.starts_with(" \n"))
        rest.remove_prefix(2);
    else
        return false;
    return rest.starts_with(Label("Maxspec"));
}

ParameterListing ReadParameterListing(TextLines& lines)
{
    ParameterListing p;
    p.path = std::string(lines.Next("the parameter listing"));
    lines.Expect(" ");
    p.Maxspec = KeyedInt(lines, "Maxspec", "", 2, MaxSpecies);
    p.MaxX = KeyedInt(lines, "MaxX", "", 10, 700);
    p.MaxY = KeyedInt(lines, "MaxY", "", 10, 700);
    KeyedInt(lines, "PIX");
    p.Maxgen = KeyedInt(lines, "Maxgen", "", 0);
    KeyedInt(lines, "RandSeed");
    KeyedInt(lines, "Init", "  {initiation growthrates: 0=random ;1=gradient; 2=grid}");
    KeyedInt(lines, "Cover", "  {distribution species: 0=random; 1=blocks; 2=file}");
    {
        LineFields f(lines, lines.Next("CoverFile"));
        f.Literal(Label("CoverFile"));
        f.Rest();
    }
    KeyedInt(lines, "Border", "  {0=t=Torus; 1=o=Open}");
    {
        LineFields f(lines, lines.Next("TotalCover"));
        f.Literal(Label("TotalCover"));
        f.Fixed(6, 2, "TotalCover");
        f.End();
    }
    KeyedInt(lines, "OverGRate", "  {over-growth rate of free growth rate}");
    KeyedSci(lines, "DisturbProb");
    KeyedInt(lines, "PatchSize");
    KeyedInt(lines, "PatchType", "  { 0=square; 1=random }");
    KeyedSci(lines, "Influx");
    KeyedInt(lines, "RecruitType", "  { 0=open; 1=closed }");
    KeyedSci(lines, "MutationGR");
    KeyedInt(lines, "MutAmtGR");
    KeyedSci(lines, "MutationOTC");
    KeyedInt(lines, "MutAmtOTC");
    KeyedInt(lines, "MeanField", "", 0, 1);
    lines.Expect(" ");

    const int n = p.Maxspec;
    OutcomeMatrix(lines, n);
    GrowthRates(lines, n);
    lines.Expect("Mortality Vector");
    for (int i = 1; i <= n; ++i)
        SpeciesSci(lines, i, "a mortality probability");
    {
        LineFields f(lines, lines.Next("the Mortal-Size line"));
        f.Literal("  Mortal-Size=   ");
        f.Int(6, "Mortal-Size");
        f.End();
    }
    lines.Expect(" ");
    lines.Expect("Variable Outcome Vector");
    for (int i = 1; i <= n; ++i)
        SpeciesInts(lines, i, 4, "a variable-outcome range");
    lines.Expect(" ");
    lines.Expect("Recruitment Vector");
    for (int i = 1; i <= n; ++i)
        SpeciesSci(lines, i, "a recruitment probability");
    return p;
}

} // namespace quorrel
