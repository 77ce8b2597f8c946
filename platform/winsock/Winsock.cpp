#include "platform/winsock/Winsock.h"

#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/LastError.h"
#include "platform/net/NetBackend.h"
#include "platform/winsock/EchoRecords.h"

namespace {

constexpr DWORD kIpProtocolTcp = 6;
constexpr DWORD kEchoAction = 2;
constexpr size_t kMaxIpOptionBytes = 40;

// One part of a dotted address: decimal, octal after a leading 0, hexadecimal after 0x; the
// value and the characters used, or nullopt.
std::optional<std::pair<uint64_t, size_t>> ParsePart(std::string_view text)
{
    int base = 10;
    size_t at = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        at = 2;
    } else if (!text.empty() && text[0] == '0') {
        base = 8;
    }
    size_t start = at;
    uint64_t value = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= base)
            break;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // "0x" alone has no digits; "0" alone is an octal zero.
    if (at == start && base != 8)
        return std::nullopt;
    return std::make_pair(value, at);
}

// Any blank ends the address, as it ends a word: what follows it is not read.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The address in host byte order, or nullopt.
std::optional<DWORD> ParseDotted(std::string_view text)
{
    uint64_t parts[4] = {};
    size_t count = 0;
    while (true) {
        auto part = ParsePart(text);
        if (!part || count == 4)
            return std::nullopt;
        parts[count++] = part->first;
        text.remove_prefix(part->second);
        if (text.empty() || IsBlank(text[0]))
            break;
        if (text[0] != '.')
            return std::nullopt;
        text.remove_prefix(1);
    }
    // The last part fills the bytes that no part before it took.
    const uint64_t lastLimit[] = { 0xFFFFFFFFull, 0xFFFFFFull, 0xFFFFull, 0xFFull };
    for (size_t i = 0; i + 1 < count; ++i)
        if (parts[i] > 0xFF)
            return std::nullopt;
    if (parts[count - 1] > lastLimit[count - 1])
        return std::nullopt;
    DWORD address = static_cast<DWORD>(parts[count - 1]);
    for (size_t i = 0; i + 1 < count; ++i)
        address |= static_cast<DWORD>(parts[i]) << (24 - 8 * i);
    return address;
}

thread_local char t_dottedText[16];

struct HostEntryStorage {
    hostent entry {};
    std::string name;
    std::vector<DWORD> addresses; // network byte order
    std::vector<char*> addressList;
    char* noAliases = nullptr;
};
thread_local HostEntryStorage t_hostEntry;
thread_local int t_socketError = 0;

// What the driver answers without asking the network.
std::optional<DWORD> RefusedEcho(const platform::EchoRequest& request)
{
    if (request.destination == 0 || request.destination == 0xFFFFFFFFu)
        return platform::IP_BAD_DESTINATION;
    if (request.options.size() > kMaxIpOptionBytes)
        return platform::IP_OPTION_TOO_BIG;
    if (request.data.size() > platform::kMaxEchoDataBytes)
        return platform::IP_BAD_REQ;
    return std::nullopt;
}

} // namespace

ULONG inet_addr(const char* text)
{
    if (text == nullptr)
        return INADDR_NONE;
    std::optional<DWORD> address = ParseDotted(text);
    if (!address)
        return INADDR_NONE;
    return platform::HostToNetwork(*address);
}

char* inet_ntoa(in_addr address)
{
    std::string text = platform::FormatIpv4(platform::NetworkToHost(address.s_addr));
    std::memcpy(t_dottedText, text.c_str(), text.size() + 1);
    return t_dottedText;
}

hostent* gethostbyname(const char* name)
{
    if (name == nullptr) {
        t_socketError = WSANO_RECOVERY;
        SetLastError(WSANO_RECOVERY);
        return nullptr;
    }
    platform::NameResolution answer = platform::CurrentSocketBackend().Resolve(name);
    if (answer.error != 0) {
        t_socketError = static_cast<int>(answer.error);
        SetLastError(answer.error);
        return nullptr;
    }
    HostEntryStorage& storage = t_hostEntry;
    storage.name = answer.canonicalName.empty() ? std::string(name) : answer.canonicalName;
    storage.addresses.clear();
    for (DWORD address : answer.addresses)
        storage.addresses.push_back(platform::HostToNetwork(address));
    storage.addressList.clear();
    for (DWORD& address : storage.addresses)
        storage.addressList.push_back(reinterpret_cast<char*>(&address));
    storage.addressList.push_back(nullptr);
    storage.noAliases = nullptr;
    storage.entry.h_name = storage.name.data();
    storage.entry.h_aliases = &storage.noAliases;
    storage.entry.h_addrtype = answer.family;
    storage.entry.h_length = answer.length;
    storage.entry.h_addr_list = storage.addressList.data();
    return &storage.entry;
}

int WSAGetLastError()
{
    return t_socketError;
}

DWORD WsControl(DWORD protocol, DWORD action, LPVOID request, LPDWORD requestSize, LPVOID response, LPDWORD responseSize)
{
    if (protocol != kIpProtocolTcp || action != kEchoAction)
        return ERROR_NOT_SUPPORTED;
    if (request == nullptr || requestSize == nullptr || response == nullptr || responseSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (*responseSize < platform::kEchoReplyRecordBytes)
        return ERROR_INSUFFICIENT_BUFFER;
    std::optional<platform::EchoRequest> parsed
        = platform::ReadEchoRequest(std::span(static_cast<const BYTE*>(request), *requestSize));
    if (!parsed)
        return ERROR_INVALID_PARAMETER;

    std::vector<platform::EchoOutcome> outcomes;
    if (std::optional<DWORD> refused = RefusedEcho(*parsed)) {
        platform::EchoOutcome outcome;
        outcome.status = *refused;
        outcome.address = parsed->destination;
        outcomes.push_back(outcome);
    } else {
        outcomes = platform::CurrentSocketBackend().Echo(*parsed);
    }
    *responseSize = static_cast<DWORD>(platform::WriteEchoReplies(
        std::span(static_cast<BYTE*>(response), *responseSize), outcomes, platform::IP_REQ_TIMED_OUT));
    return NO_ERROR;
}
