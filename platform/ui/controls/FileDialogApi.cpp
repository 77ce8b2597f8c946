// The common file dialogs: GetOpenFileNameW and GetSaveFileNameW on device paths, a platform
// dialog over the whole screen below the taskbar.
#include <algorithm>

#include "platform/device/Device.h"
#include "platform/files/Files.h"
#include "platform/files/NamePattern.h"
#include "platform/text/WideString.h"
#include "platform/ui/CommDlg.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/DialogRunner.h"
#include "platform/ui/controls/FileDialogRequest.h"
#include "platform/ui/controls/PlatformDialogLook.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;
using platform::DevicePath;

namespace {

// The controls' ids, as the platform's own file dialog numbers them.
constexpr int kFiles = 0x460;
constexpr int kTypes = 0x470;
constexpr int kFolders = 0x471;
constexpr int kName = 0x480;
constexpr int kLabel = 0xFFFF;

DWORD g_extendedError = 0;

bool IsFolder(const DevicePath& path)
{
    DWORD attributes = GetFileAttributesW(path.ToString().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const DevicePath& path)
{
    DWORD attributes = GetFileAttributesW(path.ToString().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileDialogRequest& RequestOf(HWND dialog)
{
    return *reinterpret_cast<FileDialogRequest*>(GetWindowLongW(dialog, DWL_USER));
}

// Folders first, each ending in "\", then the files of the chosen type, each part in name order.
void FillFiles(HWND dialog)
{
    FileDialogRequest& request = RequestOf(dialog);
    const FileFilter* filter = request.filter < static_cast<int>(request.filters.size())
        ? &request.filters[static_cast<size_t>(request.filter)]
        : nullptr;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found {};
    std::wstring search = request.folder.IsRoot() ? L"\\*" : request.folder.ToString() + L"\\*";
    HANDLE find = FindFirstFileW(search.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                folders.push_back(found.cFileName);
            else if (MatchesFilter(found.cFileName, filter))
                files.push_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    auto byName = [](const std::wstring& a, const std::wstring& b) { return WideToLower(a) < WideToLower(b); };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    HWND list = GetDlgItem(dialog, kFiles);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& folder : folders) {
        std::wstring shown = folder + L"\\";
        LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), 1);
    }
    for (const std::wstring& file : files)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.c_str()));
}

// The folder list holds the way down from the root to the folder shown.
void ShowFolder(HWND dialog, const DevicePath& folder)
{
    FileDialogRequest& request = RequestOf(dialog);
    request.folder = folder;
    HWND folders = GetDlgItem(dialog, kFolders);
    SendMessageW(folders, CB_RESETCONTENT, 0, 0);
    DevicePath step;
    SendMessageW(folders, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\\"));
    for (const std::wstring& name : folder.Names()) {
        step = step.Child(name);
        SendMessageW(folders, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(step.ToString().c_str()));
    }
    SendMessageW(folders, CB_SETCURSEL, folder.Names().size(), 0);
    FillFiles(dialog);
}

void Build(HWND dialog, FileDialogRequest& request)
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int top = ShellBarHeight(); // below the taskbar
    int width = device.screenWidth;
    int height = device.screenHeight - top;
    SetWindowPos(dialog, nullptr, 0, top, width, height, SWP_NOZORDER);
    RECT client;
    GetClientRect(dialog, &client);
    int margin = ScaledPixels(4);
    int label = ScaledPixels(44);
    HDC dc = GetDC(dialog);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);
    int row = metrics.tmHeight + ScaledPixels(8);
    int y = TitleStripHeight() + margin;
    int field = label + margin;
    auto labelRect = [&](int at) { return RECT { margin, at + ScaledPixels(3), label, at + row }; };
    auto fieldRect = [&](int at, int tall) { return RECT { field, at, client.right - margin, at + tall }; };

    AddDialogControl(dialog, L"STATIC", L"Name:", SS_LEFT, labelRect(y), kLabel);
    AddDialogControl(dialog, L"EDIT", request.initialName.c_str(), WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP,
        fieldRect(y, row - ScaledPixels(2)), kName);
    y += row;
    AddDialogControl(dialog, L"STATIC", L"Folder:", SS_LEFT, labelRect(y), kLabel);
    AddDialogControl(dialog, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, fieldRect(y, row * 6),
        kFolders);
    y += row;
    AddDialogControl(dialog, L"STATIC", L"Type:", SS_LEFT, labelRect(y), kLabel);
    HWND types = AddDialogControl(dialog, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
        fieldRect(y, row * 6), kTypes);
    for (const FileFilter& filter : request.filters)
        SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.description.c_str()));
    SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(request.filter), 0);
    y += row + margin;

    int buttonHeight = row;
    int buttonWidth = ScaledPixels(60);
    int buttonTop = client.bottom - margin - buttonHeight;
    AddDialogControl(dialog, L"LISTBOX", L"", WS_BORDER | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP,
        RECT { margin, y, client.right - margin, buttonTop - margin }, kFiles);
    AddDialogControl(dialog, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP,
        RECT { client.right - margin - 2 * buttonWidth - margin, buttonTop, client.right - 2 * margin - buttonWidth,
            buttonTop + buttonHeight },
        IDOK);
    AddDialogControl(dialog, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP,
        RECT { client.right - margin - buttonWidth, buttonTop, client.right - margin, buttonTop + buttonHeight },
        IDCANCEL);
    ShowFolder(dialog, request.folder);
    SetFocus(GetDlgItem(dialog, kName));
}

