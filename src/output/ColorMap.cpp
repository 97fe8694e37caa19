#include "output/ColorMap.h"

namespace quorrel {

namespace {

constexpr unsigned char SpeciesColors[41][3] = {
    {255, 255, 255}, {0, 255, 255}, {255, 255, 0},  {255, 0, 0},    {0, 0, 128},     {0, 255, 0},
    {0, 0, 255},     {128, 0, 0},   {160, 160, 164}, {128, 128, 0},  {166, 202, 240}, {192, 220, 192},
    {192, 192, 192}, {0, 128, 128}, {128, 0, 128},  {0, 128, 0},    {255, 251, 240}, {255, 0, 255},
    {128, 128, 128}, {0, 0, 0},     {63, 255, 0},   {255, 65, 0},   {63, 0, 255},    {180, 120, 0},
    {0, 255, 61},    {255, 233, 0}, {108, 0, 255},  {0, 0, 201},    {0, 190, 255},   {76, 0, 104},
    {0, 40, 100},    {128, 255, 0}, {0, 190, 0},    {164, 0, 0},    {56, 0, 0},      {252, 36, 0},
    {180, 116, 200}, {0, 123, 0},   {0, 24, 204},   {0, 61, 255},   {0, 0, 158},
};

} // namespace

int ColorMap::GreyLevel(int index)
{
    if (index <= FirstGrey)
        return 255;
    // A steady fall of 255/118 per step, rounded half up: 214 at 42, 128 at 82, 0 at 141.
    return (255 * (Size - 1 - index) + 59) / 118;
}

ColorMap::ColorMap()
{
    for (int i = 0; i < FirstGrey; ++i)
        colors_[i] = qRgb(SpeciesColors[i][0], SpeciesColors[i][1], SpeciesColors[i][2]);
    for (int i = FirstGrey; i < Size; ++i) {
        const int level = GreyLevel(i);
        colors_[i] = qRgb(level, level, level);
    }
}

} // namespace quorrel
