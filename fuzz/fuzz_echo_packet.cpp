// What the echo service reads that others wrote: ICMP packets off the socket (with and without
// the IP header, echo replies and error reports quoting a request) checked as replies, and the
// echo request layout the driver is handed.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/winsock/EchoPacket.h"
#include "platform/winsock/EchoRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::span<const uint8_t> bytes(data, size);
    const platform::ExpectedReply expected { 0x7F000001, 0x1234, 1, 32, true };
    for (bool withIpHeader : { false, true }) {
        std::optional<platform::IcmpPacket> packet = platform::ParseIcmpPacket(bytes, withIpHeader);
        if (packet)
            platform::CheckReply(*packet, 0x7F000001, expected);
    }
    std::optional<platform::EchoRequest> request = platform::ReadEchoRequest(bytes);
    if (request) {
        std::vector<uint8_t> again(platform::EchoRequestBytes(request->options.size(), request->data.size()));
        platform::WriteEchoRequest(again, platform::HostToNetwork(request->destination), *request);
    }
    return 0;
}