void Complain(HWND dialog, const std::wstring& text)
{
    MessageBoxW(dialog, text.c_str(), RequestOf(dialog).title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void Accept(HWND dialog)
{
    FileDialogRequest& request = RequestOf(dialog);
    wchar_t typed[MAX_PATH + 1] = {};
    GetDlgItemTextW(dialog, kName, typed, MAX_PATH + 1);
    if (typed[0] == 0)
        return;
    // A folder's name opens the folder.
    DevicePath plain;
    if (ResolveChosenName(request.folder, typed, L"", plain) == ERROR_SUCCESS && IsFolder(plain)) {
        ShowFolder(dialog, plain);
        SetDlgItemTextW(dialog, kName, L"");
        return;
    }
    DevicePath chosen;
    if (ResolveChosenName(request.folder, typed, request.defaultExtension, chosen) != ERROR_SUCCESS || chosen.IsRoot()) {
        Complain(dialog, std::wstring(typed) + L"\nThe file name is not valid.");
        return;
    }
    if (!IsFolder(chosen.Parent())) {
        Complain(dialog, chosen.Parent().ToString() + L"\nThe folder does not exist.");
        return;
    }
    bool exists = IsFile(chosen);
    DWORD flags = request.ofn->Flags;
    if (!request.save && (flags & OFN_FILEMUSTEXIST) != 0 && !exists) {
        Complain(dialog, chosen.Leaf() + L"\nThe file could not be found.");
        return;
    }
    if (request.save && (flags & OFN_OVERWRITEPROMPT) != 0 && exists) {
        std::wstring question = chosen.Leaf() + L" already exists.\nDo you want to replace it?";
        if (MessageBoxW(dialog, question.c_str(), request.title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
    }
    request.chosen = chosen;
    EndDialog(dialog, IDOK);
}

INT_PTR FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongW(dialog, DWL_USER, lParam);
        Build(dialog, *reinterpret_cast<FileDialogRequest*>(lParam));
        return FALSE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(dialog, &ps);
        RECT client;
        GetClientRect(dialog, &client);
        PaintTitleStrip(dc, client.right, RequestOf(dialog).title);
        EndPaint(dialog, &ps);
        return TRUE;
    }
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        WORD code = HIWORD(wParam);
        FileDialogRequest& request = RequestOf(dialog);
        if (id == IDOK) {
            Accept(dialog);
        } else if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        } else if (id == kTypes && code == CBN_SELCHANGE) {
            request.filter = static_cast<int>(SendDlgItemMessageW(dialog, kTypes, CB_GETCURSEL, 0, 0));
            FillFiles(dialog);
        } else if (id == kFolders && code == CBN_SELCHANGE) {
            LRESULT depth = SendDlgItemMessageW(dialog, kFolders, CB_GETCURSEL, 0, 0);
            DevicePath folder;
            for (LRESULT i = 0; i < depth && i < static_cast<LRESULT>(request.folder.Names().size()); ++i)
                folder = folder.Child(request.folder.Names()[static_cast<size_t>(i)]);
            ShowFolder(dialog, folder);
        } else if (id == kFiles && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
            HWND list = GetDlgItem(dialog, kFiles);
            LRESULT at = SendMessageW(list, LB_GETCURSEL, 0, 0);
            if (at < 0)
                return TRUE;
            std::wstring name(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(at), 0)), L'\0');
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(name.data()));
            bool folder = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0) == 1;
            if (folder && code == LBN_DBLCLK) {
                name.pop_back(); // its "\"
                ShowFolder(dialog, request.folder.Child(name));
            } else if (!folder) {
                SetDlgItemTextW(dialog, kName, name.c_str());
                if (code == LBN_DBLCLK)
                    Accept(dialog);
            }
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// Where the dialog opens: the folder asked for, else the folder of an initial path, else
// "\My Documents", else the root; each only when it exists.
DevicePath InitialFolder(const OPENFILENAMEW& ofn, std::wstring& initialName)
{
    std::vector<DevicePath> candidates;
    DevicePath asked;
    if (ofn.lpstrInitialDir != nullptr && DevicePath::Parse(ofn.lpstrInitialDir, asked) == ERROR_SUCCESS)
        candidates.push_back(asked);
    size_t slash = initialName.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        DevicePath folder;
        if (DevicePath::Parse(initialName.substr(0, slash + 1), folder) == ERROR_SUCCESS || slash == 0)
            candidates.insert(candidates.begin(), folder);
        initialName = initialName.substr(slash + 1);
    }
    DevicePath documents;
    DevicePath::Parse(L"\\My Documents", documents);
    candidates.push_back(documents);
    for (const DevicePath& candidate : candidates) {
        if (candidate.IsRoot() || IsFolder(candidate))
            return candidate;
    }
    return DevicePath();
}

