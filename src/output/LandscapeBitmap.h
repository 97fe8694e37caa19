#pragma once

#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "params/ParameterSet.h"

#include <QImage>

#include <array>
#include <cstdint>

#include <string>

namespace quorrel {

// The landscape as a picture of MaxX*PIX x MaxY*PIX pixels: cell (x, y) is the PIX x PIX
// square at ((x - 1)*PIX, (y - 1)*PIX) in the colour of its species.
QImage DrawLandscapeBitmap(const GParamStruct& p, const LandscapeGrid& landscape, const ColorMap& colors);
// The same, drawn into picture when it has that size and shares its pixels with no other
// picture (a display that still shows it keeps what it shows), else into a new picture.
void DrawLandscapeBitmap(const GParamStruct& p, const LandscapeGrid& landscape, const ColorMap& colors,
                         QImage& picture);

// The kernels that colour a row: portable, 256-bit (only where WideKernelAvailable()) and
// 512-bit (only where Kernel512Available()); all give the same pixels.
enum class RowKernel { Portable, Wide, Wide512 };
// The fastest kernel this processor runs.
RowKernel FastestRowKernel();

// Cells 1..maxX of a row as pixels, one per cell, in the colours of the table; returns the
// highest species met, which the caller checks against the table (a higher one leaves
// the pixel of the table's last colour).
uint32_t ColourRow(const Cell* row, int maxX, QRgb* line, const std::array<QRgb, ColorMap::Size>& table,
                   RowKernel kernel);

// The resolution every .bmp file records: 96 dots per inch.
inline constexpr int BitmapDotsPerMeter = 3780;

// Writes a .bmp file. On failure returns false and puts the reason into error.
bool SaveBitmap(const QImage& image, const std::string& fileName, std::string& error);

} // namespace quorrel
