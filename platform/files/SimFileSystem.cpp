#include "platform/files/SimFileSystem.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/files/Files.h"
#include "platform/files/NamePattern.h"
#include "platform/files/ShareTable.h"
#include "platform/text/WideString.h"
#include "platform/time/Clock.h"

namespace platform {

struct SimFileSystem::Node {
    uint64_t id = 0;
    bool isDirectory = false;
    bool readOnly = false;
    std::vector<uint8_t> data;
    int64_t createdNs = 0;
    int64_t accessedNs = 0;
    int64_t writtenNs = 0;
    std::map<std::wstring, std::shared_ptr<Node>> children; // by the name as created
};

namespace {

struct FaultRule {
    std::wstring pattern;
    int remaining;
    DWORD error;
};

int64_t NowNs()
{
    return CurrentClock().UnixMs() * 1000000LL;
}

} // namespace

struct SimFileSystem::State {
    mutable std::mutex mutex;
    std::shared_ptr<Node> root;
    uint64_t capacityBytes = kDefaultCapacityBytes;
    uint64_t usedBytes = 0;
    uint64_t nextId = 1;
    std::vector<FaultRule> openFaults;
    std::vector<FaultRule> writeFaults;
    std::shared_ptr<ShareTable> shares = std::make_shared<ShareTable>();

    std::shared_ptr<Node> MakeNode(bool isDirectory)
    {
        auto node = std::make_shared<Node>();
        node->id = nextId++;
        node->isDirectory = isDirectory;
        node->createdNs = node->accessedNs = node->writtenNs = NowNs();
        return node;
    }

    // The error of the first rule that matches and still has faults to give.
    static DWORD TakeFault(std::vector<FaultRule>& rules, const std::wstring& path)
    {
        for (auto it = rules.begin(); it != rules.end(); ++it) {
            if (!MatchesNamePattern(path, it->pattern))
                continue;
            DWORD error = it->error;
            if (it->remaining != kEveryTime && --it->remaining <= 0)
                rules.erase(it);
            return error;
        }
        return ERROR_SUCCESS;
    }

    // Bytes the data of a file may grow to from its current size.
    uint64_t RoomFor(const Node& node) const
    {
        uint64_t free = capacityBytes > usedBytes ? capacityBytes - usedBytes : 0;
        return node.data.size() + free;
    }

    void Resize(Node& node, uint64_t sizeBytes)
    {
        usedBytes = usedBytes - node.data.size() + sizeBytes;
        node.data.resize(static_cast<size_t>(sizeBytes));
        node.writtenNs = NowNs();
    }
};

namespace {

using Node = SimFileSystem::Node;
using State = SimFileSystem::State;

// Where a device path leads in the tree.
struct Found {
    std::vector<const Node*> chain; // the folders from the root to `folder`
    std::shared_ptr<Node> folder;   // the folder holding the entry; null for the root itself
    std::wstring name;              // the entry's name as stored, or as given when absent
    std::shared_ptr<Node> node;     // the entry; null when absent
};

std::map<std::wstring, std::shared_ptr<Node>>::iterator FindChild(Node& folder, const std::wstring& name)
{
    auto exact = folder.children.find(name);
    if (exact != folder.children.end())
        return exact;
    return std::find_if(folder.children.begin(), folder.children.end(),
        [&](const auto& child) { return EqualsNoCase(child.first, name); });
}

DWORD Lookup(const State& state, const DevicePath& path, Found& found)
{
    found = Found();
    if (path.IsRoot()) {
        found.node = state.root;
        return ERROR_SUCCESS;
    }
    std::shared_ptr<Node> folder = state.root;
    const std::vector<std::wstring>& names = path.Names();
    for (size_t i = 0; i < names.size(); ++i) {
        found.chain.push_back(folder.get());
        auto child = FindChild(*folder, names[i]);
        bool last = i + 1 == names.size();
        if (last) {
            found.folder = folder;
            found.name = child != folder->children.end() ? child->first : names[i];
            found.node = child != folder->children.end() ? child->second : nullptr;
            return ERROR_SUCCESS;
        }
        if (child == folder->children.end() || !child->second->isDirectory)
            return ERROR_PATH_NOT_FOUND;
        folder = child->second;
    }
    return ERROR_SUCCESS;
}

void FillEntry(const std::wstring& name, const Node& node, EntryInfo& entry)
{
    entry.name = name;
    entry.attributes = node.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (node.readOnly)
        entry.attributes |= FILE_ATTRIBUTE_READONLY;
    entry.sizeBytes = node.isDirectory ? 0 : node.data.size();
    entry.creationTime = FileTimeFromUnixNs(node.createdNs);
    entry.lastAccessTime = FileTimeFromUnixNs(node.accessedNs);
    entry.lastWriteTime = FileTimeFromUnixNs(node.writtenNs);
}

class SimFileStream final : public FileStream {
public:
    SimFileStream(std::shared_ptr<State> state, std::shared_ptr<Node> node, std::wstring path, ShareClaim claim)
        : m_state(std::move(state))
        , m_node(std::move(node))
        , m_path(std::move(path))
        , m_claim(std::move(claim))
    {
    }

