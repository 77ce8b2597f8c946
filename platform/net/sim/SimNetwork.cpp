#include "platform/net/sim/SimNetwork.h"

#include <algorithm>

#include "platform/net/IpHelper.h"
#include "platform/text/WideString.h"

namespace platform {

namespace {

const std::pair<const char*, NetCall> kCallNames[] = {
    { "GetNumberOfInterfaces", NetCall::GetNumberOfInterfaces },
    { "GetIfTable", NetCall::GetIfTable },
    { "GetIfEntry2", NetCall::GetIfEntry2 },
    { "GetIfTable2", NetCall::GetIfTable2 },
    { "GetAdaptersInfo", NetCall::GetAdaptersInfo },
    { "GetPerAdapterInfo", NetCall::GetPerAdapterInfo },
    { "GetBestInterface", NetCall::GetBestInterface },
    { "IpReleaseAddress", NetCall::IpReleaseAddress },
    { "IpRenewAddress", NetCall::IpRenewAddress },
};

const std::pair<const char*, DWORD> kTypeNames[] = {
    { "ethernet", MIB_IF_TYPE_ETHERNET },
    { "wireless", IF_TYPE_IEEE80211 },
    { "ppp", MIB_IF_TYPE_PPP },
    { "loopback", MIB_IF_TYPE_LOOPBACK },
    { "other", MIB_IF_TYPE_OTHER },
    { "slip", MIB_IF_TYPE_SLIP },
};

std::wstring Wide(const std::string& text)
{
    return Utf8ToWide(text);
}

std::optional<DWORD> ParseType(const std::string& text)
{
    for (const auto& [name, type] : kTypeNames)
        if (text == name)
            return type;
    return ParseDword(text);
}

// A count of 0 to 2^64 - 1; a leading "+" is taken, as the signed readings take it.
std::optional<uint64_t> ParseCount(const std::string& text)
{
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+')
        digits.remove_prefix(1);
    return ParseUint64(digits);
}

// "A.B.C.D/LEN" or "default".
bool ParsePrefix(const std::string& text, DWORD& destination, int& prefixLength)
{
    if (text == "default") {
        destination = 0;
        prefixLength = 0;
        return true;
    }
    size_t slash = text.find('/');
    std::optional<uint32_t> address = ParseIpv4(std::string_view(text).substr(0, slash));
    if (!address)
        return false;
    prefixLength = 32;
    if (slash != std::string::npos) {
        std::optional<int64_t> length = ParseInteger(std::string_view(text).substr(slash + 1));
        if (!length || *length < 0 || *length > 32)
            return false;
        prefixLength = static_cast<int>(*length);
    }
    destination = *address;
    return true;
}

// The device keeps lease times in 32 bits; beyond them the sums made with a time (from the
// command's moment, then again at each renew) could overflow.
constexpr int64_t kLeaseSecondsLimit = 0xFFFFFFFFll;

// A time option: absolute seconds, or +S / -S from the given moment.
std::optional<int64_t> ParseTime(const std::string& text, int64_t nowSeconds)
{
    std::optional<int64_t> value = ParseInteger(text);
    if (!value || *value < -kLeaseSecondsLimit || *value > kLeaseSecondsLimit)
        return std::nullopt;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        return nowSeconds + *value;
    return *value;
}

std::string NoInterface(const std::string& name)
{
    return "no interface \"" + name + "\"";
}

// "address NAME none", "dns NAME none": the list emptied.
bool ClearsList(const ScenarioCommand& command)
{
    return command.args.size() == 2 && command.args[1] == "none";
}

struct RouteWords {
    DWORD destination = 0;
    int prefixLength = 0;
    DWORD gateway = 0;
    std::string device;
    DWORD metric = 0;
};

// "DEST/LEN|default [via GW] dev NAME [metric=N]"; "via" only where a gateway belongs.
std::string ParseRouteWords(const ScenarioCommand& command, bool takesGateway, RouteWords& out)
{
    const std::vector<std::string>& args = command.args;
    if (!ParsePrefix(args[0], out.destination, out.prefixLength))
        return "bad destination \"" + args[0] + "\"";
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "via" && i + 1 < args.size() && takesGateway) {
            std::optional<uint32_t> address = ParseIpv4(args[++i]);
            if (!address)
                return "bad gateway \"" + args[i] + "\"";
            out.gateway = *address;
        } else if (args[i] == "dev" && i + 1 < args.size()) {
            out.device = args[++i];
        } else {
            return "unknown word \"" + args[i] + "\"";
        }
    }
    if (out.device.empty())
        return "\"dev NAME\" is missing";
    if (auto text = command.Option("metric")) {
        std::optional<DWORD> value = ParseDword(*text);
        if (!value)
            return "bad metric \"" + *text + "\"";
        out.metric = *value;
    }
    return {};
}

