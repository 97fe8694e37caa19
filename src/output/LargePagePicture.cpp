#include "output/LargePagePicture.h"

#include "engine/LargePageAllocator.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quorrel {

namespace {

using WordAllocator = LargePageAllocator<uint32_t>;

// The pixels of a picture, released when the picture's last copy goes.
struct Pixels {
    uint32_t* words;
    std::size_t count;
};

void ReleasePixels(void* info)
{
    auto* pixels = static_cast<Pixels*>(info);
    WordAllocator().deallocate(pixels->words, pixels->count);
    delete pixels;
}

} // namespace

QImage LargePagePicture(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows padded to whole 32-bit words, as QImage lays them out itself.
    const qsizetype bytesPerLine = (qsizetype(size.width()) * depth + 31) / 32 * 4;
    const std::size_t words = static_cast<std::size_t>(bytesPerLine / 4) * static_cast<std::size_t>(size.height());
    if (size.isEmpty() || depth <= 0 || words * 4 < WordAllocator::Threshold)
        return QImage(size, format);
    auto pixels = std::make_unique<Pixels>(Pixels{WordAllocator().allocate(words), words});
    QImage image(reinterpret_cast<uchar*>(pixels->words), size.width(), size.height(), bytesPerLine, format,
                 ReleasePixels, pixels.get());
    if (image.isNull()) {
        ReleasePixels(pixels.release());
        return QImage(size, format);
    }
    pixels.release();
    return image;
}

} // namespace quorrel
