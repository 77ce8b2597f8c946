#include "host/modes/ServiceHandOver.h"

#include <unistd.h>

#include <cstdio>
#include <optional>
#include <system_error>

#include "host/CommandLine.h"
#include "host/ServiceUnit.h"
#include "host/Systemctl.h"

namespace fs = std::filesystem;

namespace host {

namespace {

bool SameFolder(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    bool same = fs::equivalent(a, b, error);
    return error ? fs::absolute(a, error).lexically_normal() == fs::absolute(b, error).lexically_normal() : same;
}

} // namespace

ServiceHandOver::~ServiceHandOver()
{
    GiveBack();
}

bool ServiceHandOver::Take(const fs::path& dataFolder)
{
    std::optional<fs::path> served = InstalledServiceDataFolder();
    if (!served || !SameFolder(*served, dataFolder))
        return false;
    Systemctl systemctl;
    if (!systemctl.Problem().empty() || !systemctl.Active(kServiceUnitName))
        return false;
    // The service's own device refused by a window: stopping would stop itself.
    if (systemctl.MainPid(kServiceUnitName) == ::getpid())
        return false;
    if (SystemctlResult stop = systemctl.Run({ "stop", kServiceUnitName }); !stop.Ok()) {
        PrintError("cannot stop the velmora service that holds " + dataFolder.string() + ": " + stop.FirstLine());
        return false;
    }
    m_taken = true;
    std::printf("the velmora service ran on %s: stopped for this run, it starts again when the run ends\n",
        dataFolder.c_str());
    std::fflush(stdout);
    return true;
}

void ServiceHandOver::GiveBack()
{
    if (!m_taken)
        return;
    m_taken = false;
    if (SystemctlResult start = Systemctl().Run({ "start", kServiceUnitName }); !start.Ok())
        PrintError("cannot start the velmora service again (velmora service start): " + start.FirstLine());
}

} // namespace host
