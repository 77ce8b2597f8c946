// The core's images as Qt sees them: a QImage over the same pixels, so that Qt draws into them
// in place, and copies back for images Qt makes.
#pragma once

#include <QImage>

#include "platform/ui/backend/Image.h"

namespace platform::ui {

QImage::Format QtFormat(PixelFormat format);
// Writes through to the image's pixels; valid while the image lives and keeps its size.
QImage WritableView(Image& image);
// Reads the image's pixels; valid while the image lives and keeps its size.
QImage ReadOnlyView(const Image& image);
// A copy of Qt's image in the nearest of the core's layouts.
Image ImageFromQt(const QImage& image);

} // namespace platform::ui
