#pragma once

#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "params/ParameterSet.h"

#include <QImage>

#include <string>

namespace quorrel {

// The landscape as a picture of MaxX*PIX x MaxY*PIX pixels: cell (x, y) is the PIX x PIX
// square at ((x - 1)*PIX, (y - 1)*PIX) in the colour of its species.
QImage DrawLandscapeBitmap(const GParamStruct& p, const LandscapeGrid& landscape, const ColorMap& colors);

// The resolution every .bmp file records: 96 dots per inch.
inline constexpr int BitmapDotsPerMeter = 3780;

// Writes a .bmp file. On failure returns false and puts the reason into error.
bool SaveBitmap(const QImage& image, const std::string& fileName, std::string& error);

} // namespace quorrel
