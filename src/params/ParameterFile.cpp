#include "ParameterFile.h"

#include "NumberFormat.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string_view>
#include <system_error>

namespace quorrel {

namespace fs = std::filesystem;

namespace {

// Halves to even, as nearbyint does in the default rounding mode; kept inside a range that
// any int(w) field can take.
long long RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<long long>(std::clamp(std::nearbyint(value), -1e15, 1e15));
}

std::string ErrnoReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : std::string("input/output error");
}

void WriteListingFile(const fs::path& file, const ParameterSet& p, const std::string& firstLine,
                      bool dependentGRates, const std::string& shownName)
{
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        throw ParameterFileError("Cannot create the parameter file " + shownName + ": " + ErrnoReason(errno));
    WriteParameterListing(out, p, firstLine, dependentGRates);
    out.close();
    if (!out)
        throw ParameterFileError("Cannot write the parameter file " + shownName + ": " + ErrnoReason(errno));
}

// Writes to a temporary name beside the target and renames it over the old file, so that
// an interrupted write never leaves a half-written file under the target's name.
void ReplaceParameterFile(const ParameterSet& p, const fs::path& target)
{
    fs::path temporary = target;
    temporary += ".tmp";
    std::error_code ignored;
    try {
        WriteListingFile(temporary, p, target.string(), DependentGRates, target.string());
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, ignored);
        throw ParameterFileError("Cannot replace the parameter file " + target.string() + ": " + error.message());
    }
}

} // namespace

