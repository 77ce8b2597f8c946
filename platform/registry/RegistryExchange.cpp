#include "platform/registry/RegistryExchange.h"

#include <mutex>
#include <new>

#include "platform/registry/RegistryState.h"

namespace platform {

LONG ExportRegistryKey(HKEY key, LPCWSTR subKey, std::string& text)
{
    try {
        RegistryState& state = RegistryState::Instance();
        std::lock_guard lock(state.Mutex());
        std::shared_ptr<KeyNode> node;
        if (LONG resolved = state.Resolve(key, node); resolved != ERROR_SUCCESS)
            return resolved;
        std::vector<std::wstring> path;
        if (LONG split = SplitKeyPath(subKey != nullptr ? std::wstring_view(subKey) : std::wstring_view(), path); split != ERROR_SUCCESS)
            return split;
        for (const std::wstring& name : path) {
            node = node->FindSubkey(name);
            if (!node)
                return ERROR_FILE_NOT_FOUND;
        }
        text = WriteRegFileKey(*node, FullKeyPath(*node));
        return ERROR_SUCCESS;
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

LONG ImportRegistryFile(std::string_view bytes, RegFileError& error)
{
    try {
        RegFileDocument document;
        if (!ParseRegFile(bytes, document, error))
            return ERROR_BADDB;
        RegistryState& state = RegistryState::Instance();
        std::lock_guard lock(state.Mutex());
        if (!state.IsOpen())
            return ERROR_INVALID_HANDLE;
        if (LONG writable = state.CheckWritable(); writable != ERROR_SUCCESS)
            return writable;
        state.Tree().Apply(document);
        state.MarkDirty();
        return state.PersistIfDirty();
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

} // namespace platform
