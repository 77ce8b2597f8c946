#include "platform/winsock/EchoRecords.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

void Put16(std::span<BYTE> out, size_t at, uint16_t value)
{
    out[at] = static_cast<BYTE>(value & 0xFF);
    out[at + 1] = static_cast<BYTE>(value >> 8);
}

void Put32(std::span<BYTE> out, size_t at, DWORD value)
{
    for (size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<BYTE>((value >> (8 * i)) & 0xFF);
}

uint16_t Get16(std::span<const BYTE> in, size_t at)
{
    return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

DWORD Get32(std::span<const BYTE> in, size_t at)
{
    DWORD value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<DWORD>(in[at + i]) << (8 * i);
    return value;
}

} // namespace

DWORD HostToNetwork(DWORD address)
{
    return ((address & 0xFF) << 24) | ((address & 0xFF00) << 8) | ((address >> 8) & 0xFF00) | (address >> 24);
}

DWORD NetworkToHost(DWORD address)
{
    return HostToNetwork(address);
}

size_t EchoRequestBytes(size_t optionsBytes, size_t dataBytes)
{
    return kEchoRequestHeaderBytes + optionsBytes + dataBytes;
}

void WriteEchoRequest(std::span<BYTE> out, DWORD destinationNetworkOrder, const EchoRequest& request)
{
    size_t optionsBytes = request.optionsValid ? request.options.size() : 0;
    std::fill(out.begin(), out.begin() + kEchoRequestHeaderBytes, BYTE { 0 });
    // The record keeps the address's bytes in the order they arrive.
    std::memcpy(out.data(), &destinationNetworkOrder, 4);
    Put32(out, 4, request.timeoutMs);
    Put16(out, 8, static_cast<uint16_t>(kEchoRequestHeaderBytes + optionsBytes));
    Put16(out, 10, static_cast<uint16_t>(request.data.size()));
    out[12] = request.optionsValid ? 1 : 0;
    if (request.optionsValid) {
        out[13] = request.ttl;
        out[14] = request.tos;
        out[15] = request.flags;
    }
    Put16(out, 16, static_cast<uint16_t>(kEchoRequestHeaderBytes));
    out[18] = static_cast<BYTE>(optionsBytes);
    if (optionsBytes != 0)
        std::copy(request.options.begin(), request.options.end(), out.begin() + kEchoRequestHeaderBytes);
    std::copy(request.data.begin(), request.data.end(), out.begin() + static_cast<long>(kEchoRequestHeaderBytes + optionsBytes));
}

std::optional<EchoRequest> ReadEchoRequest(std::span<const BYTE> in)
{
    if (in.size() < kEchoRequestHeaderBytes)
        return std::nullopt;
    EchoRequest request;
    DWORD networkOrder = 0;
    std::memcpy(&networkOrder, in.data(), 4);
    request.destination = NetworkToHost(networkOrder);
    request.timeoutMs = Get32(in, 4);
    size_t dataOffset = Get16(in, 8);
    size_t dataBytes = Get16(in, 10);
    request.optionsValid = in[12] != 0;
    size_t optionsOffset = Get16(in, 16);
    size_t optionsBytes = in[18];
    if (dataOffset + dataBytes > in.size() || optionsOffset + optionsBytes > in.size())
        return std::nullopt;
    if (request.optionsValid) {
        request.ttl = in[13];
        request.tos = in[14];
        request.flags = in[15];
        request.options.assign(in.begin() + static_cast<long>(optionsOffset),
            in.begin() + static_cast<long>(optionsOffset + optionsBytes));
    }
    request.data.assign(in.begin() + static_cast<long>(dataOffset), in.begin() + static_cast<long>(dataOffset + dataBytes));
    return request;
}

EchoReplyRecord ReadEchoReplyRecord(std::span<const BYTE> reply, size_t index)
{
    size_t at = index * kEchoReplyRecordBytes;
    EchoReplyRecord record;
    std::memcpy(&record.address, &reply[at], 4);
    record.status = Get32(reply, at + 4);
    record.roundTripMs = Get32(reply, at + 8);
    record.dataSize = Get16(reply, at + 12);
    record.reserved = Get16(reply, at + 14);
    record.dataOffset = Get32(reply, at + 16);
    record.ttl = reply[at + 20];
    record.tos = reply[at + 21];
    record.flags = reply[at + 22];
    record.optionsSize = reply[at + 23];
    record.optionsOffset = Get32(reply, at + 24);
    return record;
}

void WriteEchoReplyRecord(std::span<BYTE> reply, size_t index, const EchoReplyRecord& record)
{
    size_t at = index * kEchoReplyRecordBytes;
    std::memcpy(&reply[at], &record.address, 4);
    Put32(reply, at + 4, record.status);
    Put32(reply, at + 8, record.roundTripMs);
    Put16(reply, at + 12, record.dataSize);
    Put16(reply, at + 14, record.reserved);
    Put32(reply, at + 16, record.dataOffset);
    reply[at + 20] = record.ttl;
    reply[at + 21] = record.tos;
    reply[at + 22] = record.flags;
    reply[at + 23] = record.optionsSize;
    Put32(reply, at + 24, record.optionsOffset);
}

size_t WriteEchoReplies(std::span<BYTE> out, const std::vector<EchoOutcome>& outcomes, DWORD timeoutStatus)
{
    if (outcomes.empty()) {
        EchoReplyRecord record;
        record.status = timeoutStatus;
        WriteEchoReplyRecord(out, 0, record);
        return kEchoReplyRecordBytes;
    }
    // As many records as fit with nothing after them, then the data behind the last record.
    size_t count = std::min(outcomes.size(), out.size() / kEchoReplyRecordBytes);
    size_t dataAt = count * kEchoReplyRecordBytes;
    for (size_t i = 0; i < count; ++i) {
        const EchoOutcome& outcome = outcomes[i];
        EchoReplyRecord record;
        record.address = HostToNetwork(outcome.address);
        record.status = outcome.status;
        record.roundTripMs = outcome.roundTripMs;
        record.ttl = outcome.ttl;
        record.tos = outcome.tos;
        record.flags = outcome.flags;
        record.dataOffset = static_cast<DWORD>(dataAt);
        record.optionsOffset = static_cast<DWORD>(dataAt);
        if (outcome.data.size() > out.size() - dataAt) {
            record.status = IP_BUF_TOO_SMALL;
        } else {
            record.dataSize = static_cast<uint16_t>(outcome.data.size());
            std::copy(outcome.data.begin(), outcome.data.end(), out.begin() + static_cast<long>(dataAt));
            dataAt += outcome.data.size();
            record.optionsOffset = static_cast<DWORD>(dataAt);
        }
        if (i == 0)
            record.reserved = static_cast<uint16_t>(count);
        WriteEchoReplyRecord(out, i, record);
    }
    return dataAt;
}

} // namespace platform
