#include "platform/registry/KeyNode.h"

#include <algorithm>

#include "platform/text/WideString.h"
#include "platform/time/Clock.h"

namespace platform {

KeyNode::KeyNode(std::wstring name, KeyNode* parent)
    : m_name(std::move(name))
    , m_parent(parent)
    , m_depth(parent != nullptr ? parent->m_depth + 1 : 0)
{
    Touch();
}

KeyNode::~KeyNode()
{
    // A handle may keep a subkey alive after its parent is gone.
    for (auto& subkey : m_subkeys)
        subkey->m_parent = nullptr;
}

size_t KeyNode::SubkeyPosition(std::wstring_view name) const
{
    auto it = std::lower_bound(m_subkeys.begin(), m_subkeys.end(), name,
        [](const std::shared_ptr<KeyNode>& node, std::wstring_view wanted) { return CompareNoCase(node->m_name, wanted) < 0; });
    return static_cast<size_t>(it - m_subkeys.begin());
}

std::shared_ptr<KeyNode> KeyNode::FindSubkey(std::wstring_view name) const
{
    size_t at = SubkeyPosition(name);
    if (at < m_subkeys.size() && EqualsNoCase(m_subkeys[at]->m_name, name))
        return m_subkeys[at];
    return nullptr;
}

std::shared_ptr<KeyNode> KeyNode::CreateSubkey(std::wstring_view name, bool& created)
{
    size_t at = SubkeyPosition(name);
    if (at < m_subkeys.size() && EqualsNoCase(m_subkeys[at]->m_name, name)) {
        created = false;
        return m_subkeys[at];
    }
    auto node = std::make_shared<KeyNode>(std::wstring(name), this);
    m_subkeys.insert(m_subkeys.begin() + static_cast<std::ptrdiff_t>(at), node);
    Touch();
    created = true;
    return node;
}

bool KeyNode::DeleteSubkey(std::wstring_view name)
{
    size_t at = SubkeyPosition(name);
    if (at >= m_subkeys.size() || !EqualsNoCase(m_subkeys[at]->m_name, name))
        return false;
    std::shared_ptr<KeyNode> doomed = std::move(m_subkeys[at]);
    m_subkeys.erase(m_subkeys.begin() + static_cast<std::ptrdiff_t>(at));
    doomed->MarkDeleted();
    Touch();
    return true;
}

void KeyNode::DeleteAllSubkeys()
{
    std::vector<std::shared_ptr<KeyNode>> doomed;
    doomed.swap(m_subkeys);
    for (auto& node : doomed)
        node->MarkDeleted();
    Touch();
}

void KeyNode::MarkDeleted()
{
    m_deleted = true;
    m_parent = nullptr;
    m_values.clear();
    std::vector<std::shared_ptr<KeyNode>> below;
    below.swap(m_subkeys);
    for (auto& node : below)
        node->MarkDeleted();
}

const RegistryValue* KeyNode::FindValue(std::wstring_view name) const
{
    for (const RegistryValue& value : m_values)
        if (EqualsNoCase(value.name, name))
            return &value;
    return nullptr;
}

void KeyNode::SetValue(std::wstring_view name, DWORD type, std::vector<uint8_t> data)
{
    Touch();
    for (RegistryValue& value : m_values) {
        if (EqualsNoCase(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    m_values.push_back(RegistryValue { std::wstring(name), type, std::move(data) });
}

bool KeyNode::DeleteValue(std::wstring_view name)
{
    auto it = std::find_if(m_values.begin(), m_values.end(), [&](const RegistryValue& value) { return EqualsNoCase(value.name, name); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    Touch();
    return true;
}

void KeyNode::DeleteAllValues()
{
    m_values.clear();
    Touch();
}

bool KeyNode::SameContents(const KeyNode& other) const
{
    if (m_name != other.m_name || m_values != other.m_values || m_subkeys.size() != other.m_subkeys.size())
        return false;
    for (size_t i = 0; i < m_subkeys.size(); ++i)
        if (!m_subkeys[i]->SameContents(*other.m_subkeys[i]))
            return false;
    return true;
}

void KeyNode::Touch()
{
    m_lastWriteUnixMs = CurrentClock().UnixMs();
}

} // namespace platform
