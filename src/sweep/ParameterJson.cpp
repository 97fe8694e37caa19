#include "sweep/ParameterJson.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace quorrel {

namespace {

using Json = nlohmann::ordered_json;

double Shortest(float value)
{
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text - 1, value);
    *(ec == std::errc() ? end : text) = '\0';
    return std::strtod(text, nullptr);
}

template <class T, class F>
Json PerSpecies(const SpeciesTable<T>& table, int species, F entry)
{
    Json list = Json::array();
    for (int s = 1; s <= species; ++s)
        list.push_back(entry(table[s]));
    return list;
}

template <class T, class F>
Json PerPair(const PairTable<T>& table, int species, F entry)
{
    Json rows = Json::array();
    for (int i = 1; i <= species; ++i) {
        Json row = Json::array();
        for (int k = 1; k <= species; ++k)
            row.push_back(entry(table[i][k]));
        rows.push_back(row);
    }
    return rows;
}

} // namespace

Json ParametersJson(const ParameterSet& p, const ArraySettings* array)
{
    const GParamStruct& g = p.GParamRec;
    const int n = g.Maxspec;
    Json j;
    j["Maxspec"] = g.Maxspec;
    j["MaxX"] = g.MaxX;
    j["MaxY"] = g.MaxY;
    j["PIX"] = g.PIX;
    j["Maxgen"] = g.Maxgen;
    j["RandSeed"] = g.RandSeed;
    j["Init"] = g.Init;
    j["Cover"] = g.Cover;
    j["CoverFile"] = g.CoverFile;
    j["Border"] = g.Border;
    j["TotalCover"] = Shortest(g.TotalCover);
    j["OverGRate"] = g.OverGRate;
    j["DisturbProb"] = Shortest(g.DisturbProb);
    j["PatchSize"] = g.PatchSize;
    j["PatchType"] = g.PatchType;
    j["Influx"] = Shortest(g.Influx);
    j["RecruitType"] = g.RecruitType;
    j["MutationGR"] = Shortest(g.MutationGR);
    j["MutAmtGR"] = g.MutAmtGR;
    j["MutationOTC"] = Shortest(g.MutationOTC);
    j["MutAmtOTC"] = g.MutAmtOTC;
    j["MeanField"] = g.MeanField ? 1 : 0;
    // Win, loss and stand-off of species i against k; a negative win marks a variable pair.
    j["OutcomeMatrix"] = PerPair(p.OutcomeMatrix, n, [](const OutcomeTriple& o) {
        return Json::array({o.Win, o.Loss, o.Standoff});
    });
    // Rate, low, high; a rate of -1 marks a variable growth rate within low..high.
    j["GrowthRates"] = PerSpecies(p.GrowthRates, n, [](const GrowthRate& r) {
        return Json::array({r.Rate, r.Low, r.High});
    });
    j["RateAgainst"] = PerPair(p.RateAgainst, n, [](float v) { return Shortest(v); });
    j["MortalSize"] = Shortest(p.MortalSize());
    j["Mortality"] = PerSpecies(p.MortalityVector, n, [](float v) { return Shortest(v); });
    j["Recruitment"] = PerSpecies(p.RecruitmentVector, n, [](float v) { return Shortest(v); });
    // Win low, win high, loss low, loss high.
    j["VariableOutcomes"] = PerSpecies(p.VariableOutcomeVector, n, [](const VariableOutcomeRange& v) {
        return Json::array({v.WinLow, v.WinHigh, v.LossLow, v.LossHigh});
    });
    j["OutcomeRandomMode"] = p.OutcomeRandomMode;
    j["StandoffPercent"] = p.StandoffPercent;
    j["GRateRandomising"] = p.GRateRandomising;
    if (array != nullptr) {
        Json a;
        a["NumOfRow"] = array->NumOfRow;
        a["NumOfCol"] = array->NumOfCol;
        a["TypeGRate"] = ArraySpreadName(array->TypeGRate);
        a["InfluxBetween"] = Shortest(array->InfluxBetween);
        a["InfluxTimeStep"] = array->InfluxTimeStep;
        a["InfluxInside"] = Shortest(array->InfluxInside);
        a["InitGRFName"] = array->InitGRFName;
        a["TypeVOTC"] = ArraySpreadName(array->TypeVOTC);
        a["InitOTCFName"] = array->InitOTCFName;
        j["Array"] = a;
    }
    return j;
}

Json OptionsJson(const OptionStruct& o)
{
    Json j;
#define QUORREL_OPTION(field) j[#field] = o.field
    QUORREL_OPTION(ShowCALandscape);
    QUORREL_OPTION(DisplayCycle);
    QUORREL_OPTION(WriteLandscape);
    QUORREL_OPTION(WriteLandTypes);
    QUORREL_OPTION(CAFilename);
    QUORREL_OPTION(WriteIntScape);
    QUORREL_OPTION(WriteIntTypes);
    QUORREL_OPTION(WriteIntEvery);
    QUORREL_OPTION(WriteIntFrom);
    QUORREL_OPTION(WriteIntUntil);
    QUORREL_OPTION(WriteConsolid);
    QUORREL_OPTION(ShowCoverage);
    QUORREL_OPTION(WriteCoverage);
    QUORREL_OPTION(CoverFilename);
    QUORREL_OPTION(ShowGRate1);
    QUORREL_OPTION(ShowGRate2);
    QUORREL_OPTION(WriteGRate);
    QUORREL_OPTION(GRateFilename);
    QUORREL_OPTION(ShowSTPlot);
    QUORREL_OPTION(STPlotCycle);
    QUORREL_OPTION(WriteSTP);
    QUORREL_OPTION(STPlotFilename);
    QUORREL_OPTION(ShowFTPlot);
    QUORREL_OPTION(FTPSpecies);
    QUORREL_OPTION(FTPlotCycle);
    QUORREL_OPTION(WriteFTP);
    QUORREL_OPTION(FTPlotFilename);
    QUORREL_OPTION(ShowOTC);
    QUORREL_OPTION(WriteOTC);
    QUORREL_OPTION(OTCFilename);
    QUORREL_OPTION(ShowGCGraph);
    QUORREL_OPTION(GCSpecies);
    QUORREL_OPTION(GCSpeciesA);
    QUORREL_OPTION(WriteGCGraph);
    QUORREL_OPTION(GCFilename);
    QUORREL_OPTION(ShowFTPOTC);
    QUORREL_OPTION(FTPOTCSpecies);
    QUORREL_OPTION(FTPOTCCycle);
    QUORREL_OPTION(WriteFTPOTC);
    QUORREL_OPTION(FTPOTCFilename);
    QUORREL_OPTION(WriteSW);
    QUORREL_OPTION(GenSWEvery);
    QUORREL_OPTION(GenSWFrom);
    QUORREL_OPTION(GenSWUntil);
    QUORREL_OPTION(DeltaSideSW);
    QUORREL_OPTION(SWFilename);
#undef QUORREL_OPTION
    Json mask = Json::array();
    for (size_t s = 0; s < o.SWSpeciesMask.size(); ++s)
        if (o.SWSpeciesMask.test(s))
            mask.push_back(s);
    j["SWSpeciesMask"] = mask;
    return j;
}

} // namespace quorrel
