#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/OutputOptions.h"
#include "params/ParameterFile.h"
#include "params/ParameterSet.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>

namespace quorrel::test {

// A small variable-outcome landscape built by hand: every relation fixed (stand-off) until
// SetVariable marks a pair, every cell empty and every genotype entry unset until Place.
class VariableFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        params.StartDir = dir.Path();
        params.SetInbuiltDefaults();
        params.UpdateGRateFractions();
        options = SetDefaultOptions(dir.Path());
        Resize(10, 10, 3, 100);
    }

    void Resize(int maxX, int maxY, int maxspec, int maxgen)
    {
        GParamStruct& p = params.GParamRec;
        p.MaxX = maxX;
        p.MaxY = maxY;
        p.Maxspec = maxspec;
        p.Maxgen = maxgen;
        params.ResetOutcome(1);
        for (int y = 0; y <= maxY + 1; ++y)
            for (int x = 0; x <= maxX + 1; ++x)
                landscape(x, y) = EmptyCell;
        ASSERT_TRUE(genotypes.Allocate(maxX, maxY, maxspec));
        genotypes.MarkAllUnset();
    }

    void SetVariable(int s, int j)
    {
        params.OutcomeMatrix[s][j] = OutcomeTriple{-1, 0, 0};
        params.OutcomeMatrix[j][s] = OutcomeTriple{-1, 0, 0};
    }

    // An individual with its genotype entries against the given opponents.
    void Place(int x, int y, int species, float rate, std::initializer_list<std::pair<int, OutcomeTriple>> entries = {})
    {
        landscape(x, y) = Cell{species, rate};
        OutcomeTriple* genotype = genotypes.Renew(x, y);
        for (const auto& [j, triple] : entries)
            genotype[j - 1] = triple;
    }

    void Clear()
    {
        for (int y = 1; y <= params.GParamRec.MaxY; ++y)
            for (int x = 1; x <= params.GParamRec.MaxX; ++x)
                Place(x, y, 0, 0.0f);
    }

    std::string Listing(const std::string& name) const
    {
        std::ostringstream out;
        WriteParameterListing(out, params, name);
        return out.str();
    }

    // The colours of row y of a picture from column left, width pixels.
    static std::vector<QRgb> Row(const QImage& picture, int y, int left, int width)
    {
        std::vector<QRgb> row;
        for (int x = left; x < left + width; ++x)
            row.push_back(picture.pixel(x, y) | 0xff000000u);
        return row;
    }

    TempFolder dir;
    ParameterSet params;
    OptionStruct options;
    LandscapeGrid landscape;
    GenotypeGrid genotypes;
    ColorMap colors;
};

} // namespace quorrel::test
