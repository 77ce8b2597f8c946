#include "platform/net/sim/SimNetwork.h"

#include <algorithm>

#include "platform/net/IpHelper.h"
#include "platform/text/WideString.h"

namespace platform {

namespace {

const std::pair<const char*, NetCall> kCallNames[] = {
    { "GetNumberOfInterfaces", NetCall::GetNumberOfInterfaces },
    { "GetIfTable", NetCall::GetIfTable },
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

std::optional<uint64_t> ParseCount(const std::string& text)
{
    std::optional<int64_t> number = ParseInteger(text);
    if (!number || *number < 0)
        return std::nullopt;
    return static_cast<uint64_t>(*number);
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

// A time option: absolute seconds, or +S / -S from the given moment.
std::optional<int64_t> ParseTime(const std::string& text, int64_t nowSeconds)
{
    std::optional<int64_t> value = ParseInteger(text);
    if (!value)
        return std::nullopt;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        return nowSeconds + *value;
    return *value;
}

struct CommandShape {
    const char* verb;
    size_t minArgs;
    size_t maxArgs;
};

const CommandShape kShapes[] = {
    { "interface", 1, 3 }, { "remove", 1, 1 }, { "up", 1, 1 }, { "down", 1, 1 },
    { "address", 2, 64 }, { "route", 3, 5 }, { "unroute", 3, 3 }, { "dns", 2, 64 },
    { "wins", 2, 4 }, { "lease", 1, 2 }, { "counters", 1, 1 }, { "rate", 1, 1 },
    { "fail", 1, 1 }, { "recover", 1, 1 }, { "dhcp", 1, 1 },
};

// A known verb with a fitting number of arguments, or why not.
std::string CheckShape(const ScenarioCommand& command)
{
    const CommandShape* shape = nullptr;
    for (const CommandShape& candidate : kShapes)
        if (command.verb == candidate.verb)
            shape = &candidate;
    if (shape == nullptr)
        return "unknown command";
    if (command.args.size() < shape->minArgs || command.args.size() > shape->maxArgs)
        return "wrong number of arguments for \"" + command.verb + "\"";
    return {};
}

} // namespace

uint64_t SimNetwork::Counter::At(uint64_t nowMs) const
{
    uint64_t elapsed = nowMs > sinceMs ? nowMs - sinceMs : 0;
    return base + ratePerSecond * elapsed / 1000;
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

std::string SimNetwork::CheckCommand(const ScenarioCommand& command)
{
    if (std::string shape = CheckShape(command); !shape.empty())
        return shape;
    // Perform on a scratch network that holds the named interface: the same checks, no effect.
    SimNetwork scratch;
    if (command.verb != "interface" && command.verb != "fail" && command.verb != "recover") {
        SimInterfaceSetup setup;
        setup.name = Wide(command.args[0]);
        scratch.AddInterface(setup);
        if (command.verb == "route" || command.verb == "unroute") {
            for (size_t i = 0; i + 1 < command.args.size(); ++i)
                if (command.args[i] == "dev") {
                    SimInterfaceSetup device;
                    device.name = Wide(command.args[i + 1]);
                    scratch.AddInterface(device);
                }
        }
    }
    return scratch.Perform(command);
}

void SimNetwork::Schedule(const std::vector<ScenarioCommand>& commands)
{
    std::lock_guard lock(m_mutex);
    uint64_t now = NowMs();
    for (const ScenarioCommand& command : commands) {
        if (CheckCommand(command) == "unknown command")
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
    const std::string& verb = command.verb;
    auto arg = [&command](size_t i) -> const std::string& { return command.args[i]; };
    auto missing = [&](const std::string& name) { return "no interface \"" + name + "\""; };

    if (verb == "fail" || verb == "recover") {
        std::optional<NetCall> call = CallByName(arg(0));
        if (!call)
            return "unknown platform call \"" + arg(0) + "\"";
        if (verb == "recover") {
            Recover(*call);
            return {};
        }
        DWORD error = ERROR_GEN_FAILURE;
        int times = 1;
        if (auto text = command.Option("error")) {
            std::optional<DWORD> value = ParseDword(*text);
            if (!value)
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

    if (verb == "interface") {
        SimInterfaceSetup setup;
        setup.name = Wide(arg(0));
        for (size_t i = 1; i < command.args.size(); ++i) {
            if (arg(i) == "down")
                setup.up = false;
            else if (arg(i) == "unnamed")
                setup.unnamedInTable = true;
            else
                return "unknown word \"" + arg(i) + "\"";
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
            } else if (name == "mtu" || name == "speed") {
                std::optional<DWORD> number = ParseDword(value);
                if (!number)
                    return "bad " + name + " \"" + value + "\"";
                (name == "mtu" ? setup.mtu : setup.speedBps) = *number;
            } else if (name == "description") {
                setup.description = value;
            } else {
                return "unknown option \"" + name + "\"";
            }
        }
        AddInterface(setup);
        return {};
    }

    if (verb == "route" || verb == "unroute") {
        DWORD destination = 0;
        int prefixLength = 0;
        if (!ParsePrefix(arg(0), destination, prefixLength))
            return "bad destination \"" + arg(0) + "\"";
        DWORD gateway = 0;
        std::string device;
        for (size_t i = 1; i < command.args.size(); ++i) {
            if (arg(i) == "via" && i + 1 < command.args.size() && verb == "route") {
                std::optional<uint32_t> address = ParseIpv4(arg(++i));
                if (!address)
                    return "bad gateway \"" + arg(i) + "\"";
                gateway = *address;
            } else if (arg(i) == "dev" && i + 1 < command.args.size()) {
                device = arg(++i);
            } else {
                return "unknown word \"" + arg(i) + "\"";
            }
        }
        if (device.empty())
            return "\"dev NAME\" is missing";
        DWORD metric = 0;
        if (auto text = command.Option("metric")) {
            std::optional<DWORD> value = ParseDword(*text);
            if (!value)
                return "bad metric \"" + *text + "\"";
            metric = *value;
        }
        if (verb == "route")
            return AddRoute(Wide(device), destination, prefixLength, gateway, metric) ? std::string() : missing(device);
        RemoveRoute(Wide(device), destination, prefixLength);
        return {};
    }

    std::wstring name = Wide(arg(0));
    SimInterface* entry = Find(name);
    if (entry == nullptr)
        return missing(arg(0));

    if (verb == "remove") {
        RemoveInterface(name);
        return {};
    }
    if (verb == "up" || verb == "down") {
        SetUp(name, verb == "up");
        return {};
    }
    if (verb == "address" || verb == "dns") {
        std::vector<NetAddress> addresses;
        std::vector<DWORD> servers;
        if (!(command.args.size() == 2 && arg(1) == "none")) {
            for (size_t i = 1; i < command.args.size(); ++i) {
                if (verb == "dns") {
                    std::optional<uint32_t> server = ParseIpv4(arg(i));
                    if (!server)
                        return "bad address \"" + arg(i) + "\"";
                    servers.push_back(*server);
                    continue;
                }
                DWORD address = 0;
                int prefixLength = 0;
                if (arg(i).find('/') == std::string::npos || !ParsePrefix(arg(i), address, prefixLength))
                    return "bad address \"" + arg(i) + "\" (A.B.C.D/LEN)";
                addresses.push_back(NetAddress { address, PrefixToMask(prefixLength) });
            }
        }
        if (verb == "dns")
            SetDnsServers(name, std::move(servers));
        else
            SetAddresses(name, std::move(addresses));
        return {};
    }
    if (verb == "wins") {
        if (arg(1) == "off") {
            if (command.args.size() != 2)
                return "\"wins NAME off\" takes nothing more";
            SetWins(name, false);
            return {};
        }
        if (arg(1) != "on")
            return "\"wins NAME on|off\"";
        DWORD servers[2] = { 0, 0 };
        for (size_t i = 2; i < command.args.size(); ++i) {
            std::optional<uint32_t> server = ParseIpv4(arg(i));
            if (!server)
                return "bad address \"" + arg(i) + "\"";
            servers[i - 2] = *server;
        }
        SetWins(name, true, servers[0], servers[1]);
        return {};
    }
    if (verb == "lease") {
        if (command.args.size() == 2) {
            if (arg(1) != "off" || !command.options.empty())
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
                if (!seconds || *seconds < 0)
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
    if (verb == "counters" || verb == "rate" || verb == "dhcp") {
        std::optional<uint64_t> values[2];
        const char* names[2] = { "in", "out" };
        if (verb == "dhcp") {
            names[0] = "release";
            names[1] = "renew";
        }
        for (const auto& [option, value] : command.options) {
            int slot = option == names[0] ? 0 : option == names[1] ? 1 : -1;
            if (slot < 0)
                return "unknown option \"" + option + "\"";
            values[slot] = ParseCount(value);
            if (!values[slot] || (verb == "dhcp" && *values[slot] > 0xFFFFFFFFull))
                return "bad number \"" + value + "\"";
        }
        if (verb == "counters")
            SetCounters(name, values[0], values[1]);
        else if (verb == "rate")
            SetRates(name, values[0], values[1]);
        else
            SetDhcpResults(name, values[0] ? std::optional<DWORD>(static_cast<DWORD>(*values[0])) : std::nullopt,
                values[1] ? std::optional<DWORD>(static_cast<DWORD>(*values[1])) : std::nullopt);
        return {};
    }
    return "unknown command";
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
