// CreateProcessW handed to the host's starter, with kernel handles for what it started.
#include "platform/core/Process.h"

#include <memory>
#include <mutex>

#include "platform/core/Handle.h"
#include "platform/core/LastError.h"

namespace {

struct ProcessState {
    std::mutex mutex;
    platform::ProcessStarter starter;
    // Ids as the device gives them: never zero, process and thread ids from one sequence.
    DWORD nextId = 0x1000;
};

ProcessState& State()
{
    static ProcessState state;
    return state;
}

class ProcessObject final : public platform::KernelObject {
public:
    explicit ProcessObject(DWORD id)
        : m_id(id)
    {
    }
    DWORD Id() const { return m_id; }

private:
    DWORD m_id;
};

class ThreadObject final : public platform::KernelObject {
public:
    explicit ThreadObject(DWORD id)
        : m_id(id)
    {
    }
    DWORD Id() const { return m_id; }

private:
    DWORD m_id;
};

} // namespace

BOOL CreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
    DWORD creationFlags, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION processInformation)
{
    if (imageName == nullptr || imageName[0] == 0 || processInformation == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::ProcessStart start { imageName, commandLine != nullptr ? commandLine : L"", creationFlags };
    platform::ProcessStarter starter;
    {
        ProcessState& state = State();
        std::lock_guard lock(state.mutex);
        starter = state.starter;
    }
    // Called unlocked: a starter may well start another program.
    DWORD error = starter ? starter(start) : ERROR_FILE_NOT_FOUND;
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    DWORD processId;
    DWORD threadId;
    {
        ProcessState& state = State();
        std::lock_guard lock(state.mutex);
        processId = state.nextId;
        threadId = state.nextId + 4;
        state.nextId += 8;
    }
    processInformation->hProcess = platform::RegisterHandle(std::make_unique<ProcessObject>(processId));
    processInformation->hThread = platform::RegisterHandle(std::make_unique<ThreadObject>(threadId));
    processInformation->dwProcessId = processId;
    processInformation->dwThreadId = threadId;
    return TRUE;
}

DWORD GetProcessId(HANDLE process)
{
    auto* object = platform::LookupHandleAs<ProcessObject>(process);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return object->Id();
}

namespace platform {

void InstallProcessStarter(ProcessStarter starter)
{
    ProcessState& state = State();
    std::lock_guard lock(state.mutex);
    state.starter = std::move(starter);
}

} // namespace platform