// The two count options of a verb ("in" and "out", "release" and "renew"), each at most limit.
std::string ParseCountPair(const ScenarioCommand& command, const char* first, const char* second, uint64_t limit,
    std::optional<uint64_t>& firstValue, std::optional<uint64_t>& secondValue)
{
    for (const auto& [option, value] : command.options) {
        std::optional<uint64_t>* slot = option == first ? &firstValue : option == second ? &secondValue : nullptr;
        if (slot == nullptr)
            return "unknown option \"" + option + "\"";
        *slot = ParseCount(value);
        if (!*slot || **slot > limit)
            return "bad number \"" + value + "\"";
    }
    return {};
}

std::optional<DWORD> NarrowCount(std::optional<uint64_t> value)
{
    return value ? std::optional<DWORD>(static_cast<DWORD>(*value)) : std::nullopt;
}

std::string UnknownCall(const std::string& name)
{
    return "unknown platform call \"" + name + "\"";
}

} // namespace

uint64_t SimNetwork::Counter::At(uint64_t nowMs) const
{
    uint64_t elapsed = nowMs > sinceMs ? nowMs - sinceMs : 0;
    // The product in 128 bits: a fast rate over a long time must not wrap before the division.
    // The counter itself wraps at 2^64, as the machine's do.
    unsigned __int128 moved = static_cast<unsigned __int128>(ratePerSecond) * elapsed / 1000;
    return base + static_cast<uint64_t>(moved);
}

SimNetwork::SimNetwork() = default;

uint64_t SimNetwork::NowMs() const
{
    return CurrentClock().MonotonicMs();
}

SimNetwork::SimInterface* SimNetwork::Find(const std::wstring& name)
{
    for (SimInterface& entry : m_interfaces)
        if (entry.info.name == name)
            return &entry;
    return nullptr;
}

DWORD SimNetwork::AddInterface(const SimInterfaceSetup& setup)
{
    std::lock_guard lock(m_mutex);
    SimInterface fresh;
    if (SimInterface* existing = Find(setup.name)) {
        fresh.info.index = existing->info.index;
        RemoveInterface(setup.name);
    }
    NetInterface& info = fresh.info;
    info.name = setup.name;
    info.systemName = NarrowBytes(setup.name);
    info.description = setup.description;
    info.type = setup.type;
    info.isLoopback = setup.type == MIB_IF_TYPE_LOOPBACK;
    info.isPointToPoint = setup.type == MIB_IF_TYPE_PPP;
    info.mtu = setup.mtu;
    info.speedBps = setup.speedBps;
    info.physAddr = setup.physAddr;
    info.isUp = setup.up;
    info.adminStatus = MIB_IF_ADMIN_STATUS_UP;
    info.operStatus = setup.up ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_NON_OPERATIONAL;
    fresh.unnamedInTable = setup.unnamedInTable;
    if (setup.index) {
        info.index = *setup.index;
    } else if (info.index == 0) {
        if (info.isLoopback) {
            info.index = 1;
        } else {
            DWORD highest = 1;
            for (const SimInterface& entry : m_interfaces)
                highest = std::max(highest, entry.info.index);
            info.index = highest + 1;
        }
    }
    uint64_t now = NowMs();
    fresh.in.sinceMs = now;
    fresh.out.sinceMs = now;
    DWORD index = info.index;
    auto position = std::find_if(m_interfaces.begin(), m_interfaces.end(),
        [index](const SimInterface& entry) { return entry.info.index > index; });
    m_interfaces.insert(position, std::move(fresh));
    return index;
}