BOOL RunFileCall(LPOPENFILENAMEW ofn, bool save)
{
    g_extendedError = 0;
    if (ofn == nullptr || ofn->lStructSize != sizeof(OPENFILENAMEW)) {
        g_extendedError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
        g_extendedError = CDERR_INITIALIZATION;
        return FALSE;
    }
    if (ofn->hwndOwner != nullptr && !IsWindow(ofn->hwndOwner)) {
        g_extendedError = CDERR_DIALOGFAILURE;
        return FALSE;
    }
    FileDialogRequest request;
    request.ofn = ofn;
    request.save = save;
    request.title = ofn->lpstrTitle != nullptr ? ofn->lpstrTitle : (save ? L"Save As" : L"Open");
    request.filters = ParseFilter(ofn->lpstrFilter);
    int index = static_cast<int>(ofn->nFilterIndex) - 1;
    request.filter = index >= 0 && index < static_cast<int>(request.filters.size()) ? index : 0;
    std::wstring initial(ofn->lpstrFile, wcsnlen(ofn->lpstrFile, ofn->nMaxFile));
    request.folder = InitialFolder(*ofn, initial);
    request.initialName = initial;
    request.defaultExtension = ofn->lpstrDefExt != nullptr ? ofn->lpstrDefExt : L"";

    DLGTEMPLATE frame {};
    frame.style = WS_POPUP | DS_SETFONT;
    frame.cx = 100;
    frame.cy = 100;
    frame.title = request.title.c_str();
    frame.pointSize = 8;
    frame.typeface = L"DejaVu Sans";
    INT_PTR answer = RunModalDialog(nullptr, &frame, ofn->hwndOwner, FileDialogProc,
        reinterpret_cast<LPARAM>(&request), DialogKind::FileDialog, &request);
    if (answer != IDOK) {
        g_extendedError = answer < 0 ? CDERR_DIALOGFAILURE : 0;
        return FALSE;
    }
    std::wstring path = request.chosen.ToString();
    if (path.size() + 1 > ofn->nMaxFile) {
        g_extendedError = FNERR_BUFFERTOOSMALL;
        ofn->lpstrFile[0] = static_cast<WCHAR>(std::min<size_t>(path.size() + 1, 0xFFFF));
        return FALSE;
    }
    CopyToBuffer(path, ofn->lpstrFile, static_cast<int>(ofn->nMaxFile));
    size_t nameAt = path.find_last_of(L'\\') + 1;
    size_t dot = path.find_last_of(L'.');
    ofn->nFileOffset = static_cast<WORD>(nameAt);
    ofn->nFileExtension = static_cast<WORD>(dot != std::wstring::npos && dot >= nameAt ? dot + 1 : path.size());
    if (ofn->lpstrFileTitle != nullptr && ofn->nMaxFileTitle > 0)
        CopyToBuffer(std::wstring_view(path).substr(nameAt), ofn->lpstrFileTitle, static_cast<int>(ofn->nMaxFileTitle));
    ofn->nFilterIndex = static_cast<DWORD>(request.filter + 1);
    return TRUE;
}

} // namespace

