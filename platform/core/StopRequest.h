// The host's stop request, as a descriptor that becomes readable once the host was asked to end
// (a signal). The event loop watches it; a platform call that blocks for long (a DHCP client's
// tool) waits on it too, gives up at once and leaves it readable, so that the loop sees the
// request as soon as the call has returned.
#pragma once

namespace platform {

// -1 removes it.
void InstallStopDescriptor(int fd);
int StopDescriptor();
// The descriptor is readable now; false without one.
bool StopRequested();

} // namespace platform