void WriteParameterListing(std::ostream& out, const ParameterSet& p, const std::string& firstLine,
                           bool dependentGRates)
{
    const GParamStruct& g = p.GParamRec;
    const int n = std::clamp(g.Maxspec, 0, MaxSpecies); // never index outside the tables
    std::string text;
    const auto line = [&text](const std::string& content) {
        text += content;
        text += "\r\n";
    };

    line(firstLine);
    line(" ");
    line("  Maxspec    =   " + FormatInt(g.Maxspec, 6));
    line("  MaxX       =   " + FormatInt(g.MaxX, 6));
    line("  MaxY       =   " + FormatInt(g.MaxY, 6));
    line("  PIX        =   " + FormatInt(g.PIX, 6));
    line("  Maxgen     =   " + FormatInt(g.Maxgen, 6));
    line("  RandSeed   =   " + FormatInt(g.RandSeed, 6));
    line("  Init       =   " + FormatInt(g.Init, 6) + "  {initiation growthrates: 0=random ;1=gradient; 2=grid}");
    line("  Cover      =   " + FormatInt(g.Cover, 6) + "  {distribution species: 0=random; 1=blocks; 2=file}");
    line("  CoverFile  =   " + g.CoverFile);
    line("  Border     =   " + FormatInt(g.Border, 6) + "  {0=t=Torus; 1=o=Open}");
    line("  TotalCover =   " + FormatFixed62(g.TotalCover));
    line("  OverGRate  =   " + FormatInt(g.OverGRate, 6) + "  {over-growth rate of free growth rate}");
    line("  DisturbProb=   " + FormatSci23(g.DisturbProb));
    line("  PatchSize  =   " + FormatInt(g.PatchSize, 6));
    line("  PatchType  =   " + FormatInt(g.PatchType, 6) + "  { 0=square; 1=random }");
    line("  Influx     =   " + FormatSci23(g.Influx));
    line("  RecruitType=   " + FormatInt(g.RecruitType, 6) + "  { 0=open; 1=closed }");
    line("  MutationGR =   " + FormatSci23(g.MutationGR));
    line("  MutAmtGR   =   " + FormatInt(g.MutAmtGR, 6));
    line("  MutationOTC=   " + FormatSci23(g.MutationOTC));
    line("  MutAmtOTC  =   " + FormatInt(g.MutAmtOTC, 6));
    line("  MeanField  =   " + FormatInt(g.MeanField ? 1 : 0, 6));
    line(" ");

    // Upper triangle only; the value of column j ends at character 4j+1, under its header.
    line("Outcome Matrix : used portion only. Lines are Win:Loss:Standoff for each species");
    std::string header = "No.  ";
    for (int j = 2; j <= n; ++j)
        header += FormatInt(j, 4);
    line(header);
    for (int i = 1; i < n; ++i) {
        for (int part = 0; part < 3; ++part) {
            std::string row = FormatInt(i, 4) + std::string(static_cast<size_t>((i - 1) * 4 + 1), ' ');
            for (int j = i + 1; j <= n; ++j) {
                const OutcomeTriple& t = p.OutcomeMatrix[i][j];
                row += FormatInt(part == 0 ? t.Win : part == 1 ? t.Loss : t.Standoff, 4);
            }
            if (part == 2)
                row += ' ';
            line(row);
        }
    }
    line("");

    line("Growth Rates");
    for (int i = 1; i <= n; ++i) {
        const GrowthRate& r = p.GrowthRates[i];
        std::string row = FormatInt(i, 4) + FormatInt(r.Rate, 4);
        if (dependentGRates) {
            row += FormatInt(r.Low, 4) + FormatInt(r.High, 4);
            for (int j = 1; j <= n; ++j)
                row += FormatInt(RoundHalfEven(static_cast<double>(p.RateAgainst[i][j]) * 100.0), 4);
        } else if (r.Rate == -1) {
            row += FormatInt(r.Low, 4) + FormatInt(r.High, 4);
        } else {
            row += ' ';
        }
        line(row);
    }
    line(dependentGRates ? "" : " ");

    line("Mortality Vector");
    for (int i = 1; i <= n; ++i)
        line(FormatInt(i, 4) + FormatSci23(p.MortalityVector[i]));
    line("  Mortal-Size=   " + FormatInt(RoundHalfEven(p.MortalityVector[0]), 6));
    line(" ");

    line("Variable Outcome Vector");
    for (int i = 1; i <= n; ++i) {
        const VariableOutcomeRange& v = p.VariableOutcomeVector[i];
        line(FormatInt(i, 4) + FormatInt(v.WinLow, 4) + FormatInt(v.WinHigh, 4) + FormatInt(v.LossLow, 4) +
               FormatInt(v.LossHigh, 4));
    }
    line(" ");

    line("Recruitment Vector");
    for (int i = 1; i <= n; ++i)
        line(FormatInt(i, 4) + FormatSci23(p.RecruitmentVector[i]));

    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void WriteParameterFile(const ParameterSet& p, const std::string& path, bool dependentGRates)
{
    WriteListingFile(fs::path(path), p, path, dependentGRates, path);
}

StartupLoadResult LoadStartupParameters(ParameterSet& p)
{
    StartupLoadResult result;
    for (const char* name : {"PLast.prm", "PDefault.prm"}) {
        const fs::path file = p.StartDir / name;
        std::error_code error;
        if (!fs::exists(file, error))
            continue;
        try {
            ReadParameterFile(p, file.string());
            result.FileRead = file.string();
            return result;
        } catch (const ParameterFileError& refusal) {
            result.Refusals.emplace_back(refusal.what());
            result.LastFileRefused = result.LastFileRefused || std::string_view(name) == "PLast.prm";
        }
    }
    p.SetInbuiltDefaults();
    return result;
}

std::string KeepRefusedLastParameters(const fs::path& startDir)
{
    const fs::path last = startDir / "PLast.prm";
    for (int number = 1; number < 1000; ++number) {
        char name[40] = "PLast.prm.refused";
        if (number > 1)
            std::snprintf(name, sizeof name, "PLast.prm.refused.%d", number);
        const fs::path kept = startDir / name;
        std::error_code ec;
        if (fs::exists(kept, ec) || ec)
            continue;
        fs::rename(last, kept, ec);
        return ec ? std::string() : kept.string();
    }
    return {};
}

void SaveLastParameters(const ParameterSet& p)
{
    ReplaceParameterFile(p, p.StartDir / "PLast.prm");
}

void WriteDefaultParameters(const ParameterSet& p)
{
    ReplaceParameterFile(p, p.StartDir / "PDefault.prm");
}

} // namespace quorrel