namespace platform::ui {

std::vector<FileFilter> ParseFilter(LPCWSTR filter)
{
    std::vector<FileFilter> filters;
    if (filter == nullptr)
        return filters;
    const wchar_t* at = filter;
    while (*at != 0) {
        FileFilter entry;
        entry.description = at;
        at += entry.description.size() + 1;
        std::wstring patterns = at;
        at += patterns.size() + 1;
        size_t start = 0;
        while (start <= patterns.size()) {
            size_t end = patterns.find(L';', start);
            if (end == std::wstring::npos)
                end = patterns.size();
            std::wstring pattern = TrimWhite(patterns.substr(start, end - start));
            if (!pattern.empty())
                entry.patterns.push_back(pattern);
            start = end + 1;
        }
        filters.push_back(std::move(entry));
        if (patterns.empty())
            break; // a description without a pattern ends the list
    }
    return filters;
}

bool MatchesFilter(std::wstring_view name, const FileFilter* filter)
{
    if (filter == nullptr || filter->patterns.empty())
        return true;
    return std::any_of(filter->patterns.begin(), filter->patterns.end(),
        [&](const std::wstring& pattern) { return MatchesNamePattern(name, pattern); });
}

DWORD ResolveChosenName(const DevicePath& folder, std::wstring_view typed, std::wstring_view defaultExtension,
    DevicePath& result)
{
    std::wstring text(TrimWhite(typed));
    std::wstring full = !text.empty() && (text[0] == L'\\' || text[0] == L'/') ? text
        : folder.IsRoot()                                                       ? L"\\" + text
                                                                                : folder.ToString() + L"\\" + text;
    DevicePath path;
    DWORD error = DevicePath::Parse(full, path);
    if (error != ERROR_SUCCESS)
        return error;
    if (!defaultExtension.empty() && !path.IsRoot() && path.Leaf().find(L'.') == std::wstring::npos) {
        std::wstring withExtension = path.Leaf() + L"." + std::wstring(defaultExtension);
        DevicePath extended = path.Parent().Child(withExtension);
        error = DevicePath::Parse(extended.ToString(), path);
        if (error != ERROR_SUCCESS)
            return error;
    }
    result = path;
    return ERROR_SUCCESS;
}

} // namespace platform::ui

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn)
{
    return RunFileCall(ofn, false);
}

BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn)
{
    return RunFileCall(ofn, true);
}

DWORD CommDlgExtendedError()
{
    return g_extendedError;
}
