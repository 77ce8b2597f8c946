// The export dialog and the export subcommand make the same file: the same month files, the
// dialog driven as a user would on the device, the subcommand run over a copy of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "ProgramRun.h"
#include "item/PluginModule.h"
#include "platform/files/Files.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "platform/ui/Resources.h"
#include "resources/ResourceIds.h"
#include "support/TestSupport.h"
#include "support/TodayScreen.h"
#include "usage/UsageExportDialog.h"

namespace {

// Two interfaces over three months, February without a file, and a count past 2^31.
const std::pair<const char*, std::wstring> kMonths[] = {
    { "UsageData200601.txt", L"2006-1-30-9 *2* \tne20001 300 4000 \txircom1 5 6 \r\n" },
    { "UsageData200603.txt",
        L"2006-3-1-23 *1* \txircom1 2147483648 12 \r\n2006-3-2-10 *1* \tne20001 100 2000 \r\n" },
};

void PutDeviceFile(const std::wstring& path, const std::wstring& text)
{
    CreateDirectoryW(L"\\Program Files", nullptr);
    CreateDirectoryW(L"\\Program Files\\Velmora", nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string bytes = EncodeUtf16Le(text);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string DeviceFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char piece[4096];
    DWORD got = 0;
    while (ReadFile(file, piece, sizeof piece, &got, nullptr) && got > 0)
        bytes.append(piece, got);
    CloseHandle(file);
    return bytes;
}

} // namespace

TEST(UsageExportDialogRun, TheDialogsFileIsTheExportSubcommandsForTheSameRange)
{
    testing_support::TodayScreen screen;
    screen.AddLoopbackAndLan();
    screen.LoadModule();
    screen.CreateItem();
    for (const auto& [name, text] : kMonths)
        PutDeviceFile(L"\\Program Files\\Velmora\\" + Utf8ToWide(name), text);
    CreateDirectoryW(L"\\My Documents", nullptr);

    // The pickers keep the time of day the dialog opened with: 14:05:09 on the screen's clock.
    screen.Driver().OnModal(IDD_USAGE_EXPORT, [&](const platform::VirtualDriver::ModalInfo& info) {
        screen.Driver().PickDate(GetDlgItem(info.window, IDC_EXPORT_START), 2006, 1, 29);
        screen.Driver().PickDate(GetDlgItem(info.window, IDC_EXPORT_END), 2006, 3, 2);
        screen.Driver().ChooseItem(GetDlgItem(info.window, IDC_EXPORT_INTERVAL), 2);
        screen.Driver().TypeText(GetDlgItem(info.window, IDC_EXPORT_PATH), L"\\My Documents\\usage.csv");
        screen.Driver().ClickItem(info.window, IDOK);
    });
    ASSERT_EQ(DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(IDD_USAGE_EXPORT), screen.Today(), UsageExportProc, 0), 1);
    const std::string fromDialog = DeviceFileBytes(L"\\My Documents\\usage.csv");
    ASSERT_FALSE(fromDialog.empty());

    testing_support::ScratchFolder host;
    for (const auto& [name, text] : kMonths)
        std::ofstream(host.Path() / name, std::ios::binary) << EncodeUtf16Le(text);
    const std::filesystem::path out = host.Path() / "usage.csv";
    host_test::ProgramResult run = host_test::RunVelmora({ "usage", "export", "--interval", "hourly", "--from",
        "2006-01-29T14:05:09", "--to", "2006-03-02T14:05:09", "--out", out.string(), "--log-dir", host.Path().string() });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string fromCommand = testing_support::ReadWholeFile(out);
    EXPECT_EQ(fromDialog, fromCommand);
    // 33 days of 24 hours; hour 23 of 1 March holds the count past 2^31.
    EXPECT_EQ(std::count(fromDialog.begin(), fromDialog.end(), '\n'), 1 + 33 * 24);
    EXPECT_NE(fromDialog.find("\r\n2006,3,1,23,0,0,2147483648,12,\r\n"), std::string::npos);
}
