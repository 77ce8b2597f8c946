#include "platform/ui/gdi/GdiObject.h"

#include <map>
#include <memory>

#include "platform/device/Device.h"

namespace platform::ui {

namespace {

struct GdiTable {
    std::map<uintptr_t, std::unique_ptr<GdiObject>> objects;
    uintptr_t next = 0x20010;
    std::map<int, HGDIOBJ> stock;
};

GdiTable& Table()
{
    static GdiTable* table = new GdiTable();
    return *table;
}

std::unique_ptr<GdiObject> MakeStock(int index)
{
    auto object = std::make_unique<GdiObject>();
    object->stock = true;
    switch (index) {
    case WHITE_BRUSH:
        object->color = RGB(255, 255, 255);
        break;
    case LTGRAY_BRUSH:
        object->color = RGB(192, 192, 192);
        break;
    case GRAY_BRUSH:
        object->color = RGB(128, 128, 128);
        break;
    case DKGRAY_BRUSH:
        object->color = RGB(64, 64, 64);
        break;
    case BLACK_BRUSH:
        object->color = RGB(0, 0, 0);
        break;
    case NULL_BRUSH:
        object->style = 1; // BS_NULL
        break;
    case WHITE_PEN:
        object->kind = GdiKind::Pen;
        object->color = RGB(255, 255, 255);
        break;
    case BLACK_PEN:
        object->kind = GdiKind::Pen;
        break;
    case NULL_PEN:
        object->kind = GdiKind::Pen;
        object->style = 5; // PS_NULL
        break;
    case SYSTEM_FONT:
        object->kind = GdiKind::Font;
        object->systemFont = true;
        break;
    default:
        return nullptr;
    }
    return object;
}

} // namespace

GdiObject* LookupGdiObject(HGDIOBJ handle)
{
    auto& objects = Table().objects;
    auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects.end() ? nullptr : it->second.get();
}

HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> object)
{
    GdiTable& table = Table();
    uintptr_t value = table.next;
    table.next += 4;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HGDIOBJ>(value);
}

bool DestroyGdiObject(HGDIOBJ handle)
{
    auto& objects = Table().objects;
    auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects.end())
        return false;
    if (it->second->stock)
        return true;
    objects.erase(it);
    return true;
}

HGDIOBJ StockObject(int index)
{
    GdiTable& table = Table();
    auto it = table.stock.find(index);
    if (it != table.stock.end())
        return it->second;
    std::unique_ptr<GdiObject> object = MakeStock(index);
    if (object == nullptr)
        return nullptr;
    HGDIOBJ handle = RegisterGdiObject(std::move(object));
    table.stock.emplace(index, handle);
    return handle;
}

size_t LiveGdiObjectCount()
{
    size_t count = 0;
    for (const auto& [handle, object] : Table().objects) {
        if (!object->stock)
            ++count;
    }
    return count;
}

LOGFONTW SystemLogFont()
{
    LOGFONTW font {};
    int dpi = CurrentDevice().dpi;
    font.lfHeight = -((8 * dpi + 36) / 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = 1; // DEFAULT_CHARSET
    font.lfQuality = DEFAULT_QUALITY;
    const wchar_t face[] = L"DejaVu Sans";
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    return font;
}

LOGFONTW LogFontOf(const GdiObject& font)
{
    return font.systemFont ? SystemLogFont() : font.logFont;
}

LOGFONTW LogFontOfHandle(HGDIOBJ handle)
{
    GdiObject* object = LookupGdiObject(handle);
    if (object == nullptr || object->kind != GdiKind::Font)
        return SystemLogFont();
    return LogFontOf(*object);
}

} // namespace platform::ui
