#include "ping/PingResult.h"

#include <cstring>

#include "platform/text/Format.h"
#include "platform/text/WideString.h"

namespace {

constexpr size_t kAddressChars = 31;
constexpr size_t kNameChars = 127;
constexpr short kAddressBytes = 4;

std::string Dotted(IPAddr address)
{
    in_addr in {};
    in.s_addr = address;
    return inet_ntoa(in);
}

} // namespace

std::wstring PingCaption(IPAddr destination)
{
    return Fmt(L"Pinging %S:", Dotted(destination));
}

void AppendPingResult(std::wstring& text, DWORD replyCount, const ICMP_ECHO_REPLY& reply)
{
    if (replyCount == 0) {
        AppendFmt(text, L"Request timed out.\n");
        return;
    }
    switch (reply.Status) {
    case IP_SUCCESS:
        AppendFmt(text, L"%S: OK (%dms)\n", Dotted(reply.Address), reply.RoundTripTime);
        break;
    case IP_BUF_TOO_SMALL:
        AppendFmt(text, L"Error: Buffer too small\n");
        break;
    case IP_DEST_NET_UNREACHABLE:
    case IP_DEST_HOST_UNREACHABLE:
    case IP_DEST_PROT_UNREACHABLE:
    case IP_DEST_PORT_UNREACHABLE:
        AppendFmt(text, L"%S: Unreachable\n", Dotted(reply.Address));
        break;
    case IP_NO_RESOURCES:
        AppendFmt(text, L"Error: No resources\n");
        break;
    case IP_BAD_OPTION:
        AppendFmt(text, L"Error: Bad option\n");
        break;
    case IP_HW_ERROR:
        AppendFmt(text, L"Error: Hardware Err\n");
        break;
    case IP_PACKET_TOO_BIG:
        AppendFmt(text, L"Error: Pkt too big\n");
        break;
    case IP_REQ_TIMED_OUT:
        AppendFmt(text, L"Request timed out.\n");
        break;
    case IP_BAD_REQ:
        AppendFmt(text, L"Error: Bad Request\n");
        break;
    case IP_BAD_ROUTE:
        AppendFmt(text, L"Error: Bad Route\n");
        break;
    case IP_TTL_EXPIRED_TRANSIT:
    case IP_TTL_EXPIRED_REASSEM:
        AppendFmt(text, L"Error: TTL Expired\n");
        break;
    case IP_PARAM_PROBLEM:
        AppendFmt(text, L"Error: Param Problem\n");
        break;
    case IP_SOURCE_QUENCH:
        AppendFmt(text, L"Error: Source Quench\n");
        break;
    case IP_OPTION_TOO_BIG:
        AppendFmt(text, L"Error: Opt too big\n");
        break;
    case IP_BAD_DESTINATION:
        AppendFmt(text, L"Error: Bad destination\n");
        break;
    default:
        AppendFmt(text, L"Error: Unknown Error\n");
        break;
    }
}

PingTarget ResolvePingTarget(const std::wstring& target)
{
    PingTarget result;
    result.destination = inet_addr(WideToUtf8(target.substr(0, kAddressChars)).c_str());
    if (result.destination != INADDR_NONE)
        return result;
    hostent* host = gethostbyname(WideToUtf8(target.substr(0, kNameChars)).c_str());
    if (host == nullptr)
        result.problem = L"Could not resolve hostname.";
    else if (host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr)
        result.problem = L"No valid IP addresses.";
    else if (host->h_addrtype != AF_INET || host->h_length != kAddressBytes)
        result.problem = L"Unknown IP Address Type/Length.";
    else
        std::memcpy(&result.destination, host->h_addr_list[0], sizeof result.destination);
    return result;
}
