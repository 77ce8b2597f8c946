// Drawing helpers shared by the drawing calls: a painter on a context's target with its clip,
// and the colours of brushes and pens (including the platform's system-colour brushes).
#pragma once

#include <functional>
#include <optional>

#include <QColor>

#include "platform/ui/WinGdi.h"

class QPainter;

namespace platform::ui {

class DeviceContext;

// Runs the drawing on a painter over the context's target, clipped; false when the context
// has nowhere to draw.
bool PaintOn(DeviceContext& context, const std::function<void(QPainter&)>& draw);
// The fill colour of a brush handle (transparent for a null brush); none when the handle is
// not a brush.
std::optional<QColor> BrushColor(HBRUSH brush);

} // namespace platform::ui
