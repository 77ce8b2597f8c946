#include "platform/winsock/sim/SimSockets.h"

#include <algorithm>
#include <cctype>

#include "platform/text/NumberText.h"
#include "platform/winsock/EchoPacket.h"

namespace platform {

namespace {

constexpr uint16_t kSimIdentifier = 0x5645;
const char kUnknownCommand[] = "unknown command";

std::string Lower(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

SimSockets::SimSockets(VirtualClock* clock) : m_clock(clock) { }

void SimSockets::SetHost(const std::string& name, const NameResolution& answer)
{
    std::lock_guard lock(m_mutex);
    m_hosts[Lower(name)] = answer;
}

void SimSockets::SetEcho(DWORD address, const SimEchoAnswer& answer, int times)
{
    std::lock_guard lock(m_mutex);
    Rules& rules = m_echo[address];
    if (times <= 0) {
        rules.counted.clear();
        rules.standing = answer;
    } else {
        rules.counted.emplace_back(answer, times);
    }
}

void SimSockets::ClearEcho(DWORD address)
{
    std::lock_guard lock(m_mutex);
    m_echo.erase(address);
}

void SimSockets::SetEchoAvailable(bool available)
{
    std::lock_guard lock(m_mutex);
    m_echoAvailable = available;
}

std::string SimSockets::CheckCommand(const ScenarioCommand& command)
{
    if (command.verb != "host" && command.verb != "echo")
        return kUnknownCommand;
    SimSockets scratch;
    return scratch.Perform(command);
}

void SimSockets::Schedule(const std::vector<ScenarioCommand>& commands)
{
    std::lock_guard lock(m_mutex);
    uint64_t now = CurrentClock().MonotonicMs();
    for (const ScenarioCommand& command : commands) {
        if (command.verb != "host" && command.verb != "echo")
            continue;
        uint64_t due = now + static_cast<uint64_t>(std::max<int64_t>(command.atMs, 0));
        auto position = std::upper_bound(m_pending.begin(), m_pending.end(), due,
            [](uint64_t value, const Pending& pending) { return value < pending.dueMs; });
        m_pending.insert(position, Pending { due, command });
    }
}

void SimSockets::RunDue()
{
    uint64_t now = CurrentClock().MonotonicMs();
    size_t done = 0;
    while (done < m_pending.size() && m_pending[done].dueMs <= now)
        Perform(m_pending[done++].command);
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(done));
}

std::string SimSockets::Perform(const ScenarioCommand& command)
{
    std::lock_guard lock(m_mutex);
    if (command.verb == "host")
        return PerformHost(command);
    if (command.verb == "echo")
        return PerformEcho(command);
    return kUnknownCommand;
}

std::string SimSockets::PerformHost(const ScenarioCommand& command)
{
    if (command.args.empty())
        return "\"host\" needs a name";
    NameResolution answer;
    answer.canonicalName = command.args[0];
    for (size_t i = 1; i < command.args.size(); ++i) {
        std::optional<uint32_t> address = ParseIpv4(command.args[i]);
        if (!address)
            return "\"" + command.args[i] + "\" is not an IPv4 address";
        answer.addresses.push_back(*address);
    }
    for (const auto& [name, value] : command.options) {
        std::optional<int64_t> number = ParseInteger(value);
        if (name != "family" && name != "length")
            return "unknown option \"" + name + "\"";
        if (!number || *number < 0 || *number > 32767)
            return name + "= takes a number from 0 to 32767";
        (name == "family" ? answer.family : answer.length) = static_cast<short>(*number);
    }
    m_hosts[Lower(command.args[0])] = answer;
    return {};
}

std::string SimSockets::PerformEcho(const ScenarioCommand& command)
{
    if (command.args.empty() || command.args.size() > 2)
        return "\"echo\" takes an address and at most one of lost, late, truncated, off";
    std::optional<uint32_t> address = ParseIpv4(command.args[0]);
    if (!address)
        return "\"" + command.args[0] + "\" is not an IPv4 address";
    SimEchoAnswer answer;
    bool off = false;
    if (command.args.size() == 2) {
        const std::string& word = command.args[1];
        if (word == "lost")
            answer.kind = SimEchoAnswer::Kind::Lost;
        else if (word == "late")
            answer.kind = SimEchoAnswer::Kind::Late;
        else if (word == "truncated")
            answer.kind = SimEchoAnswer::Kind::Truncated;
        else if (word == "off")
            off = true;
        else
            return "\"" + word + "\" is not lost, late, truncated or off";
    }
    int times = 0;
    for (const auto& [name, value] : command.options) {
        if (name == "from") {
            std::optional<uint32_t> from = ParseIpv4(value);
            if (!from)
                return "from= takes an IPv4 address";
            answer.from = *from;
            continue;
        }
        std::optional<DWORD> number = ParseDword(value);
        if (name != "time" && name != "status" && name != "ttl" && name != "times")
            return "unknown option \"" + name + "\"";
        if (!number || (name == "ttl" && *number > 255) || (name == "times" && *number > 1000000))
            return name + "= takes a number" + (name == "ttl" ? " from 0 to 255" : "");
        if (name == "time")
            answer.timeMs = *number;
        else if (name == "status")
            answer.status = *number;
        else if (name == "ttl")
            answer.ttl = static_cast<BYTE>(*number);
        else
            times = static_cast<int>(*number);
    }
    if (off)
        ClearEcho(*address);
    else
        SetEcho(*address, answer, times);
    return {};
}

std::optional<SimEchoAnswer> SimSockets::TakeAnswer(DWORD address)
{
    auto found = m_echo.find(address);
    if (found == m_echo.end())
        return std::nullopt;
    Rules& rules = found->second;
    if (!rules.counted.empty()) {
        SimEchoAnswer answer = rules.counted.front().first;
        if (--rules.counted.front().second == 0)
            rules.counted.pop_front();
        return answer;
    }
    return rules.standing;
}

void SimSockets::Advance(DWORD ms)
{
    if (m_clock != nullptr)
        m_clock->AdvanceMs(ms);
}

NameResolution SimSockets::Resolve(const std::string& name)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    NameResolution answer;
    if (std::optional<uint32_t> dotted = ParseIpv4(name)) {
        answer.canonicalName = name;
        answer.addresses.push_back(*dotted);
        return answer;
    }
    auto found = m_hosts.find(Lower(name));
    if (found == m_hosts.end()) {
        answer.error = kResolveHostNotFound;
        return answer;
    }
    return found->second;
}

bool SimSockets::EchoAvailable()
{
    std::lock_guard lock(m_mutex);
    return m_echoAvailable;
}

std::vector<EchoOutcome> SimSockets::Echo(const EchoRequest& request)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    m_requests.push_back(request);
    ExpectedReply expected;
    expected.source = request.destination;
    expected.identifier = kSimIdentifier;
    expected.sequence = ++m_sequence;
    expected.dataBytes = request.data.size();

