#include "platform/files/ShareTable.h"

#include "platform/files/Files.h"

namespace platform {

namespace {

bool TakesPart(DWORD access)
{
    return (access & (GENERIC_READ | GENERIC_WRITE)) != 0;
}

} // namespace

DWORD ShareTable::Claim(const std::shared_ptr<ShareTable>& table, FileKey key, DWORD access, DWORD shareMode,
    ShareClaim& claim)
{
    claim.Reset();
    if (!TakesPart(access))
        return ERROR_SUCCESS;
    bool reads = (access & GENERIC_READ) != 0;
    bool writes = (access & GENERIC_WRITE) != 0;
    bool sharesRead = (shareMode & FILE_SHARE_READ) != 0;
    bool sharesWrite = (shareMode & FILE_SHARE_WRITE) != 0;
    {
        std::lock_guard lock(table->m_mutex);
        Opens& opens = table->m_opens[key];
        bool conflict = (reads && opens.sharingRead < opens.count) || (writes && opens.sharingWrite < opens.count)
            || (opens.readers > 0 && !sharesRead) || (opens.writers > 0 && !sharesWrite);
        if (conflict) {
            if (opens.count == 0)
                table->m_opens.erase(key);
            return ERROR_SHARING_VIOLATION;
        }
        ++opens.count;
        opens.readers += reads ? 1 : 0;
        opens.writers += writes ? 1 : 0;
        opens.sharingRead += sharesRead ? 1 : 0;
        opens.sharingWrite += sharesWrite ? 1 : 0;
    }
    claim.m_table = table;
    claim.m_key = key;
    claim.m_access = access;
    claim.m_shareMode = shareMode;
    return ERROR_SUCCESS;
}

bool ShareTable::InUse(FileKey key) const
{
    std::lock_guard lock(m_mutex);
    return m_opens.count(key) != 0;
}

void ShareTable::Release(FileKey key, DWORD access, DWORD shareMode)
{
    std::lock_guard lock(m_mutex);
    auto it = m_opens.find(key);
    if (it == m_opens.end())
        return;
    Opens& opens = it->second;
    --opens.count;
    opens.readers -= (access & GENERIC_READ) ? 1 : 0;
    opens.writers -= (access & GENERIC_WRITE) ? 1 : 0;
    opens.sharingRead -= (shareMode & FILE_SHARE_READ) ? 1 : 0;
    opens.sharingWrite -= (shareMode & FILE_SHARE_WRITE) ? 1 : 0;
    if (opens.count == 0)
        m_opens.erase(it);
}

ShareClaim::~ShareClaim()
{
    Reset();
}

ShareClaim::ShareClaim(ShareClaim&& other) noexcept
    : m_table(std::move(other.m_table))
    , m_key(other.m_key)
    , m_access(other.m_access)
    , m_shareMode(other.m_shareMode)
{
}

ShareClaim& ShareClaim::operator=(ShareClaim&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_table = std::move(other.m_table);
        m_key = other.m_key;
        m_access = other.m_access;
        m_shareMode = other.m_shareMode;
    }
    return *this;
}

void ShareClaim::Reset()
{
    if (m_table) {
        m_table->Release(m_key, m_access, m_shareMode);
        m_table.reset();
    }
}

} // namespace platform
