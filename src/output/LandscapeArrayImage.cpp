#include "output/LandscapeArrayImage.h"

#include "output/FileNames.h"
#include "output/LandscapeBitmap.h"
#include "output/LargePagePicture.h"

#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstring>

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
        // One byte per pixel: the colour map's index, and one more entry for the gaps.
        picture_ = LargePagePicture(PictureSize(p.MaxX, p.MaxY, columns, rows), QImage::Format_Indexed8);
        // The bytes that pad each row to whole words go into the bitmap file as they are:
        // zeros, not whatever the memory held before.
        std::memset(picture_.bits(), 0, static_cast<std::size_t>(picture_.sizeInBytes()));
        QList<QRgb> table(colors_.Table().begin(), colors_.Table().end());
        table.push_back(GapColor());
        picture_.setColorTable(table);
        picture_.fill(static_cast<uint>(ColorMap::Size));
    }
    const int left = (c - 1) * (p.MaxX + Gap);
    const int top = (r - 1) * (p.MaxY + Gap);
    for (int y = 1; y <= p.MaxY; ++y) {
        uchar* line = picture_.scanLine(top + y - 1) + left;
        const Cell* cells = landscape_.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            const int s = cells[x].Species;
            line[x - 1] = static_cast<uchar>(s >= 0 && s <= MaxSpecies ? s : 0);
        }
    }
    if (sink_ != nullptr)
        sink_->ShowLandscapeArray(picture_);
}

bool LandscapeArrayImage::WritesFinalBitmap(const OptionStruct& o)
{
    return o.WriteLandscape && IncludesBitmap(o.WriteLandTypes);
}

void LandscapeArrayImage::WriteFinalBitmap(const OptionStruct& o, Dialogs& dialogs) const
{
    if (!WritesFinalBitmap(o) || picture_.isNull())
        return;
    const std::string name = ChangeExtension(o.CAFilename, ".bmp");
    if (std::string error; !SaveBitmap(picture_, name, error))
        dialogs.Message(MessageKind::Error, "Unable to write the landscape file:\r  " + name + "\r" + error,
                        MessageButtons::Ok);
}

} // namespace quorrel
