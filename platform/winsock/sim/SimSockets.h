// The simulated sockets: names and echo answers from a scenario, on virtual time (see
// platform/sim/Scenario.h for the line format).
//
//   host NAME [A.B.C.D ...] [family=N] [length=N]
//       NAME resolves (case-insensitive) to the addresses in order; without any, to an empty
//       list; family= and length= change the entry's address type (2) and length (4). A name no
//       line gives does not resolve; a dotted address resolves to itself.
//   echo A.B.C.D [lost|late|truncated|off] [time=MS] [status=N] [from=A.B.C.D] [ttl=N] [times=N]
//       how the address answers: after time= ms (default 1) with status= (default 0, an echo
//       reply) from from= (default the address itself). lost: nothing answers. late: the reply
//       comes after the request gave up, during the next request's wait. truncated: the reply
//       brings back less data than was sent. off: the address answers nothing again. times=N:
//       the next N requests answer so (after those of earlier times= lines), then the line
//       without times= applies again; a line without times= replaces every earlier one. An
//       address no line names answers nothing.
// Replies go through the same checks as the machine's (identifier, sequence, length), so a late
// or short reply is skipped as it would be there. Each echo moves the virtual clock on by the
// reply's time, or by the request's timeout when nothing answers.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/Scenario.h"
#include "platform/time/Clock.h"
#include "platform/winsock/SocketBackend.h"

namespace platform {

struct SimEchoAnswer {
    enum class Kind : uint8_t { Reply, Lost, Late, Truncated };
    Kind kind = Kind::Reply;
    DWORD timeMs = 1;
    DWORD status = IP_SUCCESS;
    std::optional<DWORD> from;
    BYTE ttl = 64;
};

class SimSockets final : public SocketBackend {
public:
    // clock: moved on by each echo; null leaves time alone.
    explicit SimSockets(VirtualClock* clock = nullptr);

    // --- direct set-up, for tests ----------------------------------------------------------
    void SetHost(const std::string& name, const NameResolution& answer);
    // times 0: from now on; else the next N requests to the address.
    void SetEcho(DWORD address, const SimEchoAnswer& answer, int times = 0);
    void ClearEcho(DWORD address);
    void SetEchoAvailable(bool available);
    // The requests sent, in order.
    const std::vector<EchoRequest>& Requests() const { return m_requests; }

    // --- scenarios ---------------------------------------------------------------------------
    // Empty when this service knows the command and it is well formed, "unknown command" for a
    // verb it does not know, else why not.
    static std::string CheckCommand(const ScenarioCommand& command);
    void Schedule(const std::vector<ScenarioCommand>& commands);
    std::string Perform(const ScenarioCommand& command);

    // --- SocketBackend -----------------------------------------------------------------------
    NameResolution Resolve(const std::string& name) override;
    bool EchoAvailable() override;
    std::vector<EchoOutcome> Echo(const EchoRequest& request) override;

private:
    struct Rules {
        std::deque<std::pair<SimEchoAnswer, int>> counted; // answer, requests left
        std::optional<SimEchoAnswer> standing;
    };
    struct Pending {
        uint64_t dueMs;
        ScenarioCommand command;
    };
    struct LateReply {
        DWORD address;
        std::vector<BYTE> packet;
    };

    void RunDue();
    std::string PerformHost(const ScenarioCommand& command);
    std::string PerformEcho(const ScenarioCommand& command);
    std::optional<SimEchoAnswer> TakeAnswer(DWORD address);
    void Advance(DWORD ms);

    mutable std::recursive_mutex m_mutex;
    VirtualClock* m_clock;
    bool m_echoAvailable = true;
    std::map<std::string, NameResolution> m_hosts; // by lower-case name
    std::map<DWORD, Rules> m_echo;
    std::vector<LateReply> m_lateReplies; // arrive during the next request's wait
    std::vector<Pending> m_pending;
    std::vector<EchoRequest> m_requests;
    uint16_t m_sequence = 0;
};

} // namespace platform
