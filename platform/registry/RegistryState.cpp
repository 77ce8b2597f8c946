#include "platform/registry/RegistryState.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/registry/RegFile.h"

namespace platform {

namespace {

std::string Describe(int error)
{
    if (error == HiveFile::kNotARegularFile)
        return "it is not a regular file (a FIFO, a device or a folder)";
    return std::strerror(error);
}

// "line 12: ..." for the first bad line, and how many more there were.
std::string DescribeFaults(const std::vector<RegFileError>& faults)
{
    if (faults.empty())
        return std::string();
    std::string text = faults.front().Describe();
    if (faults.size() > 1)
        text += " (and " + std::to_string(faults.size() - 1) + (faults.size() == 2 ? " more bad line)" : " more bad lines)");
    return text;
}

} // namespace

RegistryState& RegistryState::Instance()
{
    static RegistryState state;
    return state;
}

RegistryState::RegistryState()
    : m_tree(std::make_unique<RegistryTree>())
{
}

RegistryState::~RegistryState()
{
    Close();
}

LONG RegistryState::Resolve(HKEY key, std::shared_ptr<KeyNode>& node) const
{
    node.reset();
    if (!m_open)
        return ERROR_INVALID_HANDLE;
    if (std::optional<RegistryRoot> root = RootOfHandle(key)) {
        node = m_tree->Root(*root);
        return ERROR_SUCCESS;
    }
    auto it = m_handles.find(reinterpret_cast<uintptr_t>(key));
    if (it == m_handles.end())
        return ERROR_INVALID_HANDLE;
    if (it->second->IsDeleted())
        return ERROR_KEY_DELETED;
    node = it->second;
    return ERROR_SUCCESS;
}

HKEY RegistryState::AddHandle(std::shared_ptr<KeyNode> node)
{
    uintptr_t value = m_nextHandle;
    m_nextHandle += 4;
    m_handles.emplace(value, std::move(node));
    return reinterpret_cast<HKEY>(value);
}

bool RegistryState::RemoveHandle(HKEY key)
{
    return m_handles.erase(reinterpret_cast<uintptr_t>(key)) != 0;
}

LONG RegistryState::CheckWritable() const
{
    return m_mode == RegistryStoreMode::ReadOnly ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

LONG RegistryState::PersistIfDirty(bool last)
{
    if (!m_dirty || m_mode != RegistryStoreMode::ReadWrite || !m_hive) {
        if (m_mode != RegistryStoreMode::ReadWrite)
            m_dirty = false;
        return ERROR_SUCCESS;
    }
    int error = m_hive->Replace(WriteRegFile(*m_tree));
    if (error != 0) {
        if (!m_writeFailureReported) {
            std::fprintf(stderr, "registry: cannot write the hive %s: %s (%s)\n", m_hive->Path().c_str(), Describe(error).c_str(),
                last ? "the changes since its last write are lost" : "the changes are kept and written at the next chance");
            m_writeFailureReported = true;
        }
        return ERROR_CANTWRITE;
    }
    m_dirty = false;
    m_writeFailureReported = false;
    return ERROR_SUCCESS;
}

LONG RegistryState::CheckHiveWritable(std::string& detail) const
{
    if (!m_open || m_mode != RegistryStoreMode::ReadWrite || !m_hive) {
        detail = "the registry is not open for changes";
        return ERROR_ACCESS_DENIED;
    }
    int error = m_hive->ProbeReplace();
    if (error == 0)
        return ERROR_SUCCESS;
    detail = "cannot write the registry " + m_hive->Path().string() + " (" + m_hive->TemporaryPath().string()
        + " cannot be made beside it): " + Describe(error);
    return ERROR_CANTWRITE;
}

RegistryStoreResult RegistryState::Open(const std::filesystem::path& hivePath, RegistryStoreMode mode)
{
    Close();
    RegistryStoreResult result;
    auto tree = std::make_unique<RegistryTree>();
    std::unique_ptr<HiveFile> hive;
    bool rewrite = false; // the good keys of a damaged hive, written back at once

    if (mode != RegistryStoreMode::MemoryOnly) {
        hive = std::make_unique<HiveFile>(hivePath);
        if (mode == RegistryStoreMode::ReadWrite) {
            int lockError = hive->Lock();
            if (lockError == EWOULDBLOCK) {
                result.status = RegistryStoreStatus::InUse;
                result.detail = "the registry " + hivePath.string() + " is in use by another process";
                return result;
            }
            if (lockError != 0) {
                result.status = RegistryStoreStatus::Unreadable;
                result.detail = "cannot lock the registry " + hivePath.string() + " (" + hive->LockPath().string() + "): "
                    + Describe(lockError);
                return result;
            }
            // Left over by a writer that died before its rename; the hive itself is whole.
            std::error_code ignored;
            std::filesystem::remove(hive->TemporaryPath(), ignored);
        }

        std::string bytes;
        int readError = hive->Read(bytes);
        if (readError != 0 && readError != ENOENT) {
            result.status = RegistryStoreStatus::Unreadable;
            result.detail = "cannot read the registry " + hivePath.string() + ": " + Describe(readError);
            return result;
        }
        if (readError == 0) {
            RegFileDocument document;
            RegFileError parseError;
            if (ParseRegFile(bytes, document, parseError)) {
                tree->Apply(document);
            } else {
                // A damaged hive keeps its good keys: one bad line must not cost the rest.
                std::vector<RegFileError> faults;
                bool kept = ParseRegFileKeepingGoodLines(bytes, document, faults);
                result.damage = DescribeFaults(faults);
                if (mode != RegistryStoreMode::ReadWrite) {
                    if (!kept) {
                        result.status = RegistryStoreStatus::Unreadable;
                        result.detail = "the registry " + hivePath.string() + " cannot be parsed (" + result.damage + ")";
                        return result;
                    }
                    std::fprintf(stderr, "registry: the hive %s has bad lines, left out: %s\n", hivePath.c_str(),
                        result.damage.c_str());
                    tree->Apply(document);
                } else {
                    std::filesystem::path movedTo;
                    int moveError = hive->MoveAside(movedTo);
                    if (moveError != 0) {
                        result.status = RegistryStoreStatus::Unreadable;
                        result.detail = "the registry " + hivePath.string() + " cannot be parsed (" + result.damage
                            + ") and cannot be moved aside: " + Describe(moveError);
                        return result;
                    }
                    if (kept) {
                        std::fprintf(stderr,
                            "registry: the hive %s has bad lines (%s); they were left out, the good keys are kept, and the "
                            "original was moved to %s\n",
                            hivePath.c_str(), result.damage.c_str(), movedTo.c_str());
                        tree->Apply(document);
                        rewrite = true;
                    } else {
                        std::fprintf(stderr,
                            "registry: the hive %s cannot be parsed (%s); it was moved to %s and the registry starts empty\n",
                            hivePath.c_str(), result.damage.c_str(), movedTo.c_str());
                    }
                    result.movedAsideTo = movedTo;
                }
            }
        }
    }

    m_tree = std::move(tree);
    m_hive = std::move(hive);
    m_mode = mode;
    m_open = true;
    m_dirty = rewrite;
    m_writeFailureReported = false;
    PersistIfDirty();
    return result;
}

LONG RegistryState::Close()
{
    if (!m_open)
        return ERROR_SUCCESS;
    m_writeFailureReported = false; // a last failed write is always reported: the change is lost
    LONG result = PersistIfDirty(true);
    m_handles.clear();
    m_tree->Clear();
    m_tree = std::make_unique<RegistryTree>();
    m_hive.reset(); // releases the lock
    m_open = false;
    m_dirty = false;
    return result;
}

} // namespace platform
