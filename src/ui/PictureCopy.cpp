#include "ui/PictureCopy.h"

#include <algorithm>
#include <cstring>

namespace quorrel {

namespace {

bool SameShape(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.format() == b.format() && a.depth() == 32;
}

} // namespace

QRect ChangedArea(const QImage& before, const QImage& after, int firstRow, int lastRow)
{
    if (!SameShape(before, after))
        return after.rect();
    const int width = after.width();
    const auto rowOf = [width](const QImage& picture, int y) {
        return reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
    };
    const auto differs = [&](int y) { return std::memcmp(rowOf(before, y), rowOf(after, y), size_t(width) * 4) != 0; };
    // The first and the last row that differ, then the columns, each row searched only
    // where it could widen the columns found so far.
    int top = std::max(firstRow, 0);
    int bottom = std::min(lastRow, after.height() - 1);
    while (top <= bottom && !differs(top))
        ++top;
    if (top > bottom)
        return {};
    while (!differs(bottom))
        --bottom;
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom && (left > 0 || right < width - 1); ++y) {
        const uint32_t* a = rowOf(before, y);
        const uint32_t* b = rowOf(after, y);
        int l = 0;
        while (l < left && a[l] == b[l])
            ++l;
        left = std::min(left, l);
        int r = width - 1;
        while (r > right && a[r] == b[r])
            --r;
        right = std::max(right, r);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect PictureCopy::Take(const QImage& picture, int firstRow, int lastRow)
{
    if (!SameShape(copy_, picture)) {
        copy_ = picture.copy();
        return copy_.rect();
    }
    const QRect changed = ChangedArea(copy_, picture, firstRow, lastRow);
    for (int y = changed.top(); y <= changed.bottom(); ++y)
        std::memcpy(copy_.scanLine(y) + 4 * changed.left(), picture.constScanLine(y) + 4 * changed.left(),
                    size_t(changed.width()) * 4);
    return changed;
}

} // namespace quorrel
