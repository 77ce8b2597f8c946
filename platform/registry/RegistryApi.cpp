// The Reg* calls over the in-memory registry, with the platform's arguments, results and
// error codes. Notes where this registry chooses among the platform's behaviours:
// - Roots: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; other predefined handles are invalid.
// - samDesired is not enforced, as on the device (its registry ignores it); a read-only
//   store refuses every change with ERROR_ACCESS_DENIED instead.
// - Subkeys enumerate in case-insensitive alphabetical order and values in the order they
//   were created; the callers accept "the registry's order".
// - Names the hive file could not carry (CR, LF, non-characters) and names over the length
//   limits are refused with ERROR_INVALID_PARAMETER; so is null data with a non-zero size.
//   Data that cannot be read is refused with ERROR_NOACCESS, as the platform does.
// - Strings (REG_SZ, REG_EXPAND_SZ) set without their terminator are kept with one, as the
//   platform keeps them.
// - Class strings are not kept: they enumerate and query as empty.
// - On failure, the open and create calls set *phkResult to null.
// - Name lengths and buffer sizes in characters count wchar_t units, as the buffers hold them.
// - A name buffer too small for RegEnumKeyExW gives ERROR_MORE_DATA and leaves every output as
//   it was; for RegEnumValueW it gives the type and the data size, the name and data untouched.
//   A data buffer too small gives the name, the type and the size needed.
// - Subkey paths: a leading backslash is ERROR_BAD_PATHNAME, trailing ones are ignored;
//   RegDeleteTreeW with an empty subkey empties the key and keeps it, as with none.
#include "platform/registry/Registry.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

#include "platform/registry/RegistryState.h"

