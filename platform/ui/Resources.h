// A module's resources (icons, bitmaps, dialog templates, strings), found by number through
// the module's instance handle, and the calls that load them. On the device the linker put
// them into the module; here the module hands them to the platform when it is attached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/WinDef.h"

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;

constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

// Resources are found by number (MAKEINTRESOURCEW).
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
// For RT_DIALOG the data is the module's DLGTEMPLATE.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
// Copies the string (truncated, terminated) and returns its length; 0 when there is none.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxCount);

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
// The icon at the system's icon size (SM_CXICON).
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
// An icon (HICON) at the size asked (0: the resource's own size, or the system size with
// LR_DEFAULTSIZE), scaled from the nearest image of the resource; or a bitmap (HBITMAP).
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

namespace platform {

// The resources a module brings. Images are 0xAARRGGBB pixels, row by row.
class ModuleResources {
public:
    ModuleResources();
    ~ModuleResources();
    ModuleResources(ModuleResources&&) noexcept;
    ModuleResources& operator=(ModuleResources&&) noexcept;

    // One image of an icon; an icon may have several sizes.
    void AddIcon(int id, int width, int height, const uint32_t* argb);
    void AddBitmap(int id, int width, int height, int bitsPerPixel, const uint32_t* rgb);
    // The template must outlive the registration.
    void AddDialog(int id, const void* dialogTemplate, size_t size);
    void AddString(int id, std::wstring text);

    struct Impl;
    const Impl& Data() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

void RegisterModuleResources(HINSTANCE module, ModuleResources resources);
void UnregisterModuleResources(HINSTANCE module);
// The resource id of a dialog template a module registered, or 0.
int DialogTemplateId(const void* dialogTemplate);

} // namespace platform
