// Module resources and the loading calls.
#include <algorithm>
#include <map>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/gdi/ResourceData.h"

using platform::ModuleResources;
using namespace platform::ui;

namespace {

std::map<HMODULE, ModuleResources>& Modules()
{
    static auto* modules = new std::map<HMODULE, ModuleResources>();
    return *modules;
}

struct FoundResource {
    HMODULE module;
    int type;
    int id;
};

std::map<uintptr_t, FoundResource>& Found()
{
    static auto* found = new std::map<uintptr_t, FoundResource>();
    return *found;
}

std::map<uintptr_t, Icon>& Icons()
{
    static auto* icons = new std::map<uintptr_t, Icon>();
    return *icons;
}

Image FromPixels(int width, int height, const uint32_t* pixels, PixelFormat format)
{
    Image image(width, height, format);
    for (int y = 0; y < image.Height(); ++y)
        std::copy_n(pixels + static_cast<size_t>(y) * static_cast<size_t>(width), width, image.Row(y));
    if (format == PixelFormat::Rgb32) {
        for (int y = 0; y < image.Height(); ++y)
            for (uint32_t* pixel = image.Row(y); pixel != image.Row(y) + width; ++pixel)
                *pixel |= 0xFF000000u;
    }
    return image;
}

int IdOf(LPCWSTR name)
{
    return IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<uintptr_t>(name)) : -1;
}

// The image of the icon nearest the size: exact, else the smallest larger, else the largest.
const Image* NearestImage(const std::vector<Image>& images, int width, int height)
{
    const Image* best = nullptr;
    for (const Image& image : images) {
        if (image.Width() == width && image.Height() == height)
            return &image;
    }
    for (const Image& image : images) {
        if (image.Width() >= width && (best == nullptr || image.Width() < best->Width()))
            best = &image;
    }
    if (best != nullptr)
        return best;
    for (const Image& image : images) {
        if (best == nullptr || image.Width() > best->Width())
            best = &image;
    }
    return best;
}

} // namespace

namespace platform {

ModuleResources::ModuleResources()
    : m_impl(std::make_unique<Impl>())
{
}
ModuleResources::~ModuleResources() = default;
ModuleResources::ModuleResources(ModuleResources&&) noexcept = default;
ModuleResources& ModuleResources::operator=(ModuleResources&&) noexcept = default;

void ModuleResources::AddIcon(int id, int width, int height, const uint32_t* argb)
{
    m_impl->icons[id].push_back(FromPixels(width, height, argb, PixelFormat::Argb32));
}

void ModuleResources::AddBitmap(int id, int width, int height, int bitsPerPixel, const uint32_t* rgb)
{
    m_impl->bitmaps[id] = Impl::Bitmap { FromPixels(width, height, rgb, PixelFormat::Rgb32), bitsPerPixel };
}

void ModuleResources::AddDialog(int id, const void* dialogTemplate, size_t size)
{
    m_impl->dialogs[id] = Impl::Dialog { dialogTemplate, size };
}

void ModuleResources::AddString(int id, std::wstring text)
{
    m_impl->strings[id] = std::move(text);
}

void RegisterModuleResources(HINSTANCE module, ModuleResources resources)
{
    Modules()[module] = std::move(resources);
}

void UnregisterModuleResources(HINSTANCE module)
{
    Modules().erase(module);
    auto& found = Found();
    for (auto it = found.begin(); it != found.end();)
        it = it->second.module == module ? found.erase(it) : std::next(it);
}

int DialogTemplateId(const void* dialogTemplate)
{
    for (const auto& [module, resources] : Modules()) {
        for (const auto& [id, dialog] : resources.Data().dialogs) {
            if (dialog.data == dialogTemplate)
                return id;
        }
    }
    return 0;
}

} // namespace platform