namespace {

using platform::KeyNode;
using platform::RegistryState;

// The shared start of every call: the registry's lock held for the body, and errors
// returned, never thrown across the platform API.
template <typename Body>
LONG Locked(Body&& body)
{
    try {
        RegistryState& state = RegistryState::Instance();
        std::lock_guard lock(state.Mutex());
        return body(state);
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

// The same for the calls on an open key: the handle resolved to its key first.
template <typename Body>
LONG WithKey(HKEY hKey, Body&& body)
{
    return Locked([&](RegistryState& state) -> LONG {
        std::shared_ptr<KeyNode> node;
        if (LONG resolved = state.Resolve(hKey, node); resolved != ERROR_SUCCESS)
            return resolved;
        return body(state, node);
    });
}

FILETIME ToFileTime(int64_t unixMs)
{
    // 100-nanosecond intervals since 1 January 1601.
    uint64_t ticks = static_cast<uint64_t>(unixMs) * 10000u + 116444736000000000ull;
    return FILETIME { static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32) };
}

std::wstring_view NameOrEmpty(LPCWSTR name)
{
    return name != nullptr ? std::wstring_view(name) : std::wstring_view();
}

// Walks a subkey path below a key, creating what is missing when asked to.
LONG WalkPath(RegistryState& state, std::shared_ptr<KeyNode>& node, LPCWSTR subKey, bool create, bool& createdAny)
{
    createdAny = false;
    std::vector<std::wstring> components;
    if (LONG split = platform::SplitKeyPath(NameOrEmpty(subKey), components); split != ERROR_SUCCESS)
        return split;
    if (node->Depth() + components.size() > platform::kMaxKeyDepth)
        return ERROR_INVALID_PARAMETER;
    for (const std::wstring& name : components) {
        std::shared_ptr<KeyNode> next = node->FindSubkey(name);
        if (!next) {
            if (!create)
                return ERROR_FILE_NOT_FOUND;
            if (LONG writable = state.CheckWritable(); writable != ERROR_SUCCESS)
                return writable;
            bool created = false;
            next = node->CreateSubkey(name, created);
            createdAny = true;
        }
        node = std::move(next);
    }
    return ERROR_SUCCESS;
}

LONG OpenOrCreate(HKEY hKey, LPCWSTR lpSubKey, bool create, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    return WithKey(hKey, [&](RegistryState& state, std::shared_ptr<KeyNode>& node) -> LONG {
        bool createdAny = false;
        LONG walked = WalkPath(state, node, lpSubKey, create, createdAny);
        if (createdAny)
            state.MarkDirty(); // the keys made before a failure stay, as on the platform
        if (walked != ERROR_SUCCESS)
            return walked;
        // An empty path on a predefined root gives the root itself back, as the platform does.
        if (platform::RootOfHandle(hKey) && NameOrEmpty(lpSubKey).find_first_not_of(L'\\') == std::wstring_view::npos)
            *phkResult = hKey;
        else
            *phkResult = state.AddHandle(std::move(node));
        if (lpdwDisposition != nullptr)
            *lpdwDisposition = createdAny ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

// Copies data to a caller's buffer by the platform's size protocol: the size alone when
// there is no buffer, ERROR_MORE_DATA and the size needed (buffer untouched) when it is short.
// The capacity is what the caller's size said on entry: a caller may point the type and the
// size at the same variable, and the type is written first.
LONG CopyData(const std::vector<uint8_t>& data, LPBYTE lpData, DWORD capacity, LPDWORD lpcbData)
{
    DWORD size = static_cast<DWORD>(data.size());
    if (lpData != nullptr) {
        if (capacity < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size != 0)
            std::memcpy(lpData, data.data(), size);
    }
    if (lpcbData != nullptr)
        *lpcbData = size;
    return ERROR_SUCCESS;
}

// A caller's data, or nothing when the pointer does not point at that many readable bytes:
// the platform answers a bad pointer with ERROR_NOACCESS where a plain copy would kill the
// process. The kernel copies and checks in one call.
std::optional<std::vector<uint8_t>> ReadCallerData(const BYTE* data, DWORD size)
{
    std::vector<uint8_t> copy(size);
    if (size == 0)
        return copy;
    iovec local { copy.data(), size };
    iovec remote { const_cast<BYTE*>(data), size };
    ssize_t read = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (read == static_cast<ssize_t>(size))
        return copy;
    if (read < 0 && errno != EFAULT) {
        // Without the call (a kernel or sandbox that refuses it) the caller is trusted.
        std::memcpy(copy.data(), data, size);
        return copy;
    }
    return std::nullopt;
}

// Text types are kept with their terminator, so that a reader that trusts it stays inside
// the data.
void TerminateText(DWORD type, std::vector<uint8_t>& data)
{
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return;
    if (data.empty())
        return;
    if (data.size() % 2 != 0)
        data.push_back(0);
    if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0)
        data.insert(data.end(), { 0, 0 });
}

// A name and its terminator into a buffer counted in characters (terminator included on the
// way in, excluded on the way out).
bool CopyName(const std::wstring& name, LPWSTR buffer, LPDWORD lpcch)
{
    if (*lpcch <= name.size())
        return false;
    std::wmemcpy(buffer, name.data(), name.size());
    buffer[name.size()] = L'\0';
    *lpcch = static_cast<DWORD>(name.size());
    return true;
}

// The key a delete call names below the handle's key: that key itself for an empty path.
LONG FindTarget(RegistryState& state, std::shared_ptr<KeyNode>& target, LPCWSTR lpSubKey)
{
    bool createdAny = false;
    return WalkPath(state, target, lpSubKey, false, createdAny);
}

LONG DeleteWholeKey(RegistryState& state, const std::shared_ptr<KeyNode>& target)
{
    if (target->Parent() == nullptr)
        return ERROR_ACCESS_DENIED; // a root
    if (LONG writable = state.CheckWritable(); writable != ERROR_SUCCESS)
        return writable;
    target->Parent()->DeleteSubkey(target->Name());
    state.MarkDirty();
    return ERROR_SUCCESS;
}

} // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY phkResult,
    LPDWORD lpdwDisposition)
{
    return OpenOrCreate(hKey, lpSubKey, true, phkResult, lpdwDisposition);
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult)
{
    return OpenOrCreate(hKey, lpSubKey, false, phkResult, nullptr);
}

LONG RegCloseKey(HKEY hKey)
{
    return Locked([&](RegistryState& state) -> LONG {
        if (!state.IsOpen())
            return ERROR_INVALID_HANDLE;
        if (!platform::RootOfHandle(hKey) && !state.RemoveHandle(hKey))
            return ERROR_INVALID_HANDLE;
        // The handle is closed whatever the write does; a failed write stays dirty and is
        // reported by the store.
        state.PersistIfDirty();
        return ERROR_SUCCESS;
    });
}

LONG RegFlushKey(HKEY hKey)
{
    return WithKey(hKey, [&](RegistryState& state, std::shared_ptr<KeyNode>&) -> LONG {
        return state.PersistIfDirty();
    });
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr))
        return ERROR_INVALID_PARAMETER;
    return WithKey(hKey, [&](RegistryState&, std::shared_ptr<KeyNode>& node) -> LONG {
        const platform::RegistryValue* value = node->FindValue(NameOrEmpty(lpValueName));
        if (value == nullptr)
            return ERROR_FILE_NOT_FOUND;
        DWORD capacity = lpcbData != nullptr ? *lpcbData : 0;
        if (lpType != nullptr)
            *lpType = value->type;
        return CopyData(value->data, lpData, capacity, lpcbData);
    });
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    if (lpData == nullptr && cbData != 0)
        return ERROR_INVALID_PARAMETER;
    return WithKey(hKey, [&](RegistryState& state, std::shared_ptr<KeyNode>& node) -> LONG {
        if (LONG writable = state.CheckWritable(); writable != ERROR_SUCCESS)
            return writable;
        std::wstring_view name = NameOrEmpty(lpValueName);
        if (!platform::IsValidValueName(name))
            return ERROR_INVALID_PARAMETER;
        std::optional<std::vector<uint8_t>> data = ReadCallerData(lpData, cbData);
        if (!data)
            return ERROR_NOACCESS;
        TerminateText(dwType, *data);
        node->SetValue(name, dwType, std::move(*data));
        state.MarkDirty();
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR lpClass,
    LPDWORD lpcchClass, FILETIME* lpftLastWriteTime)
{
    if (lpReserved != nullptr || lpName == nullptr || lpcchName == nullptr || (lpClass != nullptr && lpcchClass == nullptr))
        return ERROR_INVALID_PARAMETER;
    return WithKey(hKey, [&](RegistryState&, std::shared_ptr<KeyNode>& node) -> LONG {
        if (dwIndex >= node->Subkeys().size())
            return ERROR_NO_MORE_ITEMS;
        const KeyNode& subkey = *node->Subkeys()[dwIndex];
        if (*lpcchName <= subkey.Name().size() || (lpClass != nullptr && *lpcchClass == 0))
            return ERROR_MORE_DATA;
        CopyName(subkey.Name(), lpName, lpcchName);
        if (lpClass != nullptr)
            lpClass[0] = L'\0';
        if (lpcchClass != nullptr)
            *lpcchClass = 0;
        if (lpftLastWriteTime != nullptr)
            *lpftLastWriteTime = ToFileTime(subkey.LastWriteUnixMs());
        return ERROR_SUCCESS;
    });
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved, LPDWORD lpType,
    LPBYTE lpData, LPDWORD lpcbData)
{
    if (lpReserved != nullptr || lpValueName == nullptr || lpcchValueName == nullptr || (lpData != nullptr && lpcbData == nullptr))
        return ERROR_INVALID_PARAMETER;
    return WithKey(hKey, [&](RegistryState&, std::shared_ptr<KeyNode>& node) -> LONG {
        if (dwIndex >= node->Values().size())
            return ERROR_NO_MORE_ITEMS;
        const platform::RegistryValue& value = node->Values()[dwIndex];
        DWORD capacity = lpcbData != nullptr ? *lpcbData : 0;
        // A short name buffer leaves the name and data as they were, but a caller still
        // learns the type and the data size it will need.
        if (!CopyName(value.name, lpValueName, lpcchValueName)) {
            if (lpType != nullptr)
                *lpType = value.type;
            if (lpcbData != nullptr)
                *lpcbData = static_cast<DWORD>(value.data.size());
            return ERROR_MORE_DATA;
        }
        if (lpType != nullptr)
            *lpType = value.type;
        return CopyData(value.data, lpData, capacity, lpcbData);
    });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName)
{
    return WithKey(hKey, [&](RegistryState& state, std::shared_ptr<KeyNode>& node) -> LONG {
        if (LONG writable = state.CheckWritable(); writable != ERROR_SUCCESS)
            return writable;
        if (!node->DeleteValue(NameOrEmpty(lpValueName)))
            return ERROR_FILE_NOT_FOUND;
        state.MarkDirty();
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey)
{
    if (lpSubKey == nullptr)
        return ERROR_INVALID_PARAMETER;
    return WithKey(hKey, [&](RegistryState& state, std::shared_ptr<KeyNode>& target) -> LONG {
        if (LONG found = FindTarget(state, target, lpSubKey); found != ERROR_SUCCESS)
            return found;
        if (!target->Subkeys().empty())
            return ERROR_ACCESS_DENIED;
        return DeleteWholeKey(state, target);
    });
}

LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey)
{
    return WithKey(hKey, [&](RegistryState& state, std::shared_ptr<KeyNode>& target) -> LONG {
        if (LONG found = FindTarget(state, target, lpSubKey); found != ERROR_SUCCESS)
            return found;
        // A root is never emptied by a path that names none (DeleteWholeKey refuses it).
        if (lpSubKey != nullptr && (lpSubKey[0] != L'\0' || target->Parent() == nullptr))
            return DeleteWholeKey(state, target);
        // No subkey, or an empty one: everything below the key goes, the key itself stays.
        if (LONG writable = state.CheckWritable(); writable != ERROR_SUCCESS)
            return writable;
        target->DeleteAllSubkeys();
        target->DeleteAllValues();
        state.MarkDirty();
        return ERROR_SUCCESS;
    });
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
    LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime)
{
    if (lpReserved != nullptr || (lpClass != nullptr && lpcchClass == nullptr))
        return ERROR_INVALID_PARAMETER;
    return WithKey(hKey, [&](RegistryState&, std::shared_ptr<KeyNode>& node) -> LONG {
        if (lpClass != nullptr && *lpcchClass == 0)
            return ERROR_MORE_DATA;
        if (lpClass != nullptr)
            lpClass[0] = L'\0';
        if (lpcchClass != nullptr)
            *lpcchClass = 0;
        // Name lengths in characters without the terminator, data lengths in bytes.
        size_t maxSubkeyName = 0;
        for (const auto& subkey : node->Subkeys())
            maxSubkeyName = std::max(maxSubkeyName, subkey->Name().size());
        size_t maxValueName = 0;
        size_t maxValueData = 0;
        for (const auto& value : node->Values()) {
            maxValueName = std::max(maxValueName, value.name.size());
            maxValueData = std::max(maxValueData, value.data.size());
        }
        if (lpcSubKeys != nullptr)
            *lpcSubKeys = static_cast<DWORD>(node->Subkeys().size());
        if (lpcbMaxSubKeyLen != nullptr)
            *lpcbMaxSubKeyLen = static_cast<DWORD>(maxSubkeyName);
        if (lpcbMaxClassLen != nullptr)
            *lpcbMaxClassLen = 0;
        if (lpcValues != nullptr)
            *lpcValues = static_cast<DWORD>(node->Values().size());
        if (lpcbMaxValueNameLen != nullptr)
            *lpcbMaxValueNameLen = static_cast<DWORD>(maxValueName);
        if (lpcbMaxValueLen != nullptr)
            *lpcbMaxValueLen = static_cast<DWORD>(maxValueData);
        if (lpcbSecurityDescriptor != nullptr)
            *lpcbSecurityDescriptor = 0;
        if (lpftLastWriteTime != nullptr)
            *lpftLastWriteTime = ToFileTime(node->LastWriteUnixMs());
        return ERROR_SUCCESS;
    });
}
