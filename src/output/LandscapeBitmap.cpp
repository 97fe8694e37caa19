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
    // The row's last cells as the plain kernel colours them.
    const uint32_t highestSpecies = *std::max_element(lanes, lanes + 8);
    return std::max(highestSpecies, ColourRowPlain(row + x - 1, maxX - x + 1, line + x - 1, table));
}

// Sixteen cells at a time: the colours of species below 64 are looked up in four registers
// that hold the table's first 64 entries; a group with a higher species is gathered.
QRL_TARGET_512 uint32_t ColourRow512(const Cell* row, int maxX, QRgb* line,
                                     const std::array<QRgb, ColorMap::Size>& table)
{
    static_assert(sizeof(Cell) == 8 && ColorMap::Size >= 64);
    const auto* colours = reinterpret_cast<const int*>(table.data());
    const __m512i first = _mm512_loadu_si512(colours);
    const __m512i second = _mm512_loadu_si512(colours + 16);
    const __m512i third = _mm512_loadu_si512(colours + 32);
    const __m512i fourth = _mm512_loadu_si512(colours + 48);
    // The species are the even 32-bit halves of the cells.
    const __m512i evens = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i inRegisters = _mm512_set1_epi32(64);
    const __m512i upperHalf = _mm512_set1_epi32(32);
    const __m512i last = _mm512_set1_epi32(static_cast<int>(LastColour));
    // The masked forms with every lane set: the plain ones leave GCC 12 warning of their
    // unset source.
    constexpr __mmask16 all = 0xFFFF;
    const __m512i zero = _mm512_setzero_si512();
    __m512i highest = zero;
    int x = 1;
    for (; x + 15 <= maxX; x += 16) {
        const __m512i low = _mm512_loadu_si512(row + x);
        const __m512i high = _mm512_loadu_si512(row + x + 8);
        const __m512i species = _mm512_permutex2var_epi32(low, evens, high);
        highest = _mm512_mask_max_epu32(zero, all, highest, species);
        __m512i pixels;
        if (_mm512_cmpge_epu32_mask(species, inRegisters) == 0) {
            const __m512i below32 = _mm512_permutex2var_epi32(first, species, second);
            const __m512i from32 = _mm512_permutex2var_epi32(third, species, fourth);
            pixels = _mm512_mask_blend_epi32(_mm512_test_epi32_mask(species, upperHalf), below32, from32);
        } else {
            pixels = _mm512_mask_i32gather_epi32(zero, all, _mm512_mask_min_epu32(zero, all, species, last), colours,
                                                 4);
        }
        _mm512_storeu_si512(line + x - 1, pixels);
    }
    alignas(64) uint32_t lanes[16];
    _mm512_store_si512(lanes, highest);
    // The row's last cells as the plain kernel colours them.
    const uint32_t highestSpecies = *std::max_element(lanes, lanes + 16);
    return std::max(highestSpecies, ColourRowPlain(row + x - 1, maxX - x + 1, line + x - 1, table));
}
#endif

} // namespace

RowKernel FastestRowKernel()
{
    if (Kernel512Available())
        return RowKernel::Wide512;
    return WideKernelAvailable() ? RowKernel::Wide : RowKernel::Portable;
}

uint32_t ColourRow(const Cell* row, int maxX, QRgb* line, const std::array<QRgb, ColorMap::Size>& table,
                   RowKernel kernel)
{
#ifdef QRL_WIDE_KERNEL
    if (kernel == RowKernel::Wide512)
        return ColourRow512(row, maxX, line, table);
    if (kernel == RowKernel::Wide)
        return ColourRowWide(row, maxX, line, table);
#endif
    (void)kernel;
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
    static const RowKernel kernel = FastestRowKernel();
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape.Row(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine((y - 1) * pix));
        // One pixel per cell is the common case of a large landscape: a lookup per cell,
        // the species checked once per row.
        if (pix == 1) {
            if (ColourRow(row, p.MaxX, line, table, kernel) > LastColour)
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
