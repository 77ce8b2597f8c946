#include "platform/ui/gdi/GdiPainting.h"

#include <QPainter>

#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObject.h"

namespace platform::ui {

bool PaintOn(DeviceContext& context, const std::function<void(QPainter&)>& draw)
{
    QImage* target = context.Target();
    if (target == nullptr)
        return false;
    QRect clip = context.ClipRect();
    if (clip.isEmpty())
        return true;
    QPainter painter(target);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(clip);
    draw(painter);
    return true;
}

std::optional<QColor> BrushColor(HBRUSH brush)
{
    GdiObject* object = LookupGdiObject(brush);
    if (object == nullptr || object->kind != GdiKind::Brush)
        return std::nullopt;
    if (object->style == 1)
        return QColor(0, 0, 0, 0);
    return QColorFromColorRef(object->color);
}

} // namespace platform::ui
