#include "usage/UsageSettingsDialog.h"

#include <array>
#include <cstdint>

#include "item/PluginModule.h"
#include "options/DialogChecks.h"
#include "options/DialogNumbers.h"
#include "platform/core/FormatMessage.h"
#include "platform/files/Files.h"
#include "platform/shell/AygShell.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"
#include "usage/LogRelocation.h"
#include "usage/UsageInterfaceChoice.h"

namespace {

constexpr int kPathCapacity = 256;
constexpr int kNumberChars = 10;

// The controls that only mean something while logging is on.
constexpr int kLoggingControls[] = { IDC_USAGESET_CAP_ON, IDC_USAGESET_PATH, IDC_USAGESET_PATH_LABEL, IDC_USAGESET_CAP,
    IDC_USAGESET_CAP_SPIN, IDC_USAGESET_CAP_UNIT };

// The relocation's messages as stop boxes over the dialog.
class DialogRelocationMessages final : public RelocationMessages {
public:
    explicit DialogRelocationMessages(HWND dialog)
        : m_dialog(dialog)
    {
    }
    void ShowSystemError(const std::wstring& caption, DWORD error) override
    {
        std::array<wchar_t, 256> text {};
        if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text.data(),
                static_cast<DWORD>(text.size()), nullptr)
            == 0)
            Fmt(L"Error %d.", error).copy(text.data(), text.size() - 1);
        MessageBoxW(m_dialog, text.data(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }
    void ShowStop(const std::wstring& caption, const std::wstring& text) override
    {
        MessageBoxW(m_dialog, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }

private:
    HWND m_dialog;
};

std::wstring FieldText(HWND dialog, int id, int capacity)
{
    std::vector<wchar_t> text(static_cast<size_t>(capacity) + 1);
    GetDlgItemTextW(dialog, id, text.data(), capacity + 1);
    return text.data();
}

void EnableLoggingControls(HWND dialog, bool enable)
{
    for (int id : kLoggingControls)
        EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

std::vector<std::wstring> DialUpNameList(const Settings& settings)
{
    std::vector<std::wstring> names;
    for (DWORD number = 0; number < settings.RasNameCount(); ++number)
        names.push_back(settings.RasNameAt(number));
    return names;
}

void UsageSettings_OnInitDialog(HWND dialog)
{
    const Settings& settings = g_pModule->m_settings;
    Check(dialog, IDC_USAGESET_LOGGING, settings.UsageEnabled);
    Check(dialog, IDC_USAGESET_CAP_ON, settings.UsageLogStorageCapEnabled);
    Check(dialog, IDC_USAGESET_ZEROS, settings.UsageShowZeros);
    SendDlgItemMessageW(dialog, IDC_USAGESET_PATH, EM_LIMITTEXT, kPathCapacity, 0);
    SetDlgItemTextW(dialog, IDC_USAGESET_PATH, settings.UsageLogPath.c_str());
    SetDlgItemTextW(dialog, IDC_USAGESET_CAP, Fmt(L"%d", settings.UsageLogStorageCapLimit).c_str());
    if (settings.UsageEnabled == 0)
        EnableLoggingControls(dialog, false);

    SHINITDLGINFO shellInit { SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN };
    SHInitDialog(&shellInit);

    HWND list = GetDlgItem(dialog, IDC_USAGESET_INTERFACE);
    UsageInterfaceChoices choices = ListUsageInterfaces(settings.AdapterNames(), settings.UsbCableAdapterName(),
        settings.PlatformGeneration(), DialUpNameList(settings), settings.UsageInterface);
    for (size_t i = 0; i < choices.entries.size(); ++i) {
        const UsageInterfaceChoice& choice = choices.entries[i];
        SendMessageW(list, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(choice.text.c_str()));
        SendMessageW(list, CB_SETITEMDATA, i, static_cast<LPARAM>(choice.value));
    }
    if (choices.selected >= 0)
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(choices.selected), 0);
}

// A new log folder: refused when it names a file, made (every level) when the user agrees,
// then the month files moved there on request. False keeps the dialog open.
bool UsageSettings_TakeNewFolder(HWND dialog, const std::wstring& path)
{
    Settings& settings = g_pModule->m_settings;
    DialogRelocationMessages messages(dialog);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        messages.ShowStop(L"Velmora", L"The specified path is not a folder.");
        return false;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (MessageBoxW(dialog, L"The specified directory does not exist. Would you like to create the directory?",
                L"Velmora", MB_YESNO | MB_ICONQUESTION)
            != IDYES)
            return false;
        if (DWORD error = CreateLogFolderLevels(path); error != 0) {
            messages.ShowSystemError(L"Velmora", error);
            return false;
        }
    }
    if (MessageBoxW(dialog, L"Would you like to move the old log files to the new directory?", L"Velmora",
            MB_YESNO | MB_ICONQUESTION)
        == IDYES)
        MoveLogFiles(settings.UsageLogPath, path, messages);
    settings.UsageLogPath = path;
    return true;
}

void UsageSettings_OnOk(HWND dialog)
{
    Settings& settings = g_pModule->m_settings;
    const std::wstring path = FieldText(dialog, IDC_USAGESET_PATH, kPathCapacity);
    if (path.empty()) {
        MessageBoxW(dialog, L"You must enter a path name to the log files.", L"Velmora", MB_OK | MB_ICONSTOP);
        return;
    }
    if (path != settings.UsageLogPath && !UsageSettings_TakeNewFolder(dialog, path))
        return;

    settings.UsageLogStorageCapLimit = UsageCapFromText(FieldText(dialog, IDC_USAGESET_CAP, kNumberChars));
    settings.UsageEnabled = Checked(dialog, IDC_USAGESET_LOGGING);
    // Nothing chosen (a stored interface the list no longer offers) keeps the stored one.
    auto chosen = SendDlgItemMessageW(dialog, IDC_USAGESET_INTERFACE, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR) {
        auto value = static_cast<DWORD>(
            SendDlgItemMessageW(dialog, IDC_USAGESET_INTERFACE, CB_GETITEMDATA, static_cast<WPARAM>(chosen), 0));
        settings.UsageInterface = UsageInterfaceOfChoice(value, settings.AdapterNames(), settings.UsageInterface);
    }
    settings.UsageLogStorageCapEnabled = Checked(dialog, IDC_USAGESET_CAP_ON);
    settings.UsageShowZeros = Checked(dialog, IDC_USAGESET_ZEROS);
    EndDialog(dialog, 1);
}

BOOL UsageSettings_OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_USAGESET_LOGGING:
        EnableLoggingControls(dialog, Checked(dialog, IDC_USAGESET_LOGGING) != 0);
        return TRUE;
    case IDOK:
        UsageSettings_OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

void UsageSettings_OnNotify(HWND dialog, const NMHDR* header)
{
    if (header == nullptr || header->code != UDN_DELTAPOS || header->idFrom != IDC_USAGESET_CAP_SPIN)
        return;
    const auto* step = reinterpret_cast<const NMUPDOWN*>(header);
    DWORD value = StepUsageCap(FieldText(dialog, IDC_USAGESET_CAP, kNumberChars), step->iDelta);
    SetDlgItemTextW(dialog, IDC_USAGESET_CAP, Fmt(L"%d", value).c_str());
}

} // namespace

