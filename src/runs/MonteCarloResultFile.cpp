#include "runs/MonteCarloResultFile.h"

#include "output/OutputFileError.h"
#include "output/TextFormat.h"
#include "params/ParameterFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quorrel {

namespace {


// snprintf into a string; every format here fits the buffer.
template <class... Args>
std::string Format(const char* format, Args... args)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

} // namespace

std::string IncompleteResultPath(const std::string& path)
{
    return path + ".incomplete";
}

MonteCarloResultFile::MonteCarloResultFile(const std::string& path, const ParameterSet& params)
    : path_(path), writing_(IncompleteResultPath(path))
{
    errno = 0;
    out_.open(writing_, std::ios::binary | std::ios::trunc);
    if (!out_)
        throw OutputFileError(path_, ErrnoText());
    WriteParameterListing(out_, params, path);
    Check();
    Flush();
}

// errno is cleared before each write and flush only while the stream is sound, so the
// reason of the write that failed first is the one reported.
void MonteCarloResultFile::Check()
{
    if (!out_)
        throw OutputFileError(path_, ErrnoText() + "; what was written is kept in " + writing_);
}

void MonteCarloResultFile::Flush()
{
    Check();
    errno = 0;
    out_.flush();
    Check();
}

void MonteCarloResultFile::Close(bool finished)
{
    Check();
    errno = 0;
    out_.close();
    Check();
    if (!finished)
        return;
    std::error_code ec;
    std::filesystem::rename(writing_, path_, ec);
    if (ec)
        throw OutputFileError(path_, ec.message() + "; the result is kept in " + writing_);
}

void PutLine(std::ostream& out, std::string_view text)
{
    out << text << "\r\n";
}

bool LogsRandomisation(const ParameterSet& p)
{
    return p.GRateRandomising || p.OutcomeRandomMode != NotRandomising;
}

void WriteRandomisationHeading(std::ostream& out)
{
    PutLine(out, "");
    PutLine(out, "Random Outcome networks and Random Growth Rates per Generation");
}

void WriteRunLog(std::ostream& out, int r, const ParameterSet& p)
{
    PutLine(out, "Run: " + std::to_string(r));
    if (p.OutcomeRandomMode != NotRandomising)
        WriteOutcomeMatrixBlock(out, p);
    if (p.GRateRandomising)
        WriteGrowthRateBlock(out, p);
}

void WriteOutcomeMatrixBlock(std::ostream& out, const ParameterSet& p)
{
    const int n = p.GParamRec.Maxspec;
    PutLine(out, " Outcome Matrix:");
    std::string header = "No.  ";
    for (int j = 2; j <= n; ++j)
        header += Format("%4d", j);
    PutLine(out, header);
    for (int i = 1; i < n; ++i) {
        // Each value stands under the header number of its column species.
        const std::string lead = Format("%4d", i) + std::string(static_cast<std::size_t>((i - 1) * 4 + 1), ' ');
        std::string win = lead, loss = lead, standoff = lead;
        for (int j = i + 1; j <= n; ++j) {
            const OutcomeTriple& t = p.OutcomeMatrix[i][j];
            win += Format("%4d", t.Win);
            loss += Format("%4d", t.Loss);
            standoff += Format("%4d", t.Standoff);
        }
        PutLine(out, win);
        PutLine(out, loss);
        PutLine(out, standoff);
    }
    PutLine(out, "");
}

void WriteGrowthRateBlock(std::ostream& out, const ParameterSet& p)
{
    PutLine(out, " Growth Rates: ");
    for (int i = 1; i <= p.GParamRec.Maxspec; ++i) {
        const GrowthRate& g = p.GrowthRates[i];
        std::string line = Format("%4d%4d", i, g.Rate);
        if (g.Rate == -1)
            line += Format("%4d%4d", g.Low, g.High);
        PutLine(out, line);
    }
    PutLine(out, "");
}

