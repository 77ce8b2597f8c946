// Keeps, per window, what the paint in progress draws and what the last paint drew.
#pragma once

#include "platform/ui/Observe.h"

namespace platform::ui {

class Window;
class DeviceContext;

void BeginPaintRecording(Window& window, const RECT& area);
void EndPaintRecording(Window& window);
void MarkErased(Window& window);
// Called by the drawing calls on a context; recorded when the context belongs to a paint.
void RecordText(DeviceContext& context, const PaintedText& text);
void RecordIcon(DeviceContext& context, const PaintedIcon& icon);

} // namespace platform::ui
