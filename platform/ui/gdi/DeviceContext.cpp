#include "platform/ui/gdi/DeviceContext.h"

#include <map>

#include "platform/core/LastError.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

struct ContextTable {
    std::map<uintptr_t, std::unique_ptr<DeviceContext>> contexts;
    uintptr_t next = 0x30010;
};

ContextTable& Table()
{
    static ContextTable* table = new ContextTable();
    return *table;
}

} // namespace

Image* DeviceContext::Target() const
{
    targetUsed = true;
    if (kind == Kind::Memory) {
        GdiObject* selected = LookupGdiObject(bitmap);
        return selected != nullptr ? &selected->image : nullptr;
    }
    Window* target = WindowManager::Get().Find(window);
    return target != nullptr ? &target->Surface() : nullptr;
}

RECT DeviceContext::ClipRect() const
{
    Image* target = Target();
    if (target == nullptr)
        return RECT {};
    RECT bounds { 0, 0, target->Width(), target->Height() };
    if (kind == Kind::Memory)
        return bounds;
    RECT clipped {};
    IntersectRect(&clipped, &bounds, &clip);
    return clipped;
}

HDC RegisterDeviceContext(std::unique_ptr<DeviceContext> context)
{
    ContextTable& table = Table();
    uintptr_t value = table.next;
    table.next += 4;
    if (context->pen == nullptr)
        context->pen = StockObject(BLACK_PEN);
    if (context->brush == nullptr)
        context->brush = StockObject(WHITE_BRUSH);
    if (context->font == nullptr)
        context->font = StockObject(SYSTEM_FONT);
    for (HGDIOBJ selected : { context->pen, context->brush, context->font, context->bitmap }) {
        if (GdiObject* object = LookupGdiObject(selected))
            ++object->selectCount;
    }
    table.contexts.emplace(value, std::move(context));
    return reinterpret_cast<HDC>(value);
}

DeviceContext* LookupDeviceContext(HDC dc)
{
    auto& contexts = Table().contexts;
    auto it = contexts.find(reinterpret_cast<uintptr_t>(dc));
    if (it == contexts.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

bool DestroyDeviceContext(HDC dc)
{
    auto& contexts = Table().contexts;
    auto it = contexts.find(reinterpret_cast<uintptr_t>(dc));
    if (it == contexts.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DeviceContext& context = *it->second;
    for (HGDIOBJ selected : { context.pen, context.brush, context.font, context.bitmap }) {
        GdiObject* object = LookupGdiObject(selected);
        if (object == nullptr)
            continue;
        --object->selectCount;
        if (object->deletePending && object->selectCount == 0)
            DestroyGdiObject(selected);
    }
    contexts.erase(it);
    return true;
}

HDC MakeWindowContext(HWND window, const RECT& clip, bool paint)
{
    auto context = std::make_unique<DeviceContext>();
    context->kind = DeviceContext::Kind::Window;
    context->window = window;
    context->clip = clip;
    context->paint = paint;
    return RegisterDeviceContext(std::move(context));
}

} // namespace platform::ui
