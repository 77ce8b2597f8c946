// The simulated network: interfaces, addresses, leases, routes, resolvers and counters that a
// test or a scenario sets up and changes over virtual time, and platform calls made to fail.
// Counters grow at their set rates with the platform clock's tick count, so advancing a
// virtual clock moves traffic; they are 64-bit like the machine's: MIB_IF_ROW2 reports them
// whole, MIB_IFROW their low 32 bits, so those wrap as on the device.
//
// Scenario commands (see platform/sim/Scenario.h for the line format):
//   interface NAME [index=N] [type=ethernet|wireless|ppp|loopback|other|N] [mac=00-0A-1B-2C-3D-4E]
//             [mtu=N] [speed=BPS] [description=TEXT] [down] [unnamed]
//       speed is 64-bit; MIB_IFROW reports at most 4294967295 of it.
//       adds an interface (or replaces one of that name). Without index= it takes 1 for a
//       loopback and otherwise the next after the highest in use (at least 2). "unnamed" leaves
//       its interface-table name empty, as some device drivers do; its adapter name stays.
//   remove NAME                          the interface vanishes, with its routes
//   up NAME | down NAME                  operational state
//   address NAME A.B.C.D/LEN ... | address NAME none
//   route DEST/LEN|default [via GW] dev NAME [metric=N]
//   unroute DEST/LEN|default dev NAME
//   dns NAME A.B.C.D ... | dns NAME none
//   wins NAME off | wins NAME on [PRIMARY [SECONDARY]]
//   lease NAME off | lease NAME [server=A.B.C.D] [duration=S] [obtained=T] [expires=T]
//       T is seconds since 1970 UTC, or +S / -S from the command's time on the wall clock;
//       duration=S sets obtained to the command's time and expires S seconds later. T, S and
//       the duration are at most 2^32 - 1.
//   counters NAME [in=N] [out=N]         sets the 64-bit octet counters (0 to 2^64 - 1)
//   rate NAME [in=BYTES_PER_S] [out=BYTES_PER_S]   0 to 2^64 - 1 (10 Gbit/s is 1250000000)
//   fail CALL [error=N] [times=N]        the next N calls (0: every call until recover) fail
//                                        with error N (not 0)
//   recover CALL
//   dhcp NAME [release=N] [renew=N]      results of release and renew (default 0: success)
//   reboot [id=TEXT]                     the machine starts again: a new boot id (TEXT, or
//                                        "sim-boot-N" for the Nth boot; the first is
//                                        "sim-boot-1") and every counter from 0 (rates go on)
// CALL is a platform function name: GetNumberOfInterfaces, GetIfTable, GetIfEntry2, GetIfTable2,
// GetAdaptersInfo, GetPerAdapterInfo, GetBestInterface, IpReleaseAddress, IpRenewAddress.
// Options other than those shown are refused: a misspelt one would otherwise change nothing.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/NetBackend.h"
#include "platform/sim/Scenario.h"
#include "platform/time/Clock.h"

namespace platform {

struct SimInterfaceSetup {
    std::wstring name;
    std::optional<DWORD> index;
    DWORD type = 6; // MIB_IF_TYPE_ETHERNET
    std::vector<BYTE> physAddr;
    DWORD mtu = 1500;
    uint64_t speedBps = 100'000'000;
    std::string description;
    bool up = true;
    bool unnamedInTable = false;
};

class SimNetwork final : public NetBackend {
public:
    // Time is read from the platform clock current at each call.
    SimNetwork();

    // --- direct set-up, for tests ----------------------------------------------------------
    // The device index given to the interface.
    DWORD AddInterface(const SimInterfaceSetup& setup);
    bool RemoveInterface(const std::wstring& name);
    bool SetUp(const std::wstring& name, bool up);
    bool SetAddresses(const std::wstring& name, std::vector<NetAddress> addresses);
    bool AddRoute(const std::wstring& name, DWORD destination, int prefixLength, DWORD gateway, DWORD metric = 0);
    bool RemoveRoute(const std::wstring& name, DWORD destination, int prefixLength);
    bool SetDnsServers(const std::wstring& name, std::vector<DWORD> servers);
    bool SetWins(const std::wstring& name, bool haveWins, DWORD primary = 0, DWORD secondary = 0);
    bool SetLease(const std::wstring& name, const NetLease& lease);
    bool SetCounters(const std::wstring& name, std::optional<uint64_t> inOctets, std::optional<uint64_t> outOctets);
    bool SetRates(const std::wstring& name, std::optional<uint64_t> inBytesPerSecond, std::optional<uint64_t> outBytesPerSecond);
    bool SetDhcpResults(const std::wstring& name, std::optional<DWORD> release, std::optional<DWORD> renew);
    // times 0: fails until Recover.
    void Fail(NetCall call, DWORD error, int times = 1);
    void Recover(NetCall call);
    // A new boot of the machine: the boot id given (or the next of its own), counters from 0.
    void Reboot(const std::string& bootId = {});

