#include "platform/core/FormatMessage.h"

#include <cwchar>

#include "platform/core/LastError.h"

namespace {

struct SystemMessage {
    DWORD id;
    const wchar_t* text;
};

// Every code the file and folder calls set, the kernel's errors mapped included, so that a
// failure a dialog reports always reads as a sentence.
constexpr SystemMessage kSystemMessages[] = {
    { ERROR_SUCCESS, L"The operation completed successfully." },
    { ERROR_INVALID_FUNCTION, L"Incorrect function." },
    { ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified." },
    { ERROR_PATH_NOT_FOUND, L"The system cannot find the path specified." },
    { ERROR_TOO_MANY_OPEN_FILES, L"The system cannot open the file." },
    { ERROR_ACCESS_DENIED, L"Access is denied." },
    { ERROR_INVALID_HANDLE, L"The handle is invalid." },
    { ERROR_NOT_ENOUGH_MEMORY, L"Not enough storage is available to process this command." },
    { ERROR_OUTOFMEMORY, L"Not enough storage is available to complete this operation." },
    { ERROR_NOT_SAME_DEVICE, L"The system cannot move the file to a different disk drive." },
    { ERROR_NO_MORE_FILES, L"There are no more files." },
    { ERROR_NOT_READY, L"The device is not ready." },
    { ERROR_WRITE_FAULT, L"The system cannot write to the specified device." },
    { ERROR_READ_FAULT, L"The system cannot read from the specified device." },
    { ERROR_GEN_FAILURE, L"A device attached to the system is not functioning." },
    { ERROR_SHARING_VIOLATION, L"The process cannot access the file because it is being used by another process." },
    { ERROR_LOCK_VIOLATION,
        L"The process cannot access the file because another process has locked a portion of the file." },
    { ERROR_HANDLE_EOF, L"Reached the end of the file." },
    { ERROR_HANDLE_DISK_FULL, L"The disk is full." },
    { ERROR_NOT_SUPPORTED, L"The request is not supported." },
    { ERROR_FILE_EXISTS, L"The file exists." },
    { ERROR_INVALID_PARAMETER, L"The parameter is incorrect." },
    { ERROR_DISK_FULL, L"There is not enough space on the disk." },
    { ERROR_INSUFFICIENT_BUFFER, L"The data area passed to a system call is too small." },
    { ERROR_INVALID_NAME, L"The filename, directory name, or volume label syntax is incorrect." },
    { ERROR_NEGATIVE_SEEK, L"An attempt was made to move the file pointer before the beginning of the file." },
    { ERROR_DIR_NOT_EMPTY, L"The directory is not empty." },
    { ERROR_BAD_PATHNAME, L"The specified path is invalid." },
    { ERROR_ALREADY_EXISTS, L"Cannot create a file when that file already exists." },
    { ERROR_FILENAME_EXCED_RANGE, L"The filename or extension is too long." },
    { ERROR_DIRECTORY, L"The directory name is invalid." },
};

} // namespace

const wchar_t* SystemMessageText(DWORD messageId)
{
    for (const SystemMessage& message : kSystemMessages) {
        if (message.id == messageId)
            return message.text;
    }
    return nullptr;
}

DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
    DWORD nSize, va_list* Arguments)
{
    (void)lpSource;
    (void)dwLanguageId; // one language: every language asked for gets it
    (void)Arguments;    // no system text has inserts
    const DWORD source = dwFlags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM);
    if (source != FORMAT_MESSAGE_FROM_SYSTEM || lpBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const wchar_t* text = SystemMessageText(dwMessageId);
    if (text == nullptr) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    // The device's texts end in a line break, unless the caller asks for lines of any width,
    // which turns it into a space.
    const wchar_t* ending = (dwFlags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != 0 ? L" " : L"\r\n";
    const size_t length = std::wcslen(text) + std::wcslen(ending);
    if (length + 1 > nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(lpBuffer, text, std::wcslen(text));
    std::wmemcpy(lpBuffer + std::wcslen(text), ending, std::wcslen(ending));
    lpBuffer[length] = L'\0';
    return static_cast<DWORD>(length);
}