DWORD UsageCapFromText(const std::wstring& text)
{
    return BoundedNumberFromText(text, kUsageCapLowest, kUsageCapHighest);
}

DWORD StepUsageCap(const std::wstring& text, int delta)
{
    LeadingDigits read = ReadLeadingDigits(std::wstring_view(text).substr(0, kNumberChars));
    int64_t value = read.negative ? -static_cast<int64_t>(read.magnitude) : static_cast<int64_t>(read.magnitude);
    value += delta < 1 ? int64_t { kUsageCapStep } : -int64_t { kUsageCapStep };
    if (value < kUsageCapLowest)
        return kUsageCapLowest;
    if (value > kUsageCapHighest)
        return kUsageCapHighest;
    return static_cast<DWORD>(value);
}

std::vector<std::wstring> LogFolderLevels(const std::wstring& path)
{
    std::vector<std::wstring> levels;
    for (size_t at = path.find(L'\\', 1); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        levels.push_back(path.substr(0, at));
    levels.push_back(path);
    return levels;
}

DWORD CreateLogFolderLevels(const std::wstring& path)
{
    DWORD remembered = 0;
    for (const std::wstring& level : LogFolderLevels(path)) {
        if (CreateDirectoryW(level.c_str(), nullptr))
            continue;
        DWORD error = GetLastError();
        remembered = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED ? 0 : error;
    }
    return remembered;
}

INT_PTR UsageSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        UsageSettings_OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return UsageSettings_OnCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY:
        UsageSettings_OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    default:
        return FALSE;
    }
}