bool SimNetwork::RemoveInterface(const std::wstring& name)
{
    std::lock_guard lock(m_mutex);
    auto it = std::find_if(m_interfaces.begin(), m_interfaces.end(),
        [&name](const SimInterface& entry) { return entry.info.name == name; });
    if (it == m_interfaces.end())
        return false;
    m_interfaces.erase(it);
    std::erase_if(m_routes, [&name](const SimRoute& route) { return route.interfaceName == name; });
    return true;
}

bool SimNetwork::SetUp(const std::wstring& name, bool up)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    entry->info.isUp = up;
    entry->info.operStatus = up ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_NON_OPERATIONAL;
    return true;
}

bool SimNetwork::SetAddresses(const std::wstring& name, std::vector<NetAddress> addresses)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    entry->info.addresses = std::move(addresses);
    return true;
}

bool SimNetwork::AddRoute(const std::wstring& name, DWORD destination, int prefixLength, DWORD gateway, DWORD metric)
{
    std::lock_guard lock(m_mutex);
    if (Find(name) == nullptr)
        return false;
    SimRoute route;
    route.interfaceName = name;
    route.route.destination = destination & PrefixToMask(prefixLength);
    route.route.prefixLength = prefixLength;
    route.route.gateway = gateway;
    route.route.metric = metric;
    m_routes.push_back(route);
    return true;
}

bool SimNetwork::RemoveRoute(const std::wstring& name, DWORD destination, int prefixLength)
{
    std::lock_guard lock(m_mutex);
    DWORD masked = destination & PrefixToMask(prefixLength);
    size_t removed = std::erase_if(m_routes, [&](const SimRoute& route) {
        return route.interfaceName == name && route.route.destination == masked && route.route.prefixLength == prefixLength;
    });
    return removed > 0;
}

bool SimNetwork::SetDnsServers(const std::wstring& name, std::vector<DWORD> servers)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    entry->info.dnsServers = std::move(servers);
    return true;
}

bool SimNetwork::SetWins(const std::wstring& name, bool haveWins, DWORD primary, DWORD secondary)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    entry->info.haveWins = haveWins;
    entry->info.primaryWins = primary;
    entry->info.secondaryWins = secondary;
    return true;
}

bool SimNetwork::SetLease(const std::wstring& name, const NetLease& lease)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    entry->info.lease = lease;
    if (lease.enabled) {
        entry->leasedAddresses = entry->info.addresses;
        entry->leaseSeconds = lease.expires - lease.obtained;
    }
    return true;
}

bool SimNetwork::SetCounters(const std::wstring& name, std::optional<uint64_t> inOctets, std::optional<uint64_t> outOctets)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    uint64_t now = NowMs();
    if (inOctets) {
        entry->in.base = *inOctets;
        entry->in.sinceMs = now;
    }
    if (outOctets) {
        entry->out.base = *outOctets;
        entry->out.sinceMs = now;
    }
    return true;
}

bool SimNetwork::SetRates(const std::wstring& name, std::optional<uint64_t> inBytesPerSecond, std::optional<uint64_t> outBytesPerSecond)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    uint64_t now = NowMs();
    if (inBytesPerSecond) {
        entry->in.base = entry->in.At(now);
        entry->in.sinceMs = now;
        entry->in.ratePerSecond = *inBytesPerSecond;
    }
    if (outBytesPerSecond) {
        entry->out.base = entry->out.At(now);
        entry->out.sinceMs = now;
        entry->out.ratePerSecond = *outBytesPerSecond;
    }
    return true;
}

bool SimNetwork::SetDhcpResults(const std::wstring& name, std::optional<DWORD> release, std::optional<DWORD> renew)
{
    std::lock_guard lock(m_mutex);
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return false;
    if (release)
        entry->releaseResult = *release;
    if (renew)
        entry->renewResult = *renew;
    return true;
}

void SimNetwork::Fail(NetCall call, DWORD error, int times)
{
    std::lock_guard lock(m_mutex);
    m_failures[call] = Failure { error, times };
}

void SimNetwork::Recover(NetCall call)
{
    std::lock_guard lock(m_mutex);
    m_failures.erase(call);
}

