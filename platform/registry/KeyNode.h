// One key of the in-memory registry: its subkeys and its typed values. Open handles share
// ownership of a node, so a handle outlives the deletion of its key and can tell that the
// key is gone (ERROR_KEY_DELETED).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry/Registry.h"

namespace platform {

struct RegistryValue {
    std::wstring name; // empty for the default value
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;

    bool operator==(const RegistryValue&) const = default;
};

class KeyNode {
public:
    explicit KeyNode(std::wstring name, KeyNode* parent = nullptr);
    ~KeyNode();
    KeyNode(const KeyNode&) = delete;
    KeyNode& operator=(const KeyNode&) = delete;

    const std::wstring& Name() const { return m_name; }
    KeyNode* Parent() const { return m_parent; }
    // 0 for a root.
    size_t Depth() const { return m_depth; }
    bool IsDeleted() const { return m_deleted; }
    int64_t LastWriteUnixMs() const { return m_lastWriteUnixMs; }

    // Subkeys in case-insensitive alphabetical order; names compare without case and keep
    // the case they were created with.
    const std::vector<std::shared_ptr<KeyNode>>& Subkeys() const { return m_subkeys; }
    std::shared_ptr<KeyNode> FindSubkey(std::wstring_view name) const;
    // The existing subkey of that name or a new one; created tells which.
    std::shared_ptr<KeyNode> CreateSubkey(std::wstring_view name, bool& created);
    // Unlinks the subkey and marks it and everything below it deleted.
    bool DeleteSubkey(std::wstring_view name);
    void DeleteAllSubkeys();

    // Values in the order they were created: an overwritten value keeps its place and the
    // case of its first name.
    const std::vector<RegistryValue>& Values() const { return m_values; }
    const RegistryValue* FindValue(std::wstring_view name) const;
    void SetValue(std::wstring_view name, DWORD type, std::vector<uint8_t> data);
    bool DeleteValue(std::wstring_view name);
    void DeleteAllValues();

    // Same names (with their case), values in the same order and the same subkeys, recursively.
    bool SameContents(const KeyNode& other) const;

private:
    void MarkDeleted();
    void Touch();
    size_t SubkeyPosition(std::wstring_view name) const;
    // The value's place in m_values, or m_values.size() when there is none.
    size_t ValuePosition(std::wstring_view name) const;

    std::wstring m_name;
    KeyNode* m_parent = nullptr;
    size_t m_depth = 0;
    bool m_deleted = false;
    int64_t m_lastWriteUnixMs = 0;
    std::vector<std::shared_ptr<KeyNode>> m_subkeys;
    std::vector<RegistryValue> m_values;
    // Lower-cased name to place, built once a key holds many values, so that loading a key
    // with a hundred thousand of them stays linear; dropped by a delete, rebuilt when needed.
    mutable std::unordered_map<std::wstring, size_t> m_valueIndex;
    mutable bool m_valueIndexBuilt = false;
};

} // namespace platform
