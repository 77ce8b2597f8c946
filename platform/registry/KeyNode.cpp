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
    m_valueIndex.clear();
    m_valueIndexBuilt = false;
    std::vector<std::shared_ptr<KeyNode>> below;
    below.swap(m_subkeys);
    for (auto& node : below)
        node->MarkDeleted();
}

namespace {

// Below this many values a scan is cheaper than keeping the index.
constexpr size_t kIndexedFrom = 32;

} // namespace

size_t KeyNode::ValuePosition(std::wstring_view name) const
{
    if (m_values.size() < kIndexedFrom) {
        for (size_t at = 0; at < m_values.size(); ++at)
            if (EqualsNoCase(m_values[at].name, name))
                return at;
        return m_values.size();
    }
    if (!m_valueIndexBuilt) {
        m_valueIndex.clear();
        m_valueIndex.reserve(m_values.size());
        for (size_t at = 0; at < m_values.size(); ++at)
            m_valueIndex.emplace(WideToLower(m_values[at].name), at);
        m_valueIndexBuilt = true;
    }
    auto it = m_valueIndex.find(WideToLower(name));
    return it != m_valueIndex.end() ? it->second : m_values.size();
}

const RegistryValue* KeyNode::FindValue(std::wstring_view name) const
{
    size_t at = ValuePosition(name);
    return at < m_values.size() ? &m_values[at] : nullptr;
}

void KeyNode::SetValue(std::wstring_view name, DWORD type, std::vector<uint8_t> data)
{
    Touch();
    size_t at = ValuePosition(name);
    if (at < m_values.size()) {
        m_values[at].type = type;
        m_values[at].data = std::move(data);
        return;
    }
    m_values.push_back(RegistryValue { std::wstring(name), type, std::move(data) });
    if (m_valueIndexBuilt)
        m_valueIndex.emplace(WideToLower(name), at);
}

bool KeyNode::DeleteValue(std::wstring_view name)
{
    size_t at = ValuePosition(name);
    if (at >= m_values.size())
        return false;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(at));
    m_valueIndex.clear();
    m_valueIndexBuilt = false;
    Touch();
    return true;
}

void KeyNode::DeleteAllValues()
{
    m_values.clear();
    m_valueIndex.clear();
    m_valueIndexBuilt = false;
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
