#include "output/LandscapeStatisticsFiles.h"

#include "output/FileNames.h"
#include "output/TextFormat.h"

#include <cerrno>
#include <utility>

namespace quorrel {

LandscapeStatisticsFiles::LandscapeStatisticsFiles(const ParameterSet& params, const OptionStruct& options,
                                                   const LandscapeGrid& landscape, const ColorMap& colors)
    : params_(params), options_(options), single_(params, options, landscape, colors)
{
}

std::string LandscapeStatisticsFiles::CoverageFileName(const OptionStruct& o)
{
    return InsertBeforeExtension(o.CoverFilename, "1");
}

std::string LandscapeStatisticsFiles::GRateFileName(const OptionStruct& o, int i)
{
    return InsertBeforeExtension(InsertBeforeExtension(o.GRateFilename, "1"), i == 1 ? "1" : "2");
}

void LandscapeStatisticsFiles::Create(std::ofstream& file, const std::string& name, const char* title,
                                      const char* headingEnd, const char* ruleEnd)
{
    const int n = params_.GParamRec.Maxspec;
    CreateDataFile(file, name, params_);
    std::string text = std::string(" \r\n===>\r\n \r\n") + title + "\r\n           (for each landscape)  \r\nGen No.  Row Col";
    for (int s = 1; s <= n; ++s)
        text += Format("%6d", s);
    text += std::string(headingEnd) + "\r\n-------  --- ---";
    for (int s = 1; s <= n; ++s)
        text += " -----";
    text += std::string(ruleEnd) + "\r\n";
    Append(file, name, text);
}

void LandscapeStatisticsFiles::Append(std::ofstream& file, const std::string& name, const std::string& text)
{
    errno = 0;
    file << text;
    CheckWritten(file, name);
}

void LandscapeStatisticsFiles::WriteLandscapeLines(int g, int row, int col, const LandscapeTally* tally)
{
    const int n = params_.GParamRec.Maxspec;
    const bool create = g == 0 && row == 1 && col == 1;
    const std::string start = Format("%6d", g) + "  " + Format("%4d", row) + Format("%4d", col);
    single_.ComputeStatistics(options_.WriteCoverage, options_.WriteGRate, options_.WriteGRate, 1, tally);
    if (options_.WriteCoverage) {
        if (create) {
            coverName_ = CoverageFileName(options_);
            Create(coverFile_, coverName_, "          Coverage of Species (%)", "   sp left", "  -------");
        }
        const double cells = double(params_.GParamRec.MaxX) * params_.GParamRec.MaxY;
        std::string line = start;
        for (int s = 1; s <= n; ++s)
            line += Format("%6.1f", 100.0 * static_cast<double>(single_.Counts()[s]) / cells);
        line += Format("%7d", single_.SpeciesLeft()) + "\r\n";
        coverHeld_ += line;
    }
    if (options_.WriteGRate) {
        const char* titles[] = {"          Average Growth Rate of Species (Normal)",
                                "          Average Growth Rate of Species (Genotype)"};
        for (int i = 0; i < 2; ++i) {
            if (create) {
                rateNames_[i] = GRateFileName(options_, i + 1);
                Create(rateFiles_[i], rateNames_[i], titles[i], " ", " ");
            }
            std::string line = start;
            for (int s = 1; s <= n; ++s)
                line += Format("%6.1f", 100.0 * static_cast<double>(single_.Means(i + 2)[s]));
            rateHeld_[i] += line + " \r\n";
        }
    }
}

void LandscapeStatisticsFiles::WriteHeldLines()
{
    if (!coverHeld_.empty())
        Append(coverFile_, coverName_, std::exchange(coverHeld_, {}));
    for (int i = 0; i < 2; ++i)
        if (!rateHeld_[i].empty())
            Append(rateFiles_[i], rateNames_[i], std::exchange(rateHeld_[i], {}));
}

void LandscapeStatisticsFiles::Close(std::ofstream& file, const std::string& name)
{
    if (!file.is_open())
        return;
    errno = 0;
    file.close();
    CheckWritten(file, name);
}

void LandscapeStatisticsFiles::CloseCoverageFile()
{
    Close(coverFile_, coverName_);
}

void LandscapeStatisticsFiles::CloseGRateFiles()
{
    Close(rateFiles_[0], rateNames_[0]);
    Close(rateFiles_[1], rateNames_[1]);
}

} // namespace quorrel
