// The host's main loop on the real-time driver: dispatches messages on the backend's event
// loop until WM_QUIT, and returns its exit code (-1 when no message can arrive any more).
// Descriptors the loop waits on besides its own: a stop request's pipe, the kernel's network
// notifications. The loop wakes when one is readable and calls its handler on the user-interface
// thread, in modal loops too, so that nothing needs a polling timer.
#pragma once

#include <functional>

namespace platform {

int RunEventLoop();

// Calls ready() whenever the descriptor is readable, until unwatched. One handler a descriptor.
void WatchReadable(int fd, std::function<void()> ready);
void UnwatchReadable(int fd);

} // namespace platform
