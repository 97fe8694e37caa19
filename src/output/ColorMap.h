#pragma once

#include <QRgb>

#include <array>

namespace quorrel {

// The screen colours of the program: index 0 an empty cell, 1..40 the species,
// 41..141 a grey ramp for the values 0..100 (41 white, then from 214 down to black).
class ColorMap {
public:
    static constexpr int Size = 142;
    static constexpr int Empty = 0;
    static constexpr int FirstGrey = 41;

    ColorMap();

    QRgb operator[](int index) const { return colors_[index]; }
    const std::array<QRgb, Size>& Table() const { return colors_; }

    // The grey level of ramp index 41..141.
    static int GreyLevel(int index);

private:
    std::array<QRgb, Size> colors_;
};

} // namespace quorrel