int SimNetwork::ReleaseCount() const
{
    std::lock_guard lock(m_mutex);
    return m_releaseCount;
}

int SimNetwork::RenewCount() const
{
    std::lock_guard lock(m_mutex);
    return m_renewCount;
}

std::optional<NetCall> SimNetwork::CallByName(std::string_view name)
{
    for (const auto& [text, call] : kCallNames)
        if (name == text)
            return call;
    return std::nullopt;
}

const SimNetwork::Verb SimNetwork::kVerbs[] = {
    { "interface", 1, 3, Target::None, { "index", "type", "mac", "mtu", "speed", "description" }, &SimNetwork::PerformInterface },
    { "remove", 1, 1, Target::Interface, {}, &SimNetwork::PerformRemove },
    { "up", 1, 1, Target::Interface, {}, &SimNetwork::PerformUp },
    { "down", 1, 1, Target::Interface, {}, &SimNetwork::PerformDown },
    { "address", 2, 64, Target::Interface, {}, &SimNetwork::PerformAddress },
    { "route", 3, 5, Target::Device, { "metric" }, &SimNetwork::PerformRoute },
    { "unroute", 3, 3, Target::Device, {}, &SimNetwork::PerformUnroute },
    { "dns", 2, 64, Target::Interface, {}, &SimNetwork::PerformDns },
    { "wins", 2, 4, Target::Interface, {}, &SimNetwork::PerformWins },
    { "lease", 1, 2, Target::Interface, { "server", "duration", "obtained", "expires" }, &SimNetwork::PerformLease },
    { "counters", 1, 1, Target::Interface, { "in", "out" }, &SimNetwork::PerformCounters },
    { "rate", 1, 1, Target::Interface, { "in", "out" }, &SimNetwork::PerformRate },
    { "fail", 1, 1, Target::None, { "error", "times" }, &SimNetwork::PerformFail },
    { "recover", 1, 1, Target::None, {}, &SimNetwork::PerformRecover },
    { "dhcp", 1, 1, Target::Interface, { "release", "renew" }, &SimNetwork::PerformDhcp },
    { "reboot", 0, 0, Target::None, { "id" }, &SimNetwork::PerformReboot },
};

const SimNetwork::Verb* SimNetwork::FindVerb(std::string_view name)
{
    for (const Verb& verb : kVerbs)
        if (name == verb.name)
            return &verb;
    return nullptr;
}

std::string SimNetwork::CheckShape(const ScenarioCommand& command)
{
    const Verb* verb = FindVerb(command.verb);
    if (verb == nullptr)
        return "unknown command";
    if (command.args.size() < verb->minArgs || command.args.size() > verb->maxArgs)
        return "wrong number of arguments for \"" + command.verb + "\"";
    for (const auto& [option, value] : command.options)
        if (std::find(verb->options.begin(), verb->options.end(), option) == verb->options.end())
            return "unknown option \"" + option + "\"";
    return {};
}

std::string SimNetwork::CheckCommand(const ScenarioCommand& command)
{
    if (std::string shape = CheckShape(command); !shape.empty())
        return shape;
    // Perform on a scratch network that holds the named interfaces: the same checks, no effect.
    SimNetwork scratch;
    auto supply = [&scratch](const std::string& name) {
        SimInterfaceSetup setup;
        setup.name = Wide(name);
        scratch.AddInterface(setup);
    };
    switch (FindVerb(command.verb)->target) {
    case Target::None:
        break;
    case Target::Interface:
        supply(command.args[0]);
        break;
    case Target::Device:
        for (size_t i = 0; i + 1 < command.args.size(); ++i)
            if (command.args[i] == "dev")
                supply(command.args[i + 1]);
        break;
    }
    return scratch.Perform(command);
}

void SimNetwork::Schedule(const std::vector<ScenarioCommand>& commands)
{
    std::lock_guard lock(m_mutex);
    uint64_t now = NowMs();
    for (const ScenarioCommand& command : commands) {
        if (FindVerb(command.verb) == nullptr)
            continue;
        uint64_t due = now + static_cast<uint64_t>(std::max<int64_t>(command.atMs, 0));
        auto position = std::upper_bound(m_pending.begin(), m_pending.end(), due,
            [](uint64_t value, const Pending& pending) { return value < pending.dueMs; });
        m_pending.insert(position, Pending { due, command });
    }
}