    DWORD ReadAt(uint64_t offset, void* buffer, DWORD size, DWORD& bytesRead) override
    {
        std::lock_guard lock(m_state->mutex);
        bytesRead = 0;
        const std::vector<uint8_t>& data = m_node->data;
        if (offset < data.size()) {
            bytesRead = static_cast<DWORD>(std::min<uint64_t>(size, data.size() - offset));
            std::memcpy(buffer, data.data() + offset, bytesRead);
        }
        m_node->accessedNs = NowNs();
        return ERROR_SUCCESS;
    }

    DWORD WriteAt(uint64_t offset, const void* buffer, DWORD size, DWORD& bytesWritten) override
    {
        std::lock_guard lock(m_state->mutex);
        bytesWritten = 0;
        if (DWORD error = State::TakeFault(m_state->writeFaults, m_path))
            return error;
        uint64_t room = m_state->RoomFor(*m_node);
        if (offset >= room)
            return ERROR_DISK_FULL;
        DWORD fits = static_cast<DWORD>(std::min<uint64_t>(size, room - offset));
        if (offset + fits > m_node->data.size())
            m_state->Resize(*m_node, offset + fits);
        std::memcpy(m_node->data.data() + offset, buffer, fits);
        m_node->writtenNs = NowNs();
        bytesWritten = fits;
        return fits == size ? ERROR_SUCCESS : ERROR_DISK_FULL;
    }

    DWORD GetSize(uint64_t& sizeBytes) override
    {
        std::lock_guard lock(m_state->mutex);
        sizeBytes = m_node->data.size();
        return ERROR_SUCCESS;
    }

    DWORD SetSize(uint64_t sizeBytes) override
    {
        std::lock_guard lock(m_state->mutex);
        if (sizeBytes > m_node->data.size() && sizeBytes > m_state->RoomFor(*m_node))
            return ERROR_DISK_FULL;
        m_state->Resize(*m_node, sizeBytes);
        return ERROR_SUCCESS;
    }

