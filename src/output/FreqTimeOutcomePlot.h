#pragma once

#include "engine/GenotypeGrid.h"
#include "output/FreqTimePlot.h"

namespace quorrel {

// The frequency-time plot of variable outcome: as the plot of growth rates, for the species
// FTPOTCSpecies, every FTPOTCCycle generations, saved under FTPOTCFilename. The value of an
// individual is the mean Win of its genotype entries against the species whose relation with
// its own is variable (0 when there is none), read from the current genotype grid.
class FreqTimeOutcomePlot : public FreqTimePlot {
public:
    FreqTimeOutcomePlot(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                        const GenotypeGrid& genotypes, const ColorMap& colors, FreqTimeSink* sink = nullptr);

    // The mean Win of the individual at (x, y), summed in extended precision, held as float.
    float MeanWin(int x, int y) const;

protected:
    Settings ReadSettings(const OptionStruct& options) const override;
    Value ValueOf(int x, int y) const override;
    bool ValuesAreGrowthRates() const override { return false; }

private:
    const GenotypeGrid& genotypes_;
};

} // namespace quorrel