void SimNetwork::RunDue()
{
    uint64_t now = NowMs();
    size_t done = 0;
    while (done < m_pending.size() && m_pending[done].dueMs <= now) {
        PerformLocked(m_pending[done].command);
        ++done;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(done));
}

std::string SimNetwork::Perform(const ScenarioCommand& command)
{
    std::lock_guard lock(m_mutex);
    return PerformLocked(command);
}

std::string SimNetwork::PerformLocked(const ScenarioCommand& command)
{
    if (std::string shape = CheckShape(command); !shape.empty())
        return shape;
    const Verb& verb = *FindVerb(command.verb);
    if (verb.target == Target::Interface && Find(Wide(command.args[0])) == nullptr)
        return NoInterface(command.args[0]);
    return (this->*verb.perform)(command);
}

std::string SimNetwork::PerformInterface(const ScenarioCommand& command)
{
    SimInterfaceSetup setup;
    setup.name = Wide(command.args[0]);
    for (size_t i = 1; i < command.args.size(); ++i) {
        const std::string& word = command.args[i];
        if (word == "down")
            setup.up = false;
        else if (word == "unnamed")
            setup.unnamedInTable = true;
        else
            return "unknown word \"" + word + "\"";
    }
    for (const auto& [name, value] : command.options) {
        if (name == "index") {
            std::optional<DWORD> index = ParseDword(value);
            if (!index || *index == 0)
                return "bad index \"" + value + "\"";
            setup.index = *index;
        } else if (name == "type") {
            std::optional<DWORD> type = ParseType(value);
            if (!type)
                return "bad type \"" + value + "\"";
            setup.type = *type;
        } else if (name == "mac") {
            auto bytes = ParseHardwareAddress(value);
            if (!bytes)
                return "bad hardware address \"" + value + "\"";
            setup.physAddr = *bytes;
        } else if (name == "mtu") {
            std::optional<DWORD> number = ParseDword(value);
            if (!number)
                return "bad mtu \"" + value + "\"";
            setup.mtu = *number;
        } else if (name == "speed") {
            std::optional<uint64_t> number = ParseCount(value);
            if (!number)
                return "bad speed \"" + value + "\"";
            setup.speedBps = *number;
        } else if (name == "description") {
            setup.description = value;
        } else {
            return "unknown option \"" + name + "\"";
        }
    }
    AddInterface(setup);
    return {};
}

std::string SimNetwork::PerformRemove(const ScenarioCommand& command)
{
    RemoveInterface(Wide(command.args[0]));
    return {};
}

std::string SimNetwork::PerformUp(const ScenarioCommand& command)
{
    SetUp(Wide(command.args[0]), true);
    return {};
}

std::string SimNetwork::PerformDown(const ScenarioCommand& command)
{
    SetUp(Wide(command.args[0]), false);
    return {};
}

std::string SimNetwork::PerformAddress(const ScenarioCommand& command)
{
    std::vector<NetAddress> addresses;
    if (!ClearsList(command)) {
        for (size_t i = 1; i < command.args.size(); ++i) {
            const std::string& text = command.args[i];
            DWORD address = 0;
            int prefixLength = 0;
            // An adapter's address needs its length; a bare one would pass as a /32.
            if (text.find('/') == std::string::npos || !ParsePrefix(text, address, prefixLength))
                return "bad address \"" + text + "\" (A.B.C.D/LEN)";
            addresses.push_back(NetAddress { address, PrefixToMask(prefixLength) });
        }
    }
    SetAddresses(Wide(command.args[0]), std::move(addresses));
    return {};
}

std::string SimNetwork::PerformRoute(const ScenarioCommand& command)
{
    RouteWords words;
    if (std::string problem = ParseRouteWords(command, true, words); !problem.empty())
        return problem;
    if (!AddRoute(Wide(words.device), words.destination, words.prefixLength, words.gateway, words.metric))
        return NoInterface(words.device);
    return {};
}

