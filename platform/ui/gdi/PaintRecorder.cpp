#include "platform/ui/gdi/PaintRecorder.h"

#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

PaintRecord* CurrentRecord(DeviceContext& context)
{
    if (context.kind != DeviceContext::Kind::Window || !context.paint)
        return nullptr;
    Window* window = WindowManager::Get().Find(context.window);
    return window != nullptr && window->currentPaint ? &*window->currentPaint : nullptr;
}

} // namespace

void BeginPaintRecording(Window& window, const RECT& area)
{
    window.currentPaint = PaintRecord {};
    window.currentPaint->paintRect = area;
}

void EndPaintRecording(Window& window)
{
    if (!window.currentPaint)
        return;
    window.lastPaint = std::move(*window.currentPaint);
    window.currentPaint.reset();
}

void MarkErased(Window& window)
{
    if (window.currentPaint)
        window.currentPaint->erased = true;
}

void RecordText(DeviceContext& context, const PaintedText& text)
{
    if (PaintRecord* record = CurrentRecord(context))
        record->texts.push_back(text);
}

void RecordIcon(DeviceContext& context, const PaintedIcon& icon)
{
    if (PaintRecord* record = CurrentRecord(context))
        record->icons.push_back(icon);
}

} // namespace platform::ui
