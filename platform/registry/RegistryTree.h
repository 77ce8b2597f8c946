// The whole registry: the two roots this system keeps, HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE. The other predefined roots do not exist here; handles naming them are
// invalid (ERROR_INVALID_HANDLE).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/registry/KeyNode.h"
#include "platform/registry/RegistryNames.h"

namespace platform {

struct RegFileDocument;

class RegistryTree {
public:
    RegistryTree();

    const std::shared_ptr<KeyNode>& Root(RegistryRoot root) const;
    // The key at a path below a root, or null.
    std::shared_ptr<KeyNode> Find(RegistryRoot root, const std::vector<std::wstring>& path) const;
    // Replays a parsed .reg file: creates the keys of its sections, sets and deletes values,
    // deletes the keys of its [-KEY] sections. The parser has checked names and depth.
    void Apply(const RegFileDocument& document);
    // Marks every key deleted (open handles see ERROR_KEY_DELETED) and starts empty.
    void Clear();

    bool SameContents(const RegistryTree& other) const;

private:
    std::shared_ptr<KeyNode> m_currentUser;
    std::shared_ptr<KeyNode> m_localMachine;
};

// "HKEY_CURRENT_USER\Software\Maker": the root's name and the names of the keys down to
// this one, in their stored case. Empty for a deleted key.
std::wstring FullKeyPath(const KeyNode& key);

} // namespace platform
