#include "output/LandscapeBitmap.h"

#include "params/AssertionFailure.h"

#include <QFile>
#include <QString>

#include <algorithm>

namespace quorrel {

QImage DrawLandscapeBitmap(const GParamStruct& p, const LandscapeGrid& landscape, const ColorMap& colors)
{
    const int pix = p.PIX;
    QImage image(p.MaxX * pix, p.MaxY * pix, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const auto& table = colors.Table();
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape.Row(y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine((y - 1) * pix));
        // One pixel per cell is the common case of a large landscape: a plain lookup per cell.
        if (pix == 1) {
            for (int x = 1; x <= p.MaxX; ++x) {
                const auto species = static_cast<uint32_t>(row[x].Species);
                if (species >= static_cast<uint32_t>(ColorMap::Size))
                    QRL_FAIL("DrawLandscapeBitmap: bad species", "Landscape");
                line[x - 1] = table[species];
            }
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
    return image;
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