    // What arrives during the wait: a reply left over from an earlier request first.
    std::vector<std::vector<BYTE>> arriving;
    for (const LateReply& late : m_lateReplies)
        if (late.address == request.destination)
            arriving.push_back(late.packet);
    m_lateReplies.clear();

    std::optional<SimEchoAnswer> answer = TakeAnswer(request.destination);
    if (!answer || answer->kind == SimEchoAnswer::Kind::Lost || answer->timeMs >= request.timeoutMs) {
        Advance(request.timeoutMs);
        return {};
    }
    if (answer->status != IP_SUCCESS) {
        Advance(answer->timeMs);
        EchoOutcome outcome;
        outcome.status = answer->status;
        outcome.address = answer->from.value_or(request.destination);
        outcome.roundTripMs = answer->timeMs;
        return { outcome };
    }
    std::vector<BYTE> reply = BuildEchoRequest(kSimIdentifier, expected.sequence, request.data);
    reply[0] = kIcmpEchoReply;
    if (answer->kind == SimEchoAnswer::Kind::Late) {
        m_lateReplies.push_back(LateReply { request.destination, reply });
    } else {
        if (answer->kind == SimEchoAnswer::Kind::Truncated)
            reply.resize(kIcmpHeaderBytes + request.data.size() / 2);
        arriving.push_back(reply);
    }
    DWORD source = answer->from.value_or(request.destination);
    for (const std::vector<BYTE>& packet : arriving) {
        std::optional<IcmpPacket> parsed = ParseIcmpPacket(packet, false);
        if (!parsed || CheckReply(*parsed, source, expected) != ReplyVerdict::Answer)
            continue;
        Advance(answer->timeMs);
        EchoOutcome outcome;
        outcome.address = source;
        outcome.roundTripMs = answer->timeMs;
        outcome.ttl = answer->ttl;
        outcome.tos = request.tos;
        outcome.data = parsed->data;
        return { outcome };
    }
    Advance(request.timeoutMs);
    return {};
}

} // namespace platform