    // --- scenarios ---------------------------------------------------------------------------
    // Checks a command without performing it: empty when this service knows it and it is well
    // formed, else why not. Unknown verbs give "unknown command".
    static std::string CheckCommand(const ScenarioCommand& command);
    // Schedules the commands this service knows, from now on the clock's tick count; the
    // others are left to other services. Commands already due run at the next call.
    void Schedule(const std::vector<ScenarioCommand>& commands);
    // Performs one command at once; empty on success, else the reason.
    std::string Perform(const ScenarioCommand& command);
    // Release and renew counts, for tests.
    int ReleaseCount() const;
    int RenewCount() const;

    // --- NetBackend ---------------------------------------------------------------------------
    DWORD Query(unsigned parts, NetSnapshot& out) override;
    DWORD InjectedFailure(NetCall call) override;
    DWORD ReleaseAddress(const NetInterface& adapter) override;
    DWORD RenewAddress(const NetInterface& adapter) override;
    std::string BootId() override;

    static std::optional<NetCall> CallByName(std::string_view name);

private:
    struct Counter {
        uint64_t base = 0;
        uint64_t ratePerSecond = 0;
        uint64_t sinceMs = 0;
        uint64_t At(uint64_t nowMs) const;
    };
    struct SimInterface {
        NetInterface info;
        bool unnamedInTable = false;
        Counter in;
        Counter out;
        std::vector<NetAddress> leasedAddresses; // what a renew brings back after a release
        int64_t leaseSeconds = 0;
        DWORD releaseResult = NO_ERROR;
        DWORD renewResult = NO_ERROR;
    };
    struct SimRoute {
        std::wstring interfaceName;
        NetRoute route;
    };
    struct Failure {
        DWORD error = ERROR_GEN_FAILURE;
        int remaining = 1; // 0: until recovered
    };
    struct Pending {
        uint64_t dueMs;
        ScenarioCommand command;
    };
    // What a scenario verb's arguments name, so that performing it can refuse an interface
    // that is missing and checking it can supply one.
    enum class Target : uint8_t {
        None,      // no interface
        Interface, // the first argument, which must exist
        Device,    // the word after "dev"
    };
    // A scenario verb: adding one is a row of kVerbs and its handler.
    struct Verb {
        const char* name;
        size_t minArgs;
        size_t maxArgs;
        Target target;
        std::array<std::string_view, 6> options; // the NAME=VALUE names it takes
        std::string (SimNetwork::*perform)(const ScenarioCommand& command);
    };
    static const Verb kVerbs[];
    static const Verb* FindVerb(std::string_view name);
    // A known verb with a fitting number of arguments and options it takes, or why not.
    static std::string CheckShape(const ScenarioCommand& command);

    void RunDue();
    SimInterface* Find(const std::wstring& name);
    std::string PerformLocked(const ScenarioCommand& command);
    uint64_t NowMs() const;

    // The verbs' handlers, called with a fitting number of arguments and the interface a verb
    // names present; each checks the rest of its command before changing anything.
    std::string PerformInterface(const ScenarioCommand& command);
    std::string PerformRemove(const ScenarioCommand& command);
    std::string PerformUp(const ScenarioCommand& command);
    std::string PerformDown(const ScenarioCommand& command);
    std::string PerformAddress(const ScenarioCommand& command);
    std::string PerformRoute(const ScenarioCommand& command);
    std::string PerformUnroute(const ScenarioCommand& command);
    std::string PerformDns(const ScenarioCommand& command);
    std::string PerformWins(const ScenarioCommand& command);
    std::string PerformLease(const ScenarioCommand& command);
    std::string PerformCounters(const ScenarioCommand& command);
    std::string PerformRate(const ScenarioCommand& command);
    std::string PerformFail(const ScenarioCommand& command);
    std::string PerformRecover(const ScenarioCommand& command);
    std::string PerformDhcp(const ScenarioCommand& command);
    std::string PerformReboot(const ScenarioCommand& command);

    mutable std::recursive_mutex m_mutex;
    std::vector<SimInterface> m_interfaces; // kept in index order
    std::vector<SimRoute> m_routes;
    std::map<NetCall, Failure> m_failures;
    std::vector<Pending> m_pending; // in due order
    int m_releaseCount = 0;
    int m_renewCount = 0;
    int m_boots = 1;
    std::string m_bootId = "sim-boot-1";
};

} // namespace platform
