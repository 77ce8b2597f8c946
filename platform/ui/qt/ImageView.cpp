#include "platform/ui/qt/ImageView.h"

#include <algorithm>

namespace platform::ui {

QImage::Format QtFormat(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Rgb32:
        return QImage::Format_RGB32;
    case PixelFormat::Argb32:
        return QImage::Format_ARGB32;
    case PixelFormat::Argb32Premultiplied:
        return QImage::Format_ARGB32_Premultiplied;
    }
    return QImage::Format_RGB32;
}

QImage WritableView(Image& image)
{
    if (image.IsNull())
        return QImage();
    return QImage(reinterpret_cast<uchar*>(image.Bits()), image.Width(), image.Height(), image.Width() * 4,
        QtFormat(image.Format()));
}

QImage ReadOnlyView(const Image& image)
{
    if (image.IsNull())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(), image.Width() * 4,
        QtFormat(image.Format()));
}

Image ImageFromQt(const QImage& source)
{
    if (source.isNull())
        return Image();
    PixelFormat format = PixelFormat::Argb32Premultiplied;
    if (source.format() == QImage::Format_RGB32)
        format = PixelFormat::Rgb32;
    else if (source.format() == QImage::Format_ARGB32)
        format = PixelFormat::Argb32;
    QImage converted = source.convertToFormat(QtFormat(format));
    Image image(converted.width(), converted.height(), format);
    for (int y = 0; y < image.Height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(converted.constScanLine(y));
        std::copy(line, line + image.Width(), image.Row(y));
    }
    return image;
}

} // namespace platform::ui
