// The echo service's records as the TCP/IP driver reads and writes them, little-endian, byte by
// byte (never through a structure with pointer fields, whose size is the host's):
//
// Request (given to WsControl(6, 2, ...)):
//   0  destination address (network byte order)   4  timeout in ms
//   8  offset of the request data (20 + options)  10  size of the request data (16 bits)
//  12  options valid (1 or 0)  13 TTL  14 type of service  15 IP flags
//  16  offset of the options data (20)            18  options size  19 padding
//  20  options data, then the request data at its offset
//
// Reply (28 bytes per record, written into the caller's reply buffer):
//   0  address  4 status  8 round trip in ms  12 data size (16 bits)
//  14  reserved: in the first record the number of records, else 0
//  16  offset of the data from the start of the reply buffer
//  20  TTL  21 type of service  22 flags  23 options size
//  24  offset of the options data from the start of the reply buffer
// A count of 0 (the request timed out) still writes the first record, carrying the status.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "platform/winsock/SocketBackend.h"

namespace platform {

constexpr size_t kEchoRequestHeaderBytes = 20;
constexpr size_t kEchoReplyRecordBytes = 28;
constexpr size_t kMaxEchoDataBytes = 65500;

// destination in network byte order, as the caller gives it.
size_t EchoRequestBytes(size_t optionsBytes, size_t dataBytes);
void WriteEchoRequest(std::span<BYTE> out, DWORD destinationNetworkOrder, const EchoRequest& request);
// Nullopt when the offsets and sizes do not fit the request's size.
std::optional<EchoRequest> ReadEchoRequest(std::span<const BYTE> request);

struct EchoReplyRecord {
    DWORD address = 0; // network byte order, as in the record
    DWORD status = 0;
    DWORD roundTripMs = 0;
    uint16_t dataSize = 0;
    uint16_t reserved = 0;
    DWORD dataOffset = 0;
    BYTE ttl = 0;
    BYTE tos = 0;
    BYTE flags = 0;
    BYTE optionsSize = 0;
    DWORD optionsOffset = 0;
};

// Writes the outcomes as records with their data after them; an outcome whose data does not
// fit is written as a record with IP_BUF_TOO_SMALL and no data. No outcomes: one record with
// timeoutStatus and a count of 0. The bytes written.
size_t WriteEchoReplies(std::span<BYTE> out, const std::vector<EchoOutcome>& outcomes, DWORD timeoutStatus);
EchoReplyRecord ReadEchoReplyRecord(std::span<const BYTE> reply, size_t index);
void WriteEchoReplyRecord(std::span<BYTE> reply, size_t index, const EchoReplyRecord& record);

DWORD HostToNetwork(DWORD address);
DWORD NetworkToHost(DWORD address);

} // namespace platform
