// What the drawing calls share: where a context's drawing goes, and the colours of brushes
// and pens as the backend draws them.
#pragma once

#include <optional>

#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/backend/Image.h"
#include "platform/ui/backend/Raster.h" // FillPixels

namespace platform::ui {

class DeviceContext;

// The image a context draws on and its clip; no image when the context has nowhere to draw.
struct PaintTarget {
    Image* image = nullptr;
    RECT clip {};

    // Somewhere to draw, and some of it inside the clip.
    bool Drawable() const { return image != nullptr && clip.right > clip.left && clip.bottom > clip.top; }
};
PaintTarget TargetOf(const DeviceContext& context);

// A brush handle: the colour it fills with, or hollow for the null brush.
struct BrushFill {
    bool hollow = false;
    COLORREF color = 0;
};
// None when the handle is not a brush.
std::optional<BrushFill> BrushOf(HBRUSH brush);
// The pen that draws; none for the null pen or what is no pen.
std::optional<PenSpec> PenOf(HGDIOBJ pen);

} // namespace platform::ui