std::string SimNetwork::PerformUnroute(const ScenarioCommand& command)
{
    RouteWords words;
    if (std::string problem = ParseRouteWords(command, false, words); !problem.empty())
        return problem;
    RemoveRoute(Wide(words.device), words.destination, words.prefixLength);
    return {};
}

std::string SimNetwork::PerformDns(const ScenarioCommand& command)
{
    std::vector<DWORD> servers;
    if (!ClearsList(command)) {
        for (size_t i = 1; i < command.args.size(); ++i) {
            std::optional<uint32_t> server = ParseIpv4(command.args[i]);
            if (!server)
                return "bad address \"" + command.args[i] + "\"";
            servers.push_back(*server);
        }
    }
    SetDnsServers(Wide(command.args[0]), std::move(servers));
    return {};
}

std::string SimNetwork::PerformWins(const ScenarioCommand& command)
{
    const std::vector<std::string>& args = command.args;
    std::wstring name = Wide(args[0]);
    if (args[1] == "off") {
        if (args.size() != 2)
            return "\"wins NAME off\" takes nothing more";
        SetWins(name, false);
        return {};
    }
    if (args[1] != "on")
        return "\"wins NAME on|off\"";
    DWORD servers[2] = { 0, 0 };
    for (size_t i = 2; i < args.size(); ++i) {
        std::optional<uint32_t> server = ParseIpv4(args[i]);
        if (!server)
            return "bad address \"" + args[i] + "\"";
        servers[i - 2] = *server;
    }
    SetWins(name, true, servers[0], servers[1]);
    return {};
}

std::string SimNetwork::PerformLease(const ScenarioCommand& command)
{
    std::wstring name = Wide(command.args[0]);
    if (command.args.size() == 2) {
        if (command.args[1] != "off" || !command.options.empty())
            return "\"lease NAME off\" or \"lease NAME OPTIONS\"";
        SetLease(name, NetLease {});
        return {};
    }
    int64_t now = CurrentClock().UnixSeconds();
    NetLease lease;
    lease.enabled = true;
    lease.obtained = now;
    lease.expires = now + 86400;
    for (const auto& [option, value] : command.options) {
        if (option == "server") {
            std::optional<uint32_t> server = ParseIpv4(value);
            if (!server)
                return "bad address \"" + value + "\"";
            lease.server = *server;
        } else if (option == "duration") {
            std::optional<int64_t> seconds = ParseInteger(value);
            if (!seconds || *seconds < 0 || *seconds > kLeaseSecondsLimit)
                return "bad duration \"" + value + "\"";
            lease.obtained = now;
            lease.expires = now + *seconds;
        } else if (option == "obtained" || option == "expires") {
            std::optional<int64_t> time = ParseTime(value, now);
            if (!time)
                return "bad time \"" + value + "\"";
            (option == "obtained" ? lease.obtained : lease.expires) = *time;
        } else {
            return "unknown option \"" + option + "\"";
        }
    }
    SetLease(name, lease);
    return {};
}

std::string SimNetwork::PerformCounters(const ScenarioCommand& command)
{
    std::optional<uint64_t> in;
    std::optional<uint64_t> out;
    if (std::string problem = ParseCountPair(command, "in", "out", UINT64_MAX, in, out); !problem.empty())
        return problem;
    SetCounters(Wide(command.args[0]), in, out);
    return {};
}

std::string SimNetwork::PerformRate(const ScenarioCommand& command)
{
    std::optional<uint64_t> in;
    std::optional<uint64_t> out;
    if (std::string problem = ParseCountPair(command, "in", "out", UINT64_MAX, in, out); !problem.empty())
        return problem;
    SetRates(Wide(command.args[0]), in, out);
    return {};
}

std::string SimNetwork::PerformDhcp(const ScenarioCommand& command)
{
    std::optional<uint64_t> release;
    std::optional<uint64_t> renew;
    if (std::string problem = ParseCountPair(command, "release", "renew", 0xFFFFFFFFull, release, renew); !problem.empty())
        return problem;
    SetDhcpResults(Wide(command.args[0]), NarrowCount(release), NarrowCount(renew));
    return {};
}

