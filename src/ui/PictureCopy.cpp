#include "ui/PictureCopy.h"

#include <algorithm>
#include <cstring>

namespace quorrel {

namespace {

constexpr int NarrowBand = 16;

bool SameShape(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.format() == b.format() && a.depth() == 32;
}

// The rows firstRow..lastRow of the picture; empty when none of them is in it.
QRect Rows(const QImage& picture, int firstRow, int lastRow)
{
    const int top = std::max(firstRow, 0);
    const int bottom = std::min(lastRow, picture.height() - 1);
    return top <= bottom && picture.width() > 0 ? QRect(0, top, picture.width(), bottom - top + 1) : QRect();
}

} // namespace

QRect ChangedArea(const QImage& before, const QImage& after, const QRect& within)
{
    if (!SameShape(before, after))
        return after.rect();
    const QRect area = within & after.rect();
    if (area.isEmpty())
        return {};
    const int first = area.left();
    const int last = area.right();
    // A row of each from the first and the line length, taken once.
    const auto rows = [](const QImage& picture) {
        return [bits = picture.constBits(), line = picture.bytesPerLine()](int y) {
            return reinterpret_cast<const uint32_t*>(bits + y * line);
        };
    };
    const auto beforeRow = rows(before);
    const auto afterRow = rows(after);
    const int width = area.width();
    const auto differs = [&](int y) {
        const uint32_t* a = beforeRow(y) + first;
        const uint32_t* b = afterRow(y) + first;
        // A narrow band (the columns a plot has just drawn) costs less compared in place than
        // through a call a row.
        if (width <= NarrowBand) {
            uint32_t difference = 0;
            for (int x = 0; x < width; ++x)
                difference |= a[x] ^ b[x];
            return difference != 0;
        }
        return std::memcmp(a, b, size_t(width) * 4) != 0;
    };
    // The first and the last row that differ, then the columns, each row searched only
    // where it could widen the columns found so far.
    int top = area.top();
    int bottom = area.bottom();
    while (top <= bottom && !differs(top))
        ++top;
    if (top > bottom)
        return {};
    while (!differs(bottom))
        --bottom;
    int left = last + 1;
    int right = first - 1;
    for (int y = top; y <= bottom && (left > first || right < last); ++y) {
        const uint32_t* a = beforeRow(y);
        const uint32_t* b = afterRow(y);
        int l = first;
        while (l < left && a[l] == b[l])
            ++l;
        left = std::min(left, l);
        int r = last;
        while (r > right && a[r] == b[r])
            --r;
        right = std::max(right, r);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect ChangedArea(const QImage& before, const QImage& after, int firstRow, int lastRow)
{
    return ChangedArea(before, after, Rows(after, firstRow, lastRow));
}

QRect PictureCopy::Take(const QImage& picture, int firstRow, int lastRow)
{
    return Take(picture, Rows(picture, firstRow, lastRow));
}

QRect PictureCopy::Take(const QImage& picture, const QRect& within)
{
    if (!SameShape(copy_, picture)) {
        copy_ = picture.copy();
        return copy_.rect();
    }
    const QRect changed = ChangedArea(copy_, picture, within);
    for (int y = changed.top(); y <= changed.bottom(); ++y)
        std::memcpy(copy_.scanLine(y) + 4 * changed.left(), picture.constScanLine(y) + 4 * changed.left(),
                    size_t(changed.width()) * 4);
    return changed;
}

} // namespace quorrel
