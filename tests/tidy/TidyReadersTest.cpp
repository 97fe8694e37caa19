// The readers of the data files: strict refusal of damaged and foreign files with the file
// and line, and the values they return against the files' own text.

#include "TempFolder.h"

#include "tidy/MonteCarloResult.h"
#include "tidy/OutcomeFile.h"
#include "tidy/ParameterListing.h"
#include "tidy/RunRecord.h"
#include "tidy/StatisticsFile.h"
#include "tidy/TidyError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorrel::test {
namespace {

const std::string kData = QUORREL_TIDY_DATA;

std::string Fixture(const std::string& name) { return ReadAll(kData + "/" + name); }

// Replaces line number (1-based) of text by replacement (CR LF kept).
std::string WithLine(std::string text, int number, const std::string& replacement)
{
    size_t start = 0;
    for (int i = 1; i < number; ++i)
        start = text.find('\n', start) + 1;
    const size_t end = text.find("\r\n", start);
    return text.replace(start, end - start, replacement);
}

// Reads a data file of any kind as TidyFolder does; returns the refusal, or "" when read.
std::string Refusal(const std::string& name, const std::string& text)
{
    try {
        TextLines lines(name, text);
        const ParameterListing listing = ReadParameterListing(lines);
        if (IsStatisticsHeading(lines))
            ReadStatisticsFile(lines, listing);
        else if (IsOutcomeHeading(lines))
            ReadOutcomeFile(lines, listing);
        else if (IsMonteCarloHeading(lines))
            ReadMonteCarloResult(lines, listing);
        else
            lines.Fail("no heading");
        return "";
    } catch (const TidyError& e) {
        return e.what();
    }
}

struct RefusalCase {
    const char* label;
    const char* file;
    int line;                // the line replaced, if replacement is given
    const char* replacement; // nullptr: cut bytes cut from the end, or (cut 0) a line appended
    size_t cut;
    const char* where;       // the start of the message: file and line
    const char* what;        // a piece of the rest
};

TEST(TidyReaders, DamagedFilesAreRefusedWithFileAndLine)
{
    const std::vector<RefusalCase> cases = {
        {"Maxspec out of range", "Cover.dat", 3, "  Maxspec    =       41", 0, "Cover.dat line 3: ", "Maxspec 41 is outside 2..40"},
        {"key missing", "Cover.dat", 4, "  MaxZ       =       20", 0, "Cover.dat line 4: ", "expected \"  MaxX "},
        {"comment changed", "Cover.dat", 9, "  Init       =        1  {other}", 0, "Cover.dat line 9: ", "expected \"  {initiation"},
        {"sci form broken", "Cover.dat", 15, "  DisturbProb=    0.01", 0, "Cover.dat line 15: ", "scientific form"},
        {"outcome row misnumbered", "Cover.dat", 29, "   2   26  24  22  20", 0, "Cover.dat line 29: ", "expected row 1"},
        {"separator missing", "Cover.dat", 25, "x", 0, "Cover.dat line 25: ", "expected \" \", found \"x\""},
        {"heading species", "Cover.dat", 73, "Gen No.     1     2     3     5     5   sp left", 0, "Cover.dat line 73: ",
         "expected species 4"},
        {"cover not one decimal", "Cover.dat", 76, "     1     0.0   0.0  64.50  0.0   0.2      2", 0, "Cover.dat line 76: ",
         "expected a species' cover"},
        {"generation skipped", "Cover.dat", 76, "     2     0.0   0.0  64.5   0.0   0.2      2", 0, "Cover.dat line 76: ",
         "generation 2 does not follow the line before"},
        {"species left too many", "Cover.dat", 76, "     1     0.0   0.0  64.5   0.0   0.2      6", 0, "Cover.dat line 76: ",
         "species left 6 is outside 0..5"},
        {"cut inside a line", "Cover.dat", 0, nullptr, 5, "Cover.dat line 85: ", "no line end"},
        {"landscape out of order", "Cover1.dat", 70, "     0     1   1   0.0   0.0  60.0   0.0      1", 0,
         "Cover1.dat line 70: ", "generation 0, row 1, column 1 does not follow"},
        {"unknown title", "Cover1.dat", 65, "          Coverage of Trees (%)", 0, "Cover1.dat line 62: ", "no heading"},
        {"pair table generation", "Outcome1.dat", 72, "Generation       2", 0, "Outcome1.dat line 72: ",
         "expected generation 1"},
        {"pair out of order", "Outcome1.dat", 75, "      1   3      0.0   0.0   0.0", 0, "Outcome1.dat line 75: ",
         "expected opponent 2"},
        {"pair table missing", "Outcome1.dat", 71, "     2     0.0   0.0   0.0   0.0   0.0   0.0   0.0   0.0   0.0   0.0   0.0   0.0 ", 0,
         "Outcome1.dat line 71: ", "expected \"\""},
        {"Monte Carlo run out of place", "mc.dat", 160, "   3  3@1     4@1   ", 0, "mc.dat line 160: ", "expected run 2"},
        {"Monte Carlo tables disagree", "mc.dat", 159, "   1  1@2     2@1     4@1     5@6   ", 0, "mc.dat line 159: ",
         "the extinctions of run 1 disagree with line 149"},
        {"Monte Carlo extinct twice", "mc.dat", 160, "   2  3@1     3@1   ", 0, "mc.dat line 160: ", "goes extinct twice"},
        {"Monte Carlo trailing text", "mc.dat", 0, nullptr, 0, "mc.dat line 169: ", "unexpected text"},
    };
    for (const RefusalCase& c : cases) {
        std::string text = Fixture(c.file);
        ASSERT_FALSE(text.empty()) << c.file;
        if (c.replacement)
            text = WithLine(text, c.line, c.replacement);
        else if (c.cut > 0)
            text.resize(text.size() - c.cut);
        else
            text += "more\r\n";
        const std::string got = Refusal(c.file, text);
        EXPECT_TRUE(got.starts_with(c.where) && got.find(c.what) != std::string::npos)
            << c.label << ": " << got;
    }
}

TEST(TidyReaders, ForeignTextIsNotADataFile)
{
    EXPECT_FALSE(StartsWithParameterListing("BM\x36\x10\0\0"));
    EXPECT_FALSE(StartsWithParameterListing("Gen = 1\r\n 1 2 3\r\n"));
    EXPECT_TRUE(StartsWithParameterListing(Fixture("Cover.dat")));
    // Every fixture reads whole, with LF line ends as well as CR LF.
    for (const char* name : {"Cover.dat", "Cover1.dat", "GRate12.dat", "Outcome1.dat", "mc.dat"}) {
        std::string text = Fixture(name);
        EXPECT_EQ(Refusal(name, text), "") << name;
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.erase(at, 1);
        EXPECT_EQ(Refusal(name, text), "") << name << " with LF";
    }
}

TEST(TidyReaders, ValuesAreTheFilesText)
{
    {
        TextLines lines("Cover.dat", Fixture("Cover.dat"));
        const ParameterListing listing = ReadParameterListing(lines);
        EXPECT_EQ(listing.Maxspec, 5);
        EXPECT_EQ(listing.MaxX, 20);
        const StatisticsFile s = ReadStatisticsFile(lines, listing);
        ASSERT_EQ(s.lines.size(), 11u); // generations 0..10
        EXPECT_EQ(s.lines[1].values, (std::vector<std::string>{"0.0", "0.0", "64.5", "0.0", "0.2"}));
        EXPECT_EQ(s.lines[1].speciesLeft, "2");
        EXPECT_FALSE(s.perLandscape);
    }
    {
        TextLines lines("GRate12.dat", Fixture("GRate12.dat"));
        const StatisticsFile s = ReadStatisticsFile(lines, ReadParameterListing(lines));
        EXPECT_EQ(s.kind, StatisticsFile::Kind::GrowthGenotype);
        EXPECT_TRUE(s.perLandscape);
        ASSERT_EQ(s.lines.size(), 44u); // 11 generations x 4 landscapes
        EXPECT_EQ(s.lines[7].generation, 1);
        EXPECT_EQ(s.lines[7].row, 2);
        EXPECT_EQ(s.lines[7].column, 2);
    }
    {
        TextLines lines("Outcome1.dat", Fixture("Outcome1.dat"));
        const OutcomeFile o = ReadOutcomeFile(lines, ReadParameterListing(lines));
        EXPECT_FALSE(o.genotype);
        ASSERT_EQ(o.lines.size(), 11u);
        ASSERT_EQ(o.pairs.size(), 16u); // generation 1 only, 4 x 4 pairs
        EXPECT_EQ(o.pairs[0].win, "-1.0");
        EXPECT_EQ(o.pairs[0].generation, 1);
    }
    {
        TextLines lines("mc.dat", Fixture("mc.dat"));
        const MonteCarloResult m = ReadMonteCarloResult(lines, ReadParameterListing(lines));
        ASSERT_EQ(m.runs.size(), 3u);
        ASSERT_EQ(m.runs[0].extinctions.size(), 4u);
        EXPECT_EQ(m.runs[0].extinctions[3], (std::pair<int, std::string>{5, "6"}));
        EXPECT_EQ(m.runs[1].endCover, (std::vector<std::string>{"4.8", "5.2", "1.2", "2.5", "20.8"}));
    }
}

TEST(TidyReaders, RunRecordsAreCheckedFieldByField)
{
    const std::string good = R"({"format": "quorrel-run 1", "run": 17, "replicate": 2, "seed": 4711, "mode": "single-fixed",
        "varied": {"OverGRate": "50", "DisturbProb": "0.02"}, "status": "done", "exit_status": 0, "seconds": 2.71})";
    const TidyRunRecord r = ReadRunRecord(good, "run.json");
    EXPECT_EQ(r.run, 17);
    EXPECT_EQ(r.seed, 4711);
    EXPECT_EQ(r.varied, (std::vector<std::pair<std::string, std::string>>{{"OverGRate", "50"}, {"DisturbProb", "0.02"}}));
    EXPECT_EQ(r.seconds, "2.71");
    std::string large = good;
    large.replace(large.find("\"exit_status\": 0"), 16, "\"exit_status\": 7777777777137");
    EXPECT_EQ(ReadRunRecord(large, "run.json").exitStatus, 7777777777137LL);

    const std::vector<std::pair<std::string, std::string>> bad = {
        {"{\n\"run\": 1,\n oops}", "run.json line 3, column 2"},
        {"[]", "run.json: not a run record"},
        {R"({"format": 1e99999})", "run.json: not a run record (number overflow"},
        {R"({"format": "other 1"})", "run.json: not a run record of the format"},
        {R"({"format": "quorrel-run 1", "run": 0})", "run.json: \"run\" is not an integer of at least 1"},
        {R"({"format": "quorrel-run 1", "run": 1, "replicate": 1})", "run.json: the field \"seed\" is missing"},
        {R"({"format": "quorrel-run 1", "run": 1, "replicate": 1, "seed": 18446744073709551615})",
         "run.json: \"seed\" is too large: 18446744073709551615"},
    };
    for (const auto& [text, expected] : bad) {
        try {
            ReadRunRecord(text, "run.json");
            ADD_FAILURE() << text << " was read";
        } catch (const TidyError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with(expected)) << e.what();
        }
    }
    std::string failed = good;
    failed.replace(failed.find("\"done\""), 6, "\"running\"");
    EXPECT_THROW(ReadRunRecord(failed, "run.json"), TidyError);
}

} // namespace
} // namespace quorrel::test