std::string SimNetwork::PerformFail(const ScenarioCommand& command)
{
    std::optional<NetCall> call = CallByName(command.args[0]);
    if (!call)
        return UnknownCall(command.args[0]);
    DWORD error = ERROR_GEN_FAILURE;
    int times = 1;
    if (auto text = command.Option("error")) {
        // NO_ERROR would let the call succeed while using up the count.
        std::optional<DWORD> value = ParseDword(*text);
        if (!value || *value == NO_ERROR)
            return "bad error code \"" + *text + "\"";
        error = *value;
    }
    if (auto text = command.Option("times")) {
        std::optional<int64_t> value = ParseInteger(*text);
        if (!value || *value < 0 || *value > 1'000'000)
            return "bad count \"" + *text + "\"";
        times = static_cast<int>(*value);
    }
    Fail(*call, error, times);
    return {};
}

std::string SimNetwork::PerformRecover(const ScenarioCommand& command)
{
    std::optional<NetCall> call = CallByName(command.args[0]);
    if (!call)
        return UnknownCall(command.args[0]);
    Recover(*call);
    return {};
}

std::string SimNetwork::PerformReboot(const ScenarioCommand& command)
{
    std::string id = command.Option("id").value_or(std::string());
    if (command.Option("id") && id.empty())
        return "empty boot id";
    Reboot(id);
    return {};
}

void SimNetwork::Reboot(const std::string& bootId)
{
    std::lock_guard lock(m_mutex);
    ++m_boots;
    m_bootId = bootId.empty() ? "sim-boot-" + std::to_string(m_boots) : bootId;
    uint64_t now = NowMs();
    for (SimInterface& entry : m_interfaces) {
        for (Counter* counter : { &entry.in, &entry.out }) {
            counter->base = 0;
            counter->sinceMs = now;
        }
    }
}

std::string SimNetwork::BootId()
{
    std::lock_guard lock(m_mutex);
    RunDue();
    return m_bootId;
}

DWORD SimNetwork::Query(unsigned /*parts*/, NetSnapshot& out)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    uint64_t now = NowMs();
    out.interfaces.clear();
    out.routes.clear();
    for (const SimInterface& entry : m_interfaces) {
        NetInterface info = entry.info;
        info.inOctets = entry.in.At(now);
        info.outOctets = entry.out.At(now);
        if (entry.unnamedInTable)
            info.hideTableName = true;
        out.interfaces.push_back(std::move(info));
    }
    for (const SimRoute& route : m_routes) {
        const SimInterface* owner = Find(route.interfaceName);
        if (owner == nullptr)
            continue;
        NetRoute copy = route.route;
        copy.interfaceIndex = owner->info.index;
        out.routes.push_back(copy);
    }
    return NO_ERROR;
}

DWORD SimNetwork::InjectedFailure(NetCall call)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    auto it = m_failures.find(call);
    if (it == m_failures.end())
        return NO_ERROR;
    DWORD error = it->second.error;
    if (it->second.remaining > 0 && --it->second.remaining == 0)
        m_failures.erase(it);
    return error;
}

DWORD SimNetwork::ReleaseAddress(const NetInterface& adapter)
{
    std::lock_guard lock(m_mutex);
    ++m_releaseCount;
    SimInterface* entry = Find(adapter.name);
    if (entry == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (entry->releaseResult != NO_ERROR)
        return entry->releaseResult;
    if (!entry->info.lease.enabled)
        return ERROR_NOT_SUPPORTED;
    if (!entry->info.addresses.empty())
        entry->leasedAddresses = entry->info.addresses;
    entry->info.addresses.clear();
    return NO_ERROR;
}

DWORD SimNetwork::RenewAddress(const NetInterface& adapter)
{
    std::lock_guard lock(m_mutex);
    ++m_renewCount;
    SimInterface* entry = Find(adapter.name);
    if (entry == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (entry->renewResult != NO_ERROR)
        return entry->renewResult;
    if (!entry->info.lease.enabled)
        return ERROR_NOT_SUPPORTED;
    entry->info.addresses = entry->leasedAddresses;
    int64_t now = CurrentClock().UnixSeconds();
    entry->info.lease.obtained = now;
    entry->info.lease.expires = now + entry->leaseSeconds;
    return NO_ERROR;
}

} // namespace platform
