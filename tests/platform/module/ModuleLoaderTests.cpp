// Shared libraries as modules: the search, the attach and detach calls with the module's
// handle, load counting, exports by ordinal and name, and the ways a load fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/core/LastError.h"
#include "platform/module/ModuleLoader.h"
#include "platform/text/WideString.h"
#include "support/TestSupport.h"

namespace {

class SharedModuleTest : public ::testing::Test {
protected:
    SharedModuleTest()
    {
        setenv("PROBE_MODULE_LOG", m_log.c_str(), 1);
        unsetenv("PROBE_MODULE_REFUSE");
        platform::SetModuleSearchPath({ VELMORA_PROBE_MODULE_DIR });
    }
    ~SharedModuleTest() override
    {
        unsetenv("PROBE_MODULE_LOG");
        unsetenv("PROBE_MODULE_REFUSE");
        platform::SetModuleSearchPath({});
    }

    std::string Log() const
    {
        std::ifstream in(m_log);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::string Noted(const char* what, HMODULE module)
    {
        char line[64];
        std::snprintf(line, sizeof line, "%s %p\n", what, static_cast<void*>(module));
        return line;
    }

    testing_support::ScratchFolder m_folder;
    std::string m_log = (m_folder.Path() / "probe.log").string();
};

using AttachedInstanceProc = HINSTANCE (*)();
using SevenProc = int (*)();

} // namespace

TEST_F(SharedModuleTest, FirstLoadAttachesWithItsHandleAndLastFreeDetaches)
{
    HMODULE module = LoadLibraryW(L"\\Windows\\Probe.DLL");
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(Log(), Noted("attach", module));
    auto attached = reinterpret_cast<AttachedInstanceProc>(GetProcAddressW(module, MAKEINTRESOURCEW(1)));
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(attached(), module);
    EXPECT_EQ(reinterpret_cast<AttachedInstanceProc>(GetProcAddressW(module, L"AttachedInstance")), attached);
    auto seven = reinterpret_cast<SevenProc>(GetProcAddressW(module, MAKEINTRESOURCEW(2)));
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven(), 7);

    // The same library by its Linux path is the same module, counted once more.
    std::wstring path = Utf8ToWide(std::string(VELMORA_PROBE_MODULE_DIR) + "/libprobe.so");
    EXPECT_EQ(LoadLibraryW(path.c_str()), module);
    EXPECT_EQ(platform::ModuleLoadCount(module), 2);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(Log(), Noted("attach", module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(Log(), Noted("attach", module) + Noted("detach", module));

    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(module, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FreeLibrary(module));

    // A fresh load is a fresh module with a handle of its own.
    HMODULE again = LoadLibraryW(L"probe.dll");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, module);
    attached = reinterpret_cast<AttachedInstanceProc>(GetProcAddressW(again, MAKEINTRESOURCEW(1)));
    EXPECT_EQ(attached(), again);
    EXPECT_TRUE(FreeLibrary(again));
}

TEST_F(SharedModuleTest, MissingExportsAnswerProcNotFound)
{
    HMODULE module = LoadLibraryW(L"probe.dll");
    ASSERT_NE(module, nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(module, MAKEINTRESOURCEW(3)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddressW(module, L"attachedinstance"), nullptr); // names keep their case
    EXPECT_EQ(GetProcAddressW(module, L"DllMain"), nullptr);           // only the table's exports
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(SharedModuleTest, RefusedAttachIsDetachedAndFailsTheLoad)
{
    setenv("PROBE_MODULE_REFUSE", "1", 1);
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"probe.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
    std::string log = Log();
    EXPECT_EQ(log.rfind("attach ", 0), 0u) << log;
    EXPECT_NE(log.find("\ndetach "), std::string::npos) << log;
}

TEST_F(SharedModuleTest, NamesThatFindNoLoadableLibraryFail)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"nosuchmodule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    // Without the search path only the program's own folder is searched.
    platform::SetModuleSearchPath({});
    EXPECT_EQ(LoadLibraryW(L"probe.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    // A file of that name that is no library.
    std::ofstream(m_folder.Path() / "libbroken.so") << "not a library";
    platform::SetModuleSearchPath({ m_folder.Path().string() });
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"broken.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    EXPECT_EQ(Log(), "");
}
