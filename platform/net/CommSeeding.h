// The adapter keys the device keeps under HKEY_LOCAL_MACHINE\Comm, written for the machine's
// interfaces so that the system's friendly-name scan finds each of them:
//   Comm\<driver key>     Group "NDIS", ImagePath (the Linux driver or link kind), DisplayName
//   Comm\<driver key>1    DisplayName: the device model where the machine names it, else the
//                         Linux name
// (driver keys as in platform/net/AdapterNaming.h). The dial-up adapter gets its instance key
// "ppp1" only, as on the device, where no network driver stands behind it. The loopback link is
// no adapter and gets nothing. Other keys and values are left as they are, and values that
// already hold the same data are not written again.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/net/NetBackend.h"

namespace platform {

// ERROR_SUCCESS, or the first registry error met.
LONG SeedCommAdapterKeys(const NetSnapshot& snapshot);
// For the interfaces the current network backend reports now.
LONG SeedCommAdapterKeys();

} // namespace platform
