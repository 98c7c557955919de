#include "core/SimulatedImage.h"

#include <QImage>

void simulateImage(Vision vision, QImage& image)
{
    if (vision == Vision::Normal || image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    // Both formats hold each pixel as one 0xAARRGGBB word (RGB32 with alpha 0xFF), rows padded to
    // whole words.
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y)
        simulatePixels(vision, reinterpret_cast<std::uint32_t*>(image.scanLine(y)), static_cast<std::size_t>(width));
}
