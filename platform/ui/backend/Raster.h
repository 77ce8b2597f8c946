// The core's own rasteriser: the backend's drawing calls done on the core's images without
// Qt, by the same rules and with the same pixels as the Qt backend where those are exact
// (fills, one-pixel lines, images at their own size, conversions, nearest scaling), for a
// run that shows no screen. Every function draws only inside both the clip and the image,
// whatever the coordinates: rectangles may be inverted or reach far past every edge.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/ui/backend/Image.h"
#include "platform/ui/backend/RenderBackend.h"

namespace platform::ui {

// 0xFFRRGGBB from the platform's 0x00BBGGRR, and back.
uint32_t ArgbFromColorRef(COLORREF color);
COLORREF ColorRefFromArgb(uint32_t pixel);
// Straight alpha to premultiplied and back, rounded as the Qt backend rounds.
uint32_t PremultiplyPixel(uint32_t pixel);
uint32_t UnpremultiplyPixel(uint32_t pixel);

// The pixels inside both rectangles take the colour, opaque.
void FillPixels(Image& target, const RECT& clip, const RECT& rect, COLORREF color);

// RenderBackend::DrawRectangle: outlined with the pen (none: no outline, and the fill one
// pixel smaller), filled with the colour when there is one.
void RasterRectangle(
    Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen, std::optional<COLORREF> fill);
// RenderBackend::DrawPolyline: one-pixel solid lines leave each segment's end point out.
void RasterPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen);
// RenderBackend::DrawImage: the source scaled into the rectangle (nearest pixel), blended by
// its alpha or opaque.
void RasterImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend);
// The colour blended into the target through an 8-bit coverage mask at x, y: 0 leaves a
// pixel, 255 gives it the colour. `pitch` is the distance between the mask's rows (negative
// for a mask stored bottom up).
void RasterCoverage(Image& target, const RECT& clip, int x, int y, const uint8_t* coverage, int width, int height,
    int pitch, COLORREF color);

// RenderBackend::Convert and RenderBackend::Scale (smooth: averaged, else nearest).
Image ConvertImage(const Image& image, PixelFormat format);
Image ScaleImage(const Image& image, int width, int height, bool smooth);
// RenderBackend::StandardIcon: the message box icons as shapes, premultiplied, transparent
// around the shape.
Image DrawStandardIcon(UINT iconType, int size);

} // namespace platform::ui
