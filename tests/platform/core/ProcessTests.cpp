#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Handle.h"
#include "platform/core/LastError.h"
#include "platform/core/Process.h"

namespace {

class ProcessTest : public ::testing::Test {
protected:
    ~ProcessTest() override { platform::InstallProcessStarter({}); }

    // Sentinels, so that a failing call is seen to leave the caller's structure alone.
    PROCESS_INFORMATION Untouched()
    {
        PROCESS_INFORMATION info;
        info.hProcess = reinterpret_cast<HANDLE>(0x5EED);
        info.hThread = reinterpret_cast<HANDLE>(0x5EED);
        info.dwProcessId = 0x5EED;
        info.dwThreadId = 0x5EED;
        return info;
    }
};

} // namespace

TEST_F(ProcessTest, WithoutAStarterNoProgramExists)
{
    PROCESS_INFORMATION info = Untouched();
    wchar_t arguments[] = L"cplmain.cpl,17,1";
    SetLastError(0);
    EXPECT_FALSE(CreateProcessW(L"\\Windows\\ctlpnl.exe", arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(info.hProcess, reinterpret_cast<HANDLE>(0x5EED));
    EXPECT_EQ(info.dwProcessId, 0x5EEDu);
}

TEST_F(ProcessTest, TheStarterReceivesTheRequestAndTheCallerOwnsTheHandles)
{
    std::vector<platform::ProcessStart> started;
    platform::InstallProcessStarter([&](const platform::ProcessStart& start) {
        started.push_back(start);
        return static_cast<DWORD>(ERROR_SUCCESS);
    });
    size_t handlesBefore = platform::LiveHandleCount();
    PROCESS_INFORMATION first = Untouched();
    wchar_t arguments[] = L"cplmain.cpl,17,1";
    ASSERT_TRUE(CreateProcessW(L"\\Windows\\ctlpnl.exe", arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &first));
    PROCESS_INFORMATION second = Untouched();
    ASSERT_TRUE(CreateProcessW(L"\\Windows\\ctlpnl.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &second));

    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].imageName, L"\\Windows\\ctlpnl.exe");
    EXPECT_EQ(started[0].commandLine, L"cplmain.cpl,17,1");
    EXPECT_EQ(started[1].commandLine, L""); // no command line at all

    // Four live handles, all distinct; ids never zero and never repeated.
    EXPECT_EQ(platform::LiveHandleCount(), handlesBefore + 4);
    EXPECT_NE(first.hProcess, first.hThread);
    EXPECT_NE(first.hProcess, second.hProcess);
    EXPECT_NE(first.dwProcessId, 0u);
    EXPECT_NE(first.dwProcessId, second.dwProcessId);
    EXPECT_NE(first.dwThreadId, first.dwProcessId);
    EXPECT_EQ(GetProcessId(first.hProcess), first.dwProcessId);
    EXPECT_EQ(GetProcessId(first.hThread), 0u); // a thread is no process
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    for (HANDLE handle : { first.hProcess, first.hThread, second.hProcess, second.hThread })
        EXPECT_TRUE(CloseHandle(handle));
    EXPECT_EQ(platform::LiveHandleCount(), handlesBefore);
    EXPECT_FALSE(CloseHandle(first.hProcess));
}

TEST_F(ProcessTest, TheStartersErrorAndBadArgumentsFailTheCall)
{
    int calls = 0;
    platform::InstallProcessStarter([&](const platform::ProcessStart&) {
        ++calls;
        return static_cast<DWORD>(ERROR_BAD_EXE_FORMAT);
    });
    PROCESS_INFORMATION info = Untouched();
    EXPECT_FALSE(CreateProcessW(L"\\Windows\\notes.txt", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(info.hProcess, reinterpret_cast<HANDLE>(0x5EED));

    EXPECT_FALSE(CreateProcessW(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(CreateProcessW(L"", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(
        CreateProcessW(L"\\Windows\\ctlpnl.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(calls, 1); // bad arguments never reach the host

    // Removing the starter brings back the missing program.
    platform::InstallProcessStarter({});
    EXPECT_FALSE(CreateProcessW(L"\\Windows\\ctlpnl.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}
