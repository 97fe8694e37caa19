#include "output/LandscapeArrayImage.h"

#include <algorithm>

namespace quorrel {

LandscapeArrayImage::LandscapeArrayImage(const ParameterSet& params, const LandscapeGrid& landscape,
                                         const ColorMap& colors, LandscapeArraySink* sink)
    : params_(params), landscape_(landscape), colors_(colors), sink_(sink)
{
}

QSize LandscapeArrayImage::PictureSize(int maxX, int maxY, int columns, int rows)
{
    return QSize(maxX * columns + Gap * (columns - 1), maxY * rows + Gap * (rows - 1));
}

QSize LandscapeArrayImage::ClientSize(const QSize& picture)
{
    return QSize(std::min(picture.width(), MaxClientSide), std::min(picture.height(), MaxClientSide));
}

void LandscapeArrayImage::ShowLandscapeArray(int g, int r, int c, int columns, int rows)
{
    const GParamStruct& p = params_.GParamRec;
    if ((g == 0 && r == 1 && c == 1) || picture_.isNull()) {
        picture_ = QImage(PictureSize(p.MaxX, p.MaxY, columns, rows), QImage::Format_RGB32);
        picture_.fill(GapColor());
    }
    const int left = (c - 1) * (p.MaxX + Gap);
    const int top = (r - 1) * (p.MaxY + Gap);
    for (int y = 1; y <= p.MaxY; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(picture_.scanLine(top + y - 1)) + left;
        const Cell* cells = landscape_.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            const int s = cells[x].Species;
            line[x - 1] = colors_[s >= 0 && s <= MaxSpecies ? s : 0];
        }
    }
    if (sink_ != nullptr)
        sink_->ShowLandscapeArray(picture_);
    if (g == p.Maxgen && r == rows && c == columns)
        picture_ = QImage();
}

} // namespace quorrel
