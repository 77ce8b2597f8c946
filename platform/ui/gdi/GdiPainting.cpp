#include "platform/ui/gdi/GdiPainting.h"

#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObject.h"

namespace platform::ui {

PaintTarget TargetOf(const DeviceContext& context)
{
    PaintTarget target;
    target.image = context.Target();
    if (target.image != nullptr)
        target.clip = context.ClipRect();
    return target;
}

std::optional<BrushFill> BrushOf(HBRUSH brush)
{
    GdiObject* object = LookupGdiObject(brush);
    if (object == nullptr || object->kind != GdiKind::Brush)
        return std::nullopt;
    if (object->style == 1) // BS_NULL
        return BrushFill { true, 0 };
    return BrushFill { false, object->color };
}

std::optional<PenSpec> PenOf(HGDIOBJ handle)
{
    GdiObject* pen = LookupGdiObject(handle);
    if (pen == nullptr || pen->kind != GdiKind::Pen || pen->style == PS_NULL)
        return std::nullopt;
    return PenSpec { pen->style == PS_DASH ? PS_DASH : PS_SOLID, pen->width > 0 ? pen->width : 1, pen->color };
}

} // namespace platform::ui
