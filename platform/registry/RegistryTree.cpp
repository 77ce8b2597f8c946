#include "platform/registry/RegistryTree.h"

#include "platform/registry/RegFile.h"

namespace platform {

RegistryTree::RegistryTree()
    : m_currentUser(std::make_shared<KeyNode>(RootName(RegistryRoot::CurrentUser)))
    , m_localMachine(std::make_shared<KeyNode>(RootName(RegistryRoot::LocalMachine)))
{
}

const std::shared_ptr<KeyNode>& RegistryTree::Root(RegistryRoot root) const
{
    return root == RegistryRoot::CurrentUser ? m_currentUser : m_localMachine;
}

std::shared_ptr<KeyNode> RegistryTree::Find(RegistryRoot root, const std::vector<std::wstring>& path) const
{
    std::shared_ptr<KeyNode> node = Root(root);
    for (const std::wstring& name : path) {
        node = node->FindSubkey(name);
        if (!node)
            return nullptr;
    }
    return node;
}

void RegistryTree::Apply(const RegFileDocument& document)
{
    for (const RegFileSection& section : document.sections) {
        if (section.removeKey) {
            if (section.path.empty())
                continue; // a root cannot be deleted; the parser refuses it
            std::vector<std::wstring> parentPath(section.path.begin(), section.path.end() - 1);
            if (std::shared_ptr<KeyNode> parent = Find(section.root, parentPath))
                parent->DeleteSubkey(section.path.back());
            continue;
        }
        std::shared_ptr<KeyNode> node = Root(section.root);
        for (const std::wstring& name : section.path) {
            bool created = false;
            node = node->CreateSubkey(name, created);
        }
        for (const RegFileValue& value : section.values) {
            if (value.remove)
                node->DeleteValue(value.name);
            else
                node->SetValue(value.name, value.type, value.data);
        }
    }
}

void RegistryTree::Clear()
{
    m_currentUser->DeleteAllSubkeys();
    m_currentUser->DeleteAllValues();
    m_localMachine->DeleteAllSubkeys();
    m_localMachine->DeleteAllValues();
}

bool RegistryTree::SameContents(const RegistryTree& other) const
{
    return m_currentUser->SameContents(*other.m_currentUser) && m_localMachine->SameContents(*other.m_localMachine);
}

std::wstring FullKeyPath(const KeyNode& key)
{
    std::vector<const KeyNode*> chain;
    for (const KeyNode* node = &key; node != nullptr; node = node->Parent())
        chain.push_back(node);
    if (chain.back()->Depth() != 0)
        return {}; // cut off from its root: deleted
    std::wstring path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += L'\\';
        path += (*it)->Name();
    }
    return path;
}

} // namespace platform
