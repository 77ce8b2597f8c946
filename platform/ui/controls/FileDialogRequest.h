// What a file dialog was asked, kept while it shows, for its procedure and for the virtual
// driver's handlers; and the rules by which it reads its filter and the name the user gives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files/DevicePath.h"
#include "platform/ui/CommDlg.h"

namespace platform::ui {

struct FileFilter {
    std::wstring description;
    std::vector<std::wstring> patterns; // "*.txt"
};

struct FileDialogRequest {
    OPENFILENAMEW* ofn = nullptr;
    bool save = false;
    std::wstring title;
    std::vector<FileFilter> filters;
    int filter = 0; // index into filters
    DevicePath folder;
    std::wstring initialName;
    std::wstring defaultExtension;
    DevicePath chosen;
};

// The filter's pairs, up to the empty text that ends them.
std::vector<FileFilter> ParseFilter(LPCWSTR filter);
// Whether a name matches one of the filter's patterns (any name without a filter).
bool MatchesFilter(std::wstring_view name, const FileFilter* filter);
// The name the user typed, read against the folder shown: a path from the root, or a name (or
// relative path) inside the folder; the default extension added to a last name that has no
// dot. ERROR_SUCCESS or the path's error.
DWORD ResolveChosenName(const DevicePath& folder, std::wstring_view typed, std::wstring_view defaultExtension,
    DevicePath& result);

} // namespace platform::ui