void WriteMonteCarloSummary(std::ostream& out, const MonteCarloRecord& record, const ParameterSet& p,
                            OutcomeKind kind)
{
    const int n = record.Runs();
    const int maxspec = p.GParamRec.Maxspec;

    PutLine(out, "");
    PutLine(out, "===>");
    PutLine(out, "");
    PutLine(out, std::string("Growth rates are ") + (p.GRateRandomising ? "" : "not ") + "being randomised.");
    if (kind == OutcomeKind::Fixed && p.OutcomeRandomMode != NotRandomising) {
        static constexpr const char* ModeWords[] = {"", "uniformly", "with no reversals", "hierachically"};
        const char* word = p.OutcomeRandomMode <= HierarchicalRandomising ? ModeWords[p.OutcomeRandomMode] : "";
        PutLine(out, std::string("Outcomes are being randomised (") + word + ") with " +
                         std::to_string(p.StandoffPercent) + "% stand-offs.");
    } else {
        PutLine(out, "Outcomes are not being randomised.");
    }

    PutLine(out, "");
    PutLine(out, " Run  Time of first  Number of species  Species left");
    PutLine(out, "       extinction     left at the end    at the end");
    PutLine(out, "----  -------------  -----------------  ------------");
    int noExtinction = 0;
    for (int r = 1; r <= n; ++r) {
        std::string line = Format("%4d%12d%16d", r, record.ExtinctionTime[r][1], record.SpeciesLeft[r]) + "      ";
        for (int s = 1; s <= maxspec; ++s)
            if (!record.Vanished(r, s))
                line += Format("%3d", s);
        PutLine(out, line);
        if (record.ExtinctionTime[r][1] == -1)
            ++noExtinction;
    }
    if (noExtinction >= 1) {
        PutLine(out, "--------------------------------------");
        PutLine(out, Format("%5.1f", 100.0 * noExtinction / n) + "% (" + std::to_string(noExtinction) + " out of " +
                         std::to_string(n) + ") runs had no extinctions.");
    } else {
        // Sums, means and deviations in single precision; the deviation divides by n - 1.
        float sumTime = 0.0f, sumLeft = 0.0f;
        for (int r = 1; r <= n; ++r) {
            sumTime += static_cast<float>(record.ExtinctionTime[r][1]);
            sumLeft += static_cast<float>(record.SpeciesLeft[r]);
        }
        const float meanTime = sumTime / static_cast<float>(n);
        const float meanLeft = sumLeft / static_cast<float>(n);
        float squaresTime = 0.0f, squaresLeft = 0.0f;
        for (int r = 1; r <= n; ++r) {
            const float dTime = static_cast<float>(record.ExtinctionTime[r][1]) - meanTime;
            const float dLeft = static_cast<float>(record.SpeciesLeft[r]) - meanLeft;
            squaresTime += dTime * dTime;
            squaresLeft += dLeft * dLeft;
        }
        const float sdTime = std::sqrt(squaresTime / static_cast<float>(n - 1));
        const float sdLeft = std::sqrt(squaresLeft / static_cast<float>(n - 1));
        PutLine(out, "----  -------------  -----------------");
        PutLine(out, "Mean   " + Format("%12.2f%16.2f", static_cast<double>(meanTime), static_cast<double>(meanLeft)));
        PutLine(out, "SD     " + Format("%12.2f%16.2f", static_cast<double>(sdTime), static_cast<double>(sdLeft)));
    }

    PutLine(out, "");
    PutLine(out, " Run   Species gone to extinction");
    PutLine(out, "      species @ time of extinction");
    PutLine(out, "----  ----------------------------");
    for (int r = 1; r <= n; ++r) {
        std::string line = Format("%4d", r);
        for (int slot = 1; slot <= MonteCarloRecord::Slots && record.ExtinctionOrder[r][slot] != 0; ++slot)
            line += Format(" %2d@%-4d", record.ExtinctionOrder[r][slot], record.ExtinctionTime[r][slot]);
        PutLine(out, line);
    }

    PutLine(out, "");
    PutLine(out, "Percentage coverage of each species at the end of each run.");
    PutLine(out, "      Species");
    std::string header = " Run    1";
    for (int s = 2; s <= maxspec; ++s)
        header += Format("%6d", s);
    PutLine(out, header);
    // The factor is held in single precision; each product is printed as its double value.
    const float factor = static_cast<float>(100.0 / (static_cast<double>(p.GParamRec.MaxX) * p.GParamRec.MaxY));
    for (int r = 1; r <= n; ++r) {
        std::string line = Format("%4d", r);
        for (int s = 1; s <= maxspec; ++s)
            line += Format("%6.1f", static_cast<double>(record.EndCounts[r][s]) * static_cast<double>(factor));
        PutLine(out, line);
    }
}

FileDialogRequest ResultFileDialog(const std::string& currentName, const std::filesystem::path& startDir)
{
    FileDialogRequest request;
    request.save = true;
    request.title = "Write result to file";
    request.filter = "Result files (*.dat)|*.dat|All files (*.*)|*.*";
    request.defaultExtension = "dat";
    const std::filesystem::path current(currentName);
    const std::filesystem::path folder = current.parent_path();
    request.initialFolder = folder.empty() ? startDir.string() : folder.string();
    request.initialName = current.filename().string();
    return request;
}

} // namespace quorrel
