#pragma once

#include "engine/Dialogs.h"
#include "engine/OutcomeKind.h"
#include "params/ParameterSet.h"
#include "runs/MonteCarloRecord.h"

#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quorrel {

// The result file of a Monte Carlo series, written as the series goes: the parameter
// listing, the log of every run's randomised values, and the summary. Lines end in CR LF.
// Until the series ends the file is written as path + ".incomplete"; only a finished
// series gives it its name, so a partial result never passes for one. Every write is
// checked: a failure throws OutputFileError naming the file and where its part is kept.
class MonteCarloResultFile {
public:
    // Creates (or truncates) path.incomplete and writes the parameter listing, path as line 1.
    MonteCarloResultFile(const std::string& path, const ParameterSet& params);

    std::ostream& Stream() { return out_; }
    // Pushes what has been written to the file; throws when the file cannot take it.
    void Flush();
    // Closes the file; a finished series renames it to its name, else it stays incomplete.
    void Close(bool finished);

    const std::string& IncompletePath() const { return writing_; }

private:
    void Check();

    std::string path_;
    std::string writing_;
    std::ofstream out_;
};

// The name a Monte Carlo result is written under until its series ends.
std::string IncompleteResultPath(const std::string& path);

// One line with its CR LF.
void PutLine(std::ostream& out, std::string_view text);

// Whether the series logs its randomised values (fixed outcome with a randomisation on).
bool LogsRandomisation(const ParameterSet& p);

// The empty line and the heading that precede the run logs.
void WriteRandomisationHeading(std::ostream& out);

// "Run: r", then the outcome-matrix block when OutcomeRandomMode is not none and the
// growth-rate block when GRateRandomising is set.
void WriteRunLog(std::ostream& out, int r, const ParameterSet& p);
void WriteOutcomeMatrixBlock(std::ostream& out, const ParameterSet& p);
void WriteGrowthRateBlock(std::ostream& out, const ParameterSet& p);

// The summary of a completed series of record.Runs() runs. With variable outcomes the
// outcome line always says the outcomes were not randomised.
void WriteMonteCarloSummary(std::ostream& out, const MonteCarloRecord& record, const ParameterSet& p,
                            OutcomeKind kind);

// The save dialog that picks the result file: it starts in the folder of the name given,
// else in the start directory.
FileDialogRequest ResultFileDialog(const std::string& currentName, const std::filesystem::path& startDir);

} // namespace quorrel