namespace platform::ui {

const ModuleResources::Impl* ResourcesOf(HMODULE module)
{
    auto it = Modules().find(module);
    return it != Modules().end() ? &it->second.Data() : nullptr;
}

HICON RegisterIcon(Icon icon)
{
    static uintptr_t next = 0x40010;
    uintptr_t value = next;
    next += 4;
    Icons().emplace(value, std::move(icon));
    return reinterpret_cast<HICON>(value);
}

Icon* LookupIcon(HICON icon)
{
    auto it = Icons().find(reinterpret_cast<uintptr_t>(icon));
    return it != Icons().end() ? &it->second : nullptr;
}

bool DestroyIconObject(HICON icon)
{
    return Icons().erase(reinterpret_cast<uintptr_t>(icon)) > 0;
}

} // namespace platform::ui

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    const ModuleResources::Impl* resources = ResourcesOf(module);
    int id = IdOf(name);
    int kind = IdOf(type);
    if (resources == nullptr || id < 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    bool present = false;
    if (type == RT_DIALOG)
        present = resources->dialogs.count(id) > 0;
    else if (type == RT_BITMAP)
        present = resources->bitmaps.count(id) > 0;
    else if (type == RT_GROUP_ICON || type == RT_ICON)
        present = resources->icons.count(id) > 0;
    else if (type == RT_STRING)
        present = resources->strings.count(id) > 0;
    else {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    if (!present) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    static uintptr_t next = 0x50010;
    uintptr_t value = next;
    next += 4;
    Found().emplace(value, FoundResource { module, kind, id });
    return reinterpret_cast<HRSRC>(value);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource)
{
    auto it = Found().find(reinterpret_cast<uintptr_t>(resource));
    const ModuleResources::Impl* resources = ResourcesOf(module);
    if (it == Found().end() || it->second.module != module || resources == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if (it->second.type == IdOf(RT_DIALOG))
        return const_cast<void*>(resources->dialogs.at(it->second.id).data);
    if (it->second.type == IdOf(RT_STRING))
        return const_cast<wchar_t*>(resources->strings.at(it->second.id).c_str());
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
}

LPVOID LockResource(HGLOBAL data)
{
    return data;
}

DWORD SizeofResource(HMODULE module, HRSRC resource)
{
    auto it = Found().find(reinterpret_cast<uintptr_t>(resource));
    const ModuleResources::Impl* resources = ResourcesOf(module);
    if (it == Found().end() || resources == nullptr)
        return 0;
    if (it->second.type == IdOf(RT_DIALOG))
        return static_cast<DWORD>(resources->dialogs.at(it->second.id).size);
    if (it->second.type == IdOf(RT_STRING))
        return static_cast<DWORD>((resources->strings.at(it->second.id).size() + 1) * 2);
    return 0;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxCount)
{
    const ModuleResources::Impl* resources = ResourcesOf(instance);
    if (resources == nullptr || buffer == nullptr || maxCount <= 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    auto it = resources->strings.find(static_cast<int>(id));
    if (it == resources->strings.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        buffer[0] = 0;
        return 0;
    }
    int count = std::min(static_cast<int>(it->second.size()), maxCount - 1);
    std::copy_n(it->second.c_str(), count, buffer);
    buffer[count] = 0;
    return count;
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags)
{
    const ModuleResources::Impl* resources = ResourcesOf(instance);
    int id = IdOf(name);
    if (resources == nullptr || id < 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (type == IMAGE_BITMAP) {
        auto it = resources->bitmaps.find(id);
        if (it == resources->bitmaps.end()) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        auto object = std::make_unique<GdiObject>();
        object->kind = GdiKind::Bitmap;
        object->image = it->second.image;
        object->bitsPerPixel = it->second.bitsPerPixel;
        if (width > 0 && height > 0 && (width != object->image.Width() || height != object->image.Height()))
            object->image = Renderer().Scale(object->image, width, height, false);
        return RegisterGdiObject(std::move(object));
    }
    if (type != IMAGE_ICON) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto it = resources->icons.find(id);
    if (it == resources->icons.end() || it->second.empty()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    int systemSize = GetSystemMetrics(SM_CXICON);
    const Image* first = &it->second.front();
    if (width == 0)
        width = (flags & LR_DEFAULTSIZE) != 0 ? systemSize : first->Width();
    if (height == 0)
        height = (flags & LR_DEFAULTSIZE) != 0 ? systemSize : first->Height();
    const Image* nearest = NearestImage(it->second, width, height);
    Image image = nearest->Width() == width && nearest->Height() == height ? *nearest : Renderer().Scale(*nearest, width, height, true);
    return RegisterIcon(Icon { Renderer().Convert(image, PixelFormat::Argb32Premultiplied), id });
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name)
{
    int size = GetSystemMetrics(SM_CXICON);
    return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, 0));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    return static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, 0));
}

BOOL DestroyIcon(HICON icon)
{
    if (!DestroyIconObject(icon)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
