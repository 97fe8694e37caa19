#include "output/LandscapeBitmap.h"

#include "engine/WideKernel.h"
#ifdef QRL_WIDE_KERNEL
#include "engine/SpeciesLanes.h"
#endif
#include "output/LargePagePicture.h"
#include "params/AssertionFailure.h"

#include <QFile>
#include <QString>

#include <algorithm>

namespace quorrel {

namespace {

constexpr uint32_t LastColour = ColorMap::Size - 1;

uint32_t ColourRowPlain(const Cell* row, int maxX, QRgb* line, const std::array<QRgb, ColorMap::Size>& table)
{
    uint32_t highest = 0;
    for (int x = 1; x <= maxX; ++x) {
        const auto species = static_cast<uint32_t>(row[x].Species);
        highest = std::max(highest, species);
        line[x - 1] = table[std::min(species, LastColour)];
    }
    return highest;
}

#ifdef QRL_WIDE_KERNEL
// Eight cells at a time: their species gathered out of the (species, rate) pairs, each
// looked up in the table by one gather.
__attribute__((target("avx2"))) uint32_t ColourRowWide(const Cell* row, int maxX, QRgb* line,
                                                       const std::array<QRgb, ColorMap::Size>& table)
{
    static_assert(sizeof(Cell) == 8);
    const auto* colours = reinterpret_cast<const int*>(table.data());
    const __m256i last = _mm256_set1_epi32(static_cast<int>(LastColour));
    __m256i highest = _mm256_setzero_si256();
    int x = 1;
    for (; x + 7 <= maxX; x += 8) {
        const __m256i species = SpeciesOfEight(row + x);
        highest = _mm256_max_epu32(highest, species);
        const __m256i pixels = _mm256_i32gather_epi32(colours, _mm256_min_epu32(species, last), 4);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + x - 1), pixels);
    }
    alignas(32) uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), highest);
    uint32_t result = *std::max_element(lanes, lanes + 8);
    for (; x <= maxX; ++x) {
        const auto species = static_cast<uint32_t>(row[x].Species);
        result = std::max(result, species);
        line[x - 1] = table[std::min(species, LastColour)];
    }
    return result;
}
#endif

} // namespace

uint32_t ColourRow(const Cell* row, int maxX, QRgb* line, const std::array<QRgb, ColorMap::Size>& table, bool wide)
{
#ifdef QRL_WIDE_KERNEL
    if (wide)
        return ColourRowWide(row, maxX, line, table);
#endif
    (void)wide;
    return ColourRowPlain(row, maxX, line, table);
}

QImage DrawLandscapeBitmap(const GParamStruct& p, const LandscapeGrid& landscape, const ColorMap& colors)
{
    QImage image;
    DrawLandscapeBitmap(p, landscape, colors, image);
    return image;
}

void DrawLandscapeBitmap(const GParamStruct& p, const LandscapeGrid& landscape, const ColorMap& colors,
                         QImage& image)
{
    const int pix = p.PIX;
    const QSize size(p.MaxX * pix, p.MaxY * pix);
    if (image.size() != size || image.format() != QImage::Format_RGB32 || !image.isDetached())
        image = LargePagePicture(size, QImage::Format_RGB32);
    if (image.isNull())
        return;
    const auto& table = colors.Table();
    static const bool wide = WideKernelAvailable();
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape.Row(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine((y - 1) * pix));
        // One pixel per cell is the common case of a large landscape: a lookup per cell,
        // the species checked once per row.
        if (pix == 1) {
            if (ColourRow(row, p.MaxX, line, table, wide) > LastColour)
                QRL_FAIL("DrawLandscapeBitmap: bad species", "Landscape");
            continue;
        }
        for (int x = 1; x <= p.MaxX; ++x) {
            const int species = row[x].Species;
            if (species < 0 || species >= ColorMap::Size)
                QRL_FAIL("DrawLandscapeBitmap: bad species", "Landscape");
            std::fill_n(line + (x - 1) * pix, pix, table[species]);
        }
        for (int k = 1; k < pix; ++k)
            std::copy_n(line, image.width(), reinterpret_cast<QRgb*>(image.scanLine((y - 1) * pix + k)));
    }
}

bool SaveBitmap(const QImage& image, const std::string& fileName, std::string& error)
{
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file.errorString().toStdString();
        return false;
    }
    // A fixed resolution in the header: by default QImage takes the screen's, so the same
    // picture would be written differently by the desktop program and the batch runner.
    QImage fixed = image;
    fixed.setDotsPerMeterX(BitmapDotsPerMeter);
    fixed.setDotsPerMeterY(BitmapDotsPerMeter);
    if (!fixed.save(&file, "BMP") || !file.flush()) {
        error = file.errorString().toStdString();
        if (error.empty() || error == "Unknown error")
            error = "(unknown failure)";
        return false;
    }
    return true;
}

} // namespace quorrel
