#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "platform/core/FormatMessage.h"
#include "platform/core/LastError.h"

namespace {

std::wstring SystemText(DWORD id, DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS)
{
    wchar_t buffer[256];
    DWORD length = FormatMessageW(flags, nullptr, id, 0, buffer, 256, nullptr);
    return std::wstring(buffer, length);
}

} // namespace

TEST(FormatMessageTest, EveryErrorTheFileCallsSetReadsAsALine)
{
    // The codes the kernel's errors map to, and those the calls set of their own.
    for (DWORD id : { ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_ALREADY_EXISTS,
             ERROR_DIR_NOT_EMPTY, ERROR_DISK_FULL, ERROR_TOO_MANY_OPEN_FILES, ERROR_FILENAME_EXCED_RANGE,
             ERROR_SHARING_VIOLATION, ERROR_NOT_SAME_DEVICE, ERROR_NOT_ENOUGH_MEMORY, ERROR_INVALID_HANDLE,
             ERROR_READ_FAULT, ERROR_WRITE_FAULT, ERROR_HANDLE_DISK_FULL, ERROR_INVALID_NAME, ERROR_DIRECTORY,
             ERROR_BAD_PATHNAME, ERROR_INVALID_PARAMETER, ERROR_NO_MORE_FILES }) {
        std::wstring text = SystemText(id);
        ASSERT_GT(text.size(), 3u) << id;
        EXPECT_EQ(text.substr(text.size() - 3), L".\r\n") << id;
    }
    EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED), L"Access is denied.\r\n");
    EXPECT_EQ(SystemText(ERROR_PATH_NOT_FOUND), L"The system cannot find the path specified.\r\n");
}

TEST(FormatMessageTest, AWidthTurnsTheLineBreakIntoASpace)
{
    EXPECT_EQ(SystemText(ERROR_ALREADY_EXISTS, FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_MAX_WIDTH_MASK),
        L"Cannot create a file when that file already exists. ");
}

TEST(FormatMessageTest, TheTextMustFitWithItsTerminator)
{
    // "Access is denied.\r\n" is 19 characters: 20 take it, 19 do not.
    wchar_t buffer[32];
    std::wmemset(buffer, L'#', 32);
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 20, nullptr), 19u);
    EXPECT_EQ(buffer[19], L'\0');
    EXPECT_EQ(buffer[20], L'#');

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 19, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(FormatMessageTest, UnknownCodesAndOtherSourcesAreRefused)
{
    wchar_t buffer[64] = L"untouched";
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 4242, 0, buffer, 64, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
    EXPECT_STREQ(buffer, L"untouched");

    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING, L"text", 0, 0, buffer, 64, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE, nullptr, ERROR_ACCESS_DENIED, 0,
                  buffer, 64, nullptr),
        0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
