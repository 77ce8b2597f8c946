#include "usage/LogRelocation.h"

#include <vector>

#include "platform/files/Files.h"
#include "platform/text/Format.h"
#include "usage/UsageLogFile.h"

const wchar_t* const RelocationScratchFolder = L"\\velmoratemp";

namespace {

// The names first, then the moves: a folder listing is not to be trusted while its entries
// move away.
std::vector<std::wstring> MonthFileNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(MonthFilePattern(folder).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

BOOL MoveEntry(const std::wstring& fromFolder, const std::wstring& toFolder, const std::wstring& name)
{
    std::wstring from = fromFolder + L"\\" + name;
    std::wstring to = toFolder + L"\\" + name;
    return MoveFileW(from.c_str(), to.c_str());
}

} // namespace

BOOL MoveLogFiles(const std::wstring& oldFolder, const std::wstring& newFolder, RelocationMessages& messages)
{
    const std::wstring scratch = RelocationScratchFolder;
    if (!CreateDirectoryW(scratch.c_str(), nullptr)) {
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
            messages.ShowSystemError(L"Velmora: MoveLogFiles", error);
            return FALSE;
        }
    }

    std::vector<std::wstring> names = MonthFileNames(oldFolder);
    if (names.empty())
        return FALSE;
    for (const std::wstring& name : names)
        MoveEntry(oldFolder, scratch, name);

    names = MonthFileNames(scratch);
    if (names.empty()) {
        messages.ShowStop(L"Velmora", Fmt(L"Could not complete file move. Error %d.", GetLastError()));
        return FALSE;
    }
    std::wstring leftBehind;
    for (const std::wstring& name : names) {
        // A file the new folder does not take (one of that name is already there, or the
        // folder is gone) goes back where it was rather than stay in the scratch folder.
        if (!MoveEntry(scratch, newFolder, name)) {
            MoveEntry(scratch, oldFolder, name);
            leftBehind += (leftBehind.empty() ? L"" : L", ") + name;
        }
    }
    RemoveDirectoryW(scratch.c_str());
    // Otherwise the user would find the new folder's older month shown and never learn that
    // the old folder still holds its own copy.
    if (!leftBehind.empty())
        messages.ShowStop(L"Velmora", Fmt(L"These month files were not moved: %s", leftBehind));
    return TRUE;
}
