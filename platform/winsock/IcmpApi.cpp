#include "platform/winsock/IcmpApi.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "platform/core/Handle.h"
#include "platform/core/LastError.h"
#include "platform/winsock/EchoRecords.h"

namespace {

constexpr DWORD kIpProtocolTcp = 6;
constexpr DWORD kEchoAction = 2;

class IcmpHandle final : public platform::KernelObject {
};

// Where a driver record's bytes lie, or an empty span when they leave what the driver wrote.
std::span<const BYTE> Bytes(std::span<const BYTE> reply, DWORD offset, size_t size)
{
    if (size == 0 || offset > reply.size() || size > reply.size() - offset)
        return {};
    return reply.subspan(offset, size);
}

// Lays the driver's records out again as the host's records, followed by their data and option
// bytes; false when the caller's buffer cannot hold them.
bool ToHostRecords(std::span<BYTE> buffer, size_t written, size_t count)
{
    std::vector<BYTE> driver(buffer.begin(), buffer.begin() + static_cast<long>(written));
    size_t needed = count * sizeof(ICMP_ECHO_REPLY);
    std::vector<platform::EchoReplyRecord> records;
    for (size_t i = 0; i < count; ++i) {
        records.push_back(platform::ReadEchoReplyRecord(driver, i));
        needed += records.back().dataSize + records.back().optionsSize;
    }
    if (needed > buffer.size())
        return false;
    BYTE* base = buffer.data();
    BYTE* tail = base + count * sizeof(ICMP_ECHO_REPLY);
    for (size_t i = 0; i < count; ++i) {
        const platform::EchoReplyRecord& record = records[i];
        ICMP_ECHO_REPLY reply {};
        reply.Address = record.address;
        reply.Status = record.status;
        reply.RoundTripTime = record.roundTripMs;
        reply.Options.Ttl = record.ttl;
        reply.Options.Tos = record.tos;
        reply.Options.Flags = record.flags;
        std::span<const BYTE> data = Bytes(driver, record.dataOffset, record.dataSize);
        reply.DataSize = static_cast<USHORT>(data.size());
        reply.Data = tail;
        std::copy(data.begin(), data.end(), tail);
        tail += data.size();
        std::span<const BYTE> options = Bytes(driver, record.optionsOffset, record.optionsSize);
        reply.Options.OptionsSize = static_cast<UCHAR>(options.size());
        reply.Options.OptionsData = options.empty() ? nullptr : tail;
        std::copy(options.begin(), options.end(), tail);
        tail += options.size();
        std::memcpy(base + i * sizeof(ICMP_ECHO_REPLY), &reply, sizeof reply);
    }
    return true;
}

} // namespace

HANDLE IcmpCreateFile()
{
    if (!platform::CurrentSocketBackend().EchoAvailable()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return platform::RegisterHandle(std::make_unique<IcmpHandle>());
}

BOOL IcmpCloseHandle(HANDLE icmp)
{
    if (platform::LookupHandleAs<IcmpHandle>(icmp) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return platform::ReleaseHandle(icmp) ? TRUE : FALSE;
}

DWORD IcmpSendEcho(HANDLE icmp, IPAddr destination, LPVOID requestData, WORD requestSize,
    PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize, DWORD timeoutMs)
{
    if (platform::LookupHandleAs<IcmpHandle>(icmp) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (replyBuffer == nullptr || replySize < platform::kEchoReplyRecordBytes) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    platform::EchoRequest request;
    request.timeoutMs = timeoutMs;
    if (options != nullptr) {
        request.optionsValid = true;
        request.ttl = options->Ttl;
        request.tos = options->Tos;
        request.flags = options->Flags;
        if (options->OptionsData != nullptr)
            request.options.assign(options->OptionsData, options->OptionsData + options->OptionsSize);
    }
    if (requestData != nullptr)
        request.data.assign(static_cast<const BYTE*>(requestData), static_cast<const BYTE*>(requestData) + requestSize);

    // The driver writes its replies into the request buffer's room too, so it is never smaller
    // than the reply buffer.
    DWORD requestBytes = static_cast<DWORD>(platform::EchoRequestBytes(request.options.size(), request.data.size()));
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[std::max(requestBytes, replySize)]);
    if (!buffer) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    platform::WriteEchoRequest(std::span(buffer.get(), requestBytes), destination, request);

    DWORD written = replySize;
    DWORD result = WsControl(kIpProtocolTcp, kEchoAction, buffer.get(), &requestBytes, replyBuffer, &written);
    if (result != NO_ERROR) {
        SetLastError(result);
        return 0;
    }
    std::span<BYTE> reply(static_cast<BYTE*>(replyBuffer), replySize);
    platform::EchoReplyRecord first = platform::ReadEchoReplyRecord(reply, 0);
    size_t count = first.reserved;
    first.reserved = 0;
    platform::WriteEchoReplyRecord(reply, 0, first);
    if (count == 0) {
        SetLastError(first.status);
        return 0;
    }
    if (!ToHostRecords(reply, written, count)) {
        SetLastError(platform::IP_BUF_TOO_SMALL);
        return 0;
    }
    return static_cast<DWORD>(count);
}