    DWORD Flush() override { return ERROR_SUCCESS; }

private:
    std::shared_ptr<State> m_state;
    std::shared_ptr<Node> m_node;
    std::wstring m_path;
    ShareClaim m_claim;
};

ShareTable::FileKey KeyOf(const Node& node)
{
    return { 0, node.id };
}

} // namespace

SimFileSystem::SimFileSystem()
    : m_state(std::make_shared<State>())
{
    m_state->root = m_state->MakeNode(true);
}

SimFileSystem::~SimFileSystem() = default;

void SimFileSystem::FailOpens(std::wstring pathPattern, int count, DWORD error)
{
    std::lock_guard lock(m_state->mutex);
    if (count != 0)
        m_state->openFaults.push_back({ std::move(pathPattern), count, error });
}

void SimFileSystem::FailWrites(std::wstring pathPattern, int count, DWORD error)
{
    std::lock_guard lock(m_state->mutex);
    if (count != 0)
        m_state->writeFaults.push_back({ std::move(pathPattern), count, error });
}

void SimFileSystem::SetCapacity(uint64_t bytes)
{
    std::lock_guard lock(m_state->mutex);
    m_state->capacityBytes = bytes;
}

void SimFileSystem::ClearFaults()
{
    std::lock_guard lock(m_state->mutex);
    m_state->openFaults.clear();
    m_state->writeFaults.clear();
    m_state->capacityBytes = kDefaultCapacityBytes;
}

uint64_t SimFileSystem::UsedBytes() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->usedBytes;
}

