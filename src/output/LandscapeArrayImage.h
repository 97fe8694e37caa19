#pragma once

#include "engine/Dialogs.h"
#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/LandscapeArraySink.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <QImage>
#include <QSize>

namespace quorrel {

// The picture of a whole landscape array: one pixel per cell whatever PIX, landscape (r, c)
// in the block whose top-left pixel is ((c - 1)(MaxX + 5), (r - 1)(MaxY + 5)), the 5-pixel
// gaps between landscapes in GapColor. The picture holds colour-map indices (8 bits a pixel).
class LandscapeArrayImage {
public:
    static constexpr int Gap = 5;
    static constexpr int MaxClientSide = 700;
    static QRgb GapColor() { return qRgb(96, 96, 96); }

    LandscapeArrayImage(const ParameterSet& params, const LandscapeGrid& landscape, const ColorMap& colors,
                        LandscapeArraySink* sink = nullptr);

    void SetSink(LandscapeArraySink* sink) { sink_ = sink; }

    // Draws the current landscape as landscape (r, c) of generation g: a new picture for
    // g = 0 and (1, 1); the picture handed to the window.
    void ShowLandscapeArray(int g, int r, int c, int columns, int rows);
    // When the options ask for the final landscape as a bitmap: the picture as CAFilename
    // with the extension .bmp. A failure is reported as the landscape files' are.
    void WriteFinalBitmap(const OptionStruct& o, Dialogs& dialogs) const;
    // Whether anything sees the picture: a window, or the final bitmap the options ask for.
    bool Seen(const OptionStruct& o) const { return sink_ != nullptr || WritesFinalBitmap(o); }
    // Frees the picture after the last generation (the window keeps its copy).
    void Release() { picture_ = QImage(); }

    const QImage& Picture() const { return picture_; }

    static QSize PictureSize(int maxX, int maxY, int columns, int rows);
    static bool WritesFinalBitmap(const OptionStruct& o);
    // The window's client area for a picture: its size, at most 700 pixels each way.
    static QSize ClientSize(const QSize& picture);

private:
    const ParameterSet& params_;
    const LandscapeGrid& landscape_;
    const ColorMap& colors_;
    LandscapeArraySink* sink_;
    QImage picture_;
};

} // namespace quorrel
