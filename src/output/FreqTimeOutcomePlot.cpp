#include "output/FreqTimeOutcomePlot.h"

#include "params/AssertionFailure.h"

#include <algorithm>

namespace quorrel {

FreqTimeOutcomePlot::FreqTimeOutcomePlot(const ParameterSet& params, const OptionStruct& options,
                                         const LandscapeGrid& landscape, const GenotypeGrid& genotypes,
                                         const ColorMap& colors, FreqTimeSink* sink)
    : FreqTimePlot(params, options, landscape, colors, sink), genotypes_(genotypes)
{
}

FreqTimePlot::Settings FreqTimeOutcomePlot::ReadSettings(const OptionStruct& options) const
{
    return {options.ShowFTPOTC, options.FTPOTCSpecies, options.FTPOTCCycle, options.WriteFTPOTC,
            options.FTPOTCFilename};
}

float FreqTimeOutcomePlot::MeanWin(int x, int y) const
{
    const GParamStruct& p = params_.GParamRec;
    if (!genotypes_.Allocated() || genotypes_.MaxX() < p.MaxX || genotypes_.MaxY() < p.MaxY ||
        genotypes_.Maxspec() != p.Maxspec)
        QRL_FAIL("The genotype grid does not fit the landscape", "Landscape");
    const int s = landscape_(x, y).Species;
    const OutcomeTriple* genotype = genotypes_.Genotype(x, y);
    long double sum = 0.0L;
    int count = 0;
    for (int j = 1; j <= p.Maxspec; ++j) {
        if (j == s || params_.OutcomeMatrix[s][j].Win >= 0)
            continue;
        sum += genotype[j - 1].Win;
        ++count;
    }
    return count > 0 ? static_cast<float>(sum / count) : 0.0f;
}

FreqTimePlot::Value FreqTimeOutcomePlot::ValueOf(int x, int y) const
{
    const float v = MeanWin(x, y);
    const int percent = std::clamp(static_cast<int>(v), 0, 100);
    return {std::min(percent / 10 + 1, Classes), percent};
}

} // namespace quorrel