DWORD SimFileSystem::SetReadOnly(std::wstring_view path, bool readOnly)
{
    DevicePath parsed;
    if (DWORD error = DevicePath::Parse(path, parsed))
        return error;
    std::lock_guard lock(m_state->mutex);
    Found found;
    if (DWORD error = Lookup(*m_state, parsed, found))
        return error;
    if (!found.node)
        return ERROR_FILE_NOT_FOUND;
    if (found.node->isDirectory)
        return ERROR_ACCESS_DENIED;
    found.node->readOnly = readOnly;
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::Open(const DevicePath& path, DWORD access, DWORD shareMode, DWORD disposition,
    std::unique_ptr<FileStream>& stream, bool& existed)
{
    std::lock_guard lock(m_state->mutex);
    std::wstring text = path.ToString();
    if (DWORD error = State::TakeFault(m_state->openFaults, text))
        return error;
    Found found;
    if (DWORD error = Lookup(*m_state, path, found))
        return error;
    std::shared_ptr<Node> node = found.node;
    EntryState state { node != nullptr, node && node->isDirectory, node && node->readOnly };
    OpenPlan plan = PlanOpen(state, access, disposition);
    if (plan.error)
        return plan.error;
    if (plan.create) {
        node = m_state->MakeNode(false);
        found.folder->children.emplace(found.name, node);
    }
    ShareClaim claim;
    if (DWORD error = ShareTable::Claim(m_state->shares, KeyOf(*node), EffectiveAccess(access, plan), shareMode, claim))
        return error;
    if (plan.truncate) {
        m_state->Resize(*node, 0);
        // From here on the handle counts with the access it asked for.
        if (EffectiveAccess(access, plan) != access)
            ShareTable::Claim(m_state->shares, KeyOf(*node), access, shareMode, claim);
    }
    existed = !plan.create;
    stream = std::make_unique<SimFileStream>(m_state, std::move(node), std::move(text), std::move(claim));
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::GetEntry(const DevicePath& path, EntryInfo& entry)
{
    std::lock_guard lock(m_state->mutex);
    Found found;
    if (DWORD error = Lookup(*m_state, path, found))
        return error;
    if (!found.node)
        return ERROR_FILE_NOT_FOUND;
    FillEntry(found.name, *found.node, entry);
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::ListFolder(const DevicePath& folder, std::vector<EntryInfo>& entries)
{
    entries.clear();
    std::lock_guard lock(m_state->mutex);
    Found found;
    if (DWORD error = Lookup(*m_state, folder, found))
        return error;
    if (!found.node || !found.node->isDirectory)
        return ERROR_PATH_NOT_FOUND;
    for (const auto& [name, child] : found.node->children) {
        EntryInfo entry;
        FillEntry(name, *child, entry);
        entries.push_back(std::move(entry));
    }
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::CreateDirectory(const DevicePath& path)
{
    if (path.IsRoot())
        return ERROR_ALREADY_EXISTS;
    std::lock_guard lock(m_state->mutex);
    Found found;
    if (DWORD error = Lookup(*m_state, path, found))
        return error;
    if (found.node)
        return ERROR_ALREADY_EXISTS;
    found.folder->children.emplace(found.name, m_state->MakeNode(true));
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::RemoveDirectory(const DevicePath& path)
{
    if (path.IsRoot())
        return ERROR_ACCESS_DENIED;
    std::lock_guard lock(m_state->mutex);
    Found found;
    if (DWORD error = Lookup(*m_state, path, found))
        return error;
    if (!found.node)
        return ERROR_FILE_NOT_FOUND;
    if (!found.node->isDirectory)
        return ERROR_DIRECTORY;
    if (!found.node->children.empty())
        return ERROR_DIR_NOT_EMPTY;
    found.folder->children.erase(found.name);
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::DeleteFile(const DevicePath& path)
{
    if (path.IsRoot())
        return ERROR_ACCESS_DENIED;
    std::lock_guard lock(m_state->mutex);
    Found found;
    if (DWORD error = Lookup(*m_state, path, found))
        return error;
    if (!found.node)
        return ERROR_FILE_NOT_FOUND;
    if (found.node->isDirectory || found.node->readOnly)
        return ERROR_ACCESS_DENIED;
    if (m_state->shares->InUse(KeyOf(*found.node)))
        return ERROR_SHARING_VIOLATION;
    m_state->usedBytes -= found.node->data.size();
    found.folder->children.erase(found.name);
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::MoveEntry(const DevicePath& from, const DevicePath& to)
{
    if (from.IsRoot() || to.IsRoot())
        return ERROR_ACCESS_DENIED;
    std::lock_guard lock(m_state->mutex);
    Found source;
    if (DWORD error = Lookup(*m_state, from, source))
        return error;
    if (!source.node)
        return ERROR_FILE_NOT_FOUND;
    Found destination;
    if (DWORD error = Lookup(*m_state, to, destination))
        return error;
    if (destination.node) {
        if (destination.node != source.node)
            return ERROR_ALREADY_EXISTS;
        // The same entry under another case: the move renames it to the case given.
        if (destination.name == to.Leaf())
            return ERROR_SUCCESS;
    }
    if (source.node->isDirectory) {
        destination.chain.push_back(destination.folder.get());
        if (std::find(destination.chain.begin(), destination.chain.end(), source.node.get()) != destination.chain.end())
            return ERROR_ACCESS_DENIED;
    } else if (m_state->shares->InUse(KeyOf(*source.node))) {
        return ERROR_SHARING_VIOLATION;
    }
    std::shared_ptr<Node> node = source.node;
    source.folder->children.erase(source.name);
    destination.folder->children.emplace(to.Leaf(), std::move(node));
    return ERROR_SUCCESS;
}

DWORD SimFileSystem::ReplaceFile(const DevicePath& from, const DevicePath& to)
{
    if (from.IsRoot() || to.IsRoot())
        return ERROR_ACCESS_DENIED;
    {
        std::lock_guard lock(m_state->mutex);
        Found source;
        if (DWORD error = Lookup(*m_state, from, source))
            return error;
        if (!source.node)
            return ERROR_FILE_NOT_FOUND;
        if (source.node->isDirectory)
            return ERROR_ACCESS_DENIED;
        Found destination;
        if (DWORD error = Lookup(*m_state, to, destination))
            return error;
        if (destination.node && destination.node != source.node) {
            if (destination.node->isDirectory || destination.node->readOnly)
                return ERROR_ACCESS_DENIED;
            if (m_state->shares->InUse(KeyOf(*source.node)) || m_state->shares->InUse(KeyOf(*destination.node)))
                return ERROR_SHARING_VIOLATION;
            m_state->usedBytes -= destination.node->data.size();
            std::shared_ptr<Node> node = source.node;
            source.folder->children.erase(source.name);
            // The destination keeps the name it had, as a rename over a file does.
            destination.folder->children[destination.name] = std::move(node);
            return ERROR_SUCCESS;
        }
    }
    // Nothing to replace, or the same entry under another case: an ordinary move.
    return MoveEntry(from, to);
}

} // namespace platform
